#pragma once
// A tiny emulated HID interface for tests: a listening SOCK_SEQPACKET socket plus its JSON in a
// folder, accepting every connection on a background thread.
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qxr::hid::test {

class FakeInterface {
 public:
  FakeInterface(std::string dir, std::string id, uint16_t vendor_id, uint16_t product_id,
                int interface_number, std::vector<uint8_t> descriptor);
  ~FakeInterface();
  FakeInterface(const FakeInterface&) = delete;
  FakeInterface& operator=(const FakeInterface&) = delete;

  // Binds the socket, then renames the JSON into place (the order the emulator uses).
  void plug();
  // Removes the JSON and the socket and closes every connection.
  void unplug();
  bool plugged() const { return listen_fd_ >= 0; }

  std::string socket_path() const { return dir_ + "/" + id_ + ".sock"; }
  std::string json_path() const { return dir_ + "/" + id_ + ".json"; }
  // The enumeration path of collection col (0 = no "&col").
  std::string path(int col) const;

  // Waits until at least n connections were accepted.
  bool wait_connections(size_t n, int timeout_ms = 2000);
  size_t connection_count();
  // Sends the report to every open connection.
  void send_all(const std::vector<uint8_t>& report);
  // One packet from any connection, in arrival order per connection.
  bool receive(std::vector<uint8_t>* packet, int timeout_ms);
  // Closes the device's ends of all connections (the interface stays plugged).
  void close_connections();

 private:
  void serve();

  std::string dir_, id_;
  uint16_t vendor_id_, product_id_;
  int interface_number_;
  std::vector<uint8_t> descriptor_;
  int listen_fd_ = -1;
  int stop_fd_ = -1;
  std::thread thread_;
  std::mutex mutex_;
  std::vector<int> connections_;
};

}  // namespace qxr::hid::test

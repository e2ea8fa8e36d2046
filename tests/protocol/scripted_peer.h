#pragma once
// An emulated HID interface for tests and benchmarks: "<id>.json" + a listening SOCK_SEQPACKET
// "<id>.sock" in a temporary folder, served by a thread that hands every output report to a
// script. The script answers (or misbehaves) through send()/disconnect().
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qxr::testing {

using Packet = std::vector<uint8_t>;

// One vendor collection (0xFF1C/0x92), report id 4 with 63 data bytes each way, plus an input
// report id 5 of 2 bytes that is not a command report (as a headset's events are).
std::vector<uint8_t> command_collection_descriptor();

class ScriptedPeer {
 public:
  // Runs on the peer's thread for every output report; nothing is answered unless it sends.
  using Script = std::function<void(const Packet& request, ScriptedPeer& peer)>;

  explicit ScriptedPeer(std::vector<uint8_t> descriptor = command_collection_descriptor(),
                        uint16_t vendor_id = 0x320F, uint16_t product_id = 0x5055, int interface = 1);
  ~ScriptedPeer();
  ScriptedPeer(const ScriptedPeer&) = delete;
  ScriptedPeer& operator=(const ScriptedPeer&) = delete;

  const std::string& folder() const { return folder_; }
  // The path a HidDevice opens: "<folder>/dev.sock#vid_....&pid_....&mi_..".
  const std::string& path() const { return path_; }

  // Returns only once a script already running has finished.
  void set_script(Script script);
  // An input report to every open connection.
  void send(const Packet& report);
  // Unplug: the description disappears and every connection is closed.
  void unplug();

  std::vector<Packet> requests() const;
  void clear_requests();
  // Waits (bounded) until at least n requests arrived.
  bool wait_requests(size_t n, int timeout_ms = 5000) const;
  int connections() const;

  // Hand-over mode (benchmarks): new connections are not served but kept for take_connection,
  // which passes ownership of the socket to the caller; -1 when none came in time.
  void hand_over_connections(bool on);
  int take_connection(int timeout_ms);

 private:
  void run();
  void serve(int fd);

  std::string folder_;
  std::string path_;
  int listen_fd_ = -1;
  int wake_fd_ = -1;
  std::thread thread_;
  std::mutex script_mutex_;  // held while a script runs; taken before mutex_
  mutable std::mutex mutex_;
  mutable std::condition_variable cv_;
  Script script_;
  std::vector<int> clients_;
  std::vector<Packet> requests_;
  bool unplugged_ = false;
  bool hand_over_ = false;
  std::vector<int> handed_;
};

// Echoes a request as a reply: same report id and command byte, status 0, data bytes kept.
Packet echo_reply(const Packet& request, uint8_t status = 0);

// A firmware stand-in keeping one 64 KiB address space per command pair: writes store, reads
// answer from memory. Counts the pages it served.
class MemoryFirmware {
 public:
  MemoryFirmware();
  void operator()(const Packet& request, ScriptedPeer& peer);
  std::vector<uint8_t>& space(uint8_t command);
  std::vector<uint8_t> info;  // the CMD_READ_INFO block

 private:
  std::mutex mutex_;
  std::vector<std::vector<uint8_t>> spaces_;
};

}  // namespace qxr::testing

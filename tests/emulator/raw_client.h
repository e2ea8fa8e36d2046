#pragma once
// Test side of the folder contract: a program handle on one emulated interface, speaking raw
// reports over the SEQPACKET socket.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "protocol/command_report.h"

namespace qxr::emu::testing {

using Bytes = std::vector<uint8_t>;

inline constexpr int kReplyWaitMs = 3000;  // generous: only a broken emulator waits this long
inline constexpr int kSilenceWaitMs = 250;  // how long "no report" is watched for

// A request page with the checksum set.
protocol::CommandReport page(uint8_t command, uint8_t length = 0, uint16_t offset = 0,
                             const uint8_t* data = nullptr);
Bytes to_bytes(const protocol::CommandReport& report);

class RawClient {
 public:
  RawClient() = default;
  explicit RawClient(const std::string& socket_path) { connect(socket_path); }
  ~RawClient();
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  bool connect(const std::string& socket_path);
  void close();
  bool connected() const { return fd_ >= 0; }
  bool send(const Bytes& report);
  bool send(const protocol::CommandReport& report) { return send(to_bytes(report)); }
  // The next report, nullopt on timeout. Sets closed() when the emulator closed the socket.
  std::optional<Bytes> receive(int timeout_ms = kReplyWaitMs);
  bool closed() const { return closed_; }
  // Sends a request and returns the first report that comes back.
  std::optional<Bytes> exchange(const protocol::CommandReport& request);

 private:
  int fd_ = -1;
  bool closed_ = false;
};

}  // namespace qxr::emu::testing

#include "raw_client.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace qxr::emu::testing {

using namespace protocol;

CommandReport page(uint8_t command, uint8_t length, uint16_t offset, const uint8_t* data) {
  CommandReport r{};
  r[kOffReportId] = kCommandReportId;
  r[kOffCommand] = command;
  r[kOffLength] = length;
  r[kOffOffsetLo] = static_cast<uint8_t>(offset & 0xFF);
  r[kOffOffsetHi] = static_cast<uint8_t>(offset >> 8);
  if (data != nullptr) std::memcpy(r.data() + kOffData, data, length);
  set_checksum(r.data());
  return r;
}

Bytes to_bytes(const CommandReport& report) { return Bytes(report.begin(), report.end()); }

RawClient::~RawClient() { close(); }

bool RawClient::connect(const std::string& socket_path) {
  close();
  closed_ = false;
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (socket_path.size() >= sizeof(addr.sun_path)) return false;
  std::memcpy(addr.sun_path, socket_path.c_str(), socket_path.size() + 1);
  fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return false;
  if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) < 0) {
    close();
    return false;
  }
  return true;
}

void RawClient::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool RawClient::send(const Bytes& report) {
  if (fd_ < 0) return false;
  return ::send(fd_, report.data(), report.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(report.size());
}

std::optional<Bytes> RawClient::receive(int timeout_ms) {
  if (fd_ < 0) return std::nullopt;
  pollfd p{fd_, POLLIN, 0};
  if (::poll(&p, 1, timeout_ms) <= 0) return std::nullopt;
  Bytes buffer(4096);
  ssize_t n = ::recv(fd_, buffer.data(), buffer.size(), 0);
  if (n <= 0) {
    closed_ = true;
    return std::nullopt;
  }
  buffer.resize(static_cast<size_t>(n));
  return buffer;
}

std::optional<Bytes> RawClient::exchange(const CommandReport& request) {
  if (!send(request)) return std::nullopt;
  return receive();
}

}  // namespace qxr::emu::testing

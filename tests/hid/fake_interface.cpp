#include "fake_interface.h"

#include <fmt/format.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "hid/device_path.h"
#include "tests/support/wait.h"

namespace qxr::hid::test {

FakeInterface::FakeInterface(std::string dir, std::string id, uint16_t vendor_id,
                             uint16_t product_id, int interface_number,
                             std::vector<uint8_t> descriptor)
    : dir_(std::move(dir)),
      id_(std::move(id)),
      vendor_id_(vendor_id),
      product_id_(product_id),
      interface_number_(interface_number),
      descriptor_(std::move(descriptor)) {}

FakeInterface::~FakeInterface() { unplug(); }

std::string FakeInterface::path(int col) const {
  return make_path(socket_path(), vendor_id_, product_id_, interface_number_,
                   static_cast<uint16_t>(col));
}

void FakeInterface::plug() {
  if (listen_fd_ >= 0) return;
  listen_fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", socket_path().c_str());
  ::unlink(addr.sun_path);
  if (::bind(listen_fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0 ||
      ::listen(listen_fd_, 64) < 0)
    throw std::runtime_error("bind/listen");
  std::string hex;
  for (uint8_t b : descriptor_) hex += fmt::format("{}{:02x}", hex.empty() ? "" : " ", b);
  {
    std::ofstream out(json_path() + ".tmp");
    out << fmt::format(
        "{{\"vendor_id\": {}, \"product_id\": {}, \"interface\": {}, \"report_descriptor\": \"{}\", "
        "\"name\": \"{}\"}}\n",
        vendor_id_, product_id_, interface_number_, hex, id_);
  }
  std::filesystem::rename(json_path() + ".tmp", json_path());
  stop_fd_ = eventfd(0, EFD_CLOEXEC);
  thread_ = std::thread([this] { serve(); });
}

void FakeInterface::serve() {
  for (;;) {
    pollfd fds[2] = {{listen_fd_, POLLIN, 0}, {stop_fd_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents) return;
    if (fds[0].revents & POLLIN) {
      int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd >= 0) {
        std::lock_guard lock(mutex_);
        connections_.push_back(fd);
      }
    }
  }
}

void FakeInterface::unplug() {
  if (listen_fd_ < 0) return;
  ::unlink(json_path().c_str());
  uint64_t one = 1;
  ssize_t n = ::write(stop_fd_, &one, sizeof one);
  (void)n;
  thread_.join();
  ::close(stop_fd_);
  ::close(listen_fd_);
  ::unlink(socket_path().c_str());
  listen_fd_ = stop_fd_ = -1;
  close_connections();
}

bool FakeInterface::wait_connections(size_t n, int timeout_ms) {
  return qxr::testing::wait_until([&] { return connection_count() >= n; }, timeout_ms);
}

size_t FakeInterface::connection_count() {
  std::lock_guard lock(mutex_);
  return connections_.size();
}

void FakeInterface::send_all(const std::vector<uint8_t>& report) {
  std::lock_guard lock(mutex_);
  for (int fd : connections_) ::send(fd, report.data(), report.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
}

bool FakeInterface::receive(std::vector<uint8_t>* packet, int timeout_ms) {
  std::vector<pollfd> fds;
  {
    std::lock_guard lock(mutex_);
    for (int fd : connections_) fds.push_back({fd, POLLIN, 0});
  }
  if (fds.empty() || ::poll(fds.data(), fds.size(), timeout_ms) <= 0) return false;
  for (const auto& p : fds) {
    if (!(p.revents & POLLIN)) continue;
    uint8_t buf[4096];
    ssize_t n = ::recv(p.fd, buf, sizeof buf, MSG_DONTWAIT);
    if (n <= 0) continue;
    packet->assign(buf, buf + n);
    return true;
  }
  return false;
}

void FakeInterface::close_connections() {
  std::lock_guard lock(mutex_);
  for (int fd : connections_) ::close(fd);
  connections_.clear();
}

}  // namespace qxr::hid::test

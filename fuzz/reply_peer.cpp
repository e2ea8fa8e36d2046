#include "fuzz/reply_peer.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "emulator/folder_server.h"
#include "emulator/report_descriptors.h"
#include "hid/device_path.h"

namespace qxr::fuzz {
namespace {

constexpr uint16_t kVendor = 0x320F;
constexpr uint16_t kProduct = 0x5055;
constexpr int kInterface = 1;
constexpr size_t kMaxPacket = 4096;

[[noreturn]] void die(const char* what) {
  std::perror(what);
  std::abort();
}

}  // namespace

ReplyPeer::ReplyPeer(const std::string& folder, Answer answer) : answer_(std::move(answer)) {
  socket_ = folder + "dev.sock";
  path_ = hid::make_path(socket_, kVendor, kProduct, kInterface, emu::kVendorCollection);
  listen_fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (listen_fd_ < 0 || socket_.size() >= sizeof addr.sun_path) die("socket");
  std::memcpy(addr.sun_path, socket_.c_str(), socket_.size() + 1);
  ::unlink(socket_.c_str());
  if (::bind(listen_fd_, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) < 0 ||
      ::listen(listen_fd_, 4) < 0)
    die("bind");
  emu::InterfaceDescription description;
  description.vendor_id = kVendor;
  description.product_id = kProduct;
  description.interface_number = kInterface;
  description.report_descriptor = emu::keyboard_report_descriptor();
  std::ofstream json(folder + "dev.json");
  json << emu::FolderServer::description_json(description);
  if (!json.flush()) die("dev.json");
  thread_ = std::thread([this] { run(); });
}

ReplyPeer::~ReplyPeer() {
  ::shutdown(listen_fd_, SHUT_RDWR);  // wakes accept()
  thread_.join();
  ::close(listen_fd_);
  ::unlink(socket_.c_str());
}

void ReplyPeer::wait_served(size_t connections) {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [&] { return served_ >= connections; });
}

void ReplyPeer::run() {
  for (;;) {
    int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR) continue;
      return;  // shut down
    }
    serve(fd);
    ::close(fd);
    {
      std::lock_guard lock(mutex_);
      ++served_;
    }
    cv_.notify_all();
  }
}

void ReplyPeer::serve(int fd) {
  Packet request(kMaxPacket);
  for (;;) {
    ssize_t n = ::recv(fd, request.data(), request.size(), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the program closed its handle
    std::vector<Packet> replies;
    const bool more = answer_(Packet(request.begin(), request.begin() + n), &replies);
    for (const Packet& r : replies) {
      if (::send(fd, r.data(), r.size(), MSG_NOSIGNAL) < 0) return;
    }
    if (!more) return;
  }
}

}  // namespace qxr::fuzz

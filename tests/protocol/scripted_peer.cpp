#include "tests/protocol/scripted_peer.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "emulator/folder_server.h"
#include "protocol/command_report.h"

namespace qxr::testing {

namespace fs = std::filesystem;
using namespace qxr::protocol;

std::vector<uint8_t> command_collection_descriptor() {
  return {
      0x06, 0x1C, 0xFF,  // usage page 0xFF1C
      0x09, 0x92,        // usage 0x92
      0xA1, 0x01,        // collection (application)
      0x15, 0x00,        //   logical minimum 0
      0x26, 0xFF, 0x00,  //   logical maximum 255
      0x75, 0x08,        //   report size 8
      0x85, 0x04,        //   report id 4
      0x95, 0x3F,        //   report count 63
      0x09, 0x01,        //   usage 1
      0x81, 0x02,        //   input (data, variable, absolute)
      0x09, 0x01,        //   usage 1
      0x91, 0x02,        //   output (data, variable, absolute)
      0x85, 0x05,        //   report id 5
      0x95, 0x02,        //   report count 2
      0x09, 0x02,        //   usage 2
      0x81, 0x02,        //   input
      0xC0,              // end collection
  };
}

namespace {

std::string make_temp_folder() {
  std::string templ = (fs::temp_directory_path() / "qxr-peer-XXXXXX").string();
  if (mkdtemp(templ.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return templ;
}

}  // namespace

ScriptedPeer::ScriptedPeer(std::vector<uint8_t> descriptor, uint16_t vendor_id, uint16_t product_id,
                           int interface)
    : folder_(make_temp_folder()) {
  const std::string sock = folder_ + "/dev.sock";
  char suffix[64];
  std::snprintf(suffix, sizeof suffix, "#vid_%04x&pid_%04x&mi_%02x", vendor_id, product_id, interface);
  path_ = sock + suffix;

  listen_fd_ = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, sock.c_str(), sizeof addr.sun_path - 1);
  if (listen_fd_ < 0 || bind(listen_fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      listen(listen_fd_, 8) != 0) {
    throw std::runtime_error("peer socket failed");
  }
  wake_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);

  // Described only once the socket listens, as a plugged device appears.
  {
    emu::InterfaceDescription description;
    description.vendor_id = vendor_id;
    description.product_id = product_id;
    description.interface_number = static_cast<uint8_t>(interface);
    description.report_descriptor = std::move(descriptor);
    description.name = "scripted peer";
    std::ofstream json(folder_ + "/dev.json.tmp");
    json << emu::FolderServer::description_json(description);
  }
  fs::rename(folder_ + "/dev.json.tmp", folder_ + "/dev.json");
  thread_ = std::thread([this] { run(); });
}

ScriptedPeer::~ScriptedPeer() {
  uint64_t one = 1;
  (void)!write(wake_fd_, &one, sizeof one);
  thread_.join();
  for (int fd : clients_) close(fd);
  for (int fd : handed_) close(fd);
  if (listen_fd_ >= 0) close(listen_fd_);
  close(wake_fd_);
  std::error_code ec;
  fs::remove_all(folder_, ec);
}

void ScriptedPeer::set_script(Script script) {
  std::lock_guard running(script_mutex_);
  std::lock_guard lock(mutex_);
  script_ = std::move(script);
}

void ScriptedPeer::send(const Packet& report) {
  std::lock_guard lock(mutex_);
  for (int fd : clients_) (void)!::send(fd, report.data(), report.size(), MSG_NOSIGNAL);
}

void ScriptedPeer::unplug() {
  std::lock_guard lock(mutex_);
  unplugged_ = true;
  std::error_code ec;
  fs::remove(folder_ + "/dev.json", ec);
  for (int fd : clients_) shutdown(fd, SHUT_RDWR);
}

std::vector<Packet> ScriptedPeer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void ScriptedPeer::clear_requests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
}

bool ScriptedPeer::wait_requests(size_t n, int timeout_ms) const {
  std::unique_lock lock(mutex_);
  return cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return requests_.size() >= n; });
}

int ScriptedPeer::connections() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(clients_.size());
}

void ScriptedPeer::hand_over_connections(bool on) {
  std::lock_guard lock(mutex_);
  hand_over_ = on;
}

int ScriptedPeer::take_connection(int timeout_ms) {
  std::unique_lock lock(mutex_);
  if (!cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return !handed_.empty(); })) return -1;
  int fd = handed_.front();
  handed_.erase(handed_.begin());
  return fd;
}

void ScriptedPeer::run() {
  for (;;) {
    std::vector<pollfd> fds{{wake_fd_, POLLIN, 0}, {listen_fd_, POLLIN, 0}};
    {
      std::lock_guard lock(mutex_);
      for (int fd : clients_) fds.push_back({fd, POLLIN, 0});
    }
    if (poll(fds.data(), fds.size(), -1) < 0) continue;
    if (fds[0].revents != 0) return;
    if (fds[1].revents & POLLIN) {
      int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
      std::lock_guard lock(mutex_);
      if (fd >= 0 && unplugged_) {
        close(fd);
      } else if (fd >= 0 && hand_over_) {
        handed_.push_back(fd);
        cv_.notify_all();
      } else if (fd >= 0) {
        clients_.push_back(fd);
      }
    }
    for (size_t i = 2; i < fds.size(); ++i) {
      if (fds[i].revents != 0) serve(fds[i].fd);
    }
  }
}

void ScriptedPeer::serve(int fd) {
  Packet packet(kReportSize * 2);
  ssize_t n = recv(fd, packet.data(), packet.size(), MSG_DONTWAIT);
  if (n <= 0) {
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    std::lock_guard lock(mutex_);
    clients_.erase(std::remove(clients_.begin(), clients_.end(), fd), clients_.end());
    close(fd);
    return;
  }
  packet.resize(static_cast<size_t>(n));
  std::lock_guard running(script_mutex_);
  Script script;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(packet);
    script = script_;
  }
  cv_.notify_all();
  if (script) script(packet, *this);
}

Packet echo_reply(const Packet& request, uint8_t status) {
  Packet reply(kReportSize, 0);
  std::copy_n(request.begin(), std::min(request.size(), reply.size()), reply.begin());
  reply[kOffReportId] = kCommandReportId;
  reply[kOffChecksumLo] = reply[kOffChecksumHi] = 0;
  reply[kOffStatus] = status;
  return reply;
}

namespace {
constexpr size_t kSpaceSize = 0x10000;
// Index of the address space a command works on; -1 for commands without one.
int space_index(uint8_t command) {
  switch (command) {
    case CMD_READ_PARAMS: case CMD_WRITE_PARAMS: return 0;
    case CMD_READ_KEYS: case CMD_WRITE_KEYS: return 1;
    case CMD_READ_LED_MAP: return 2;
    case CMD_WRITE_KEY_COLOURS: return 3;
    case CMD_LIGHT_STREAM: return 4;
    case CMD_WRITE_MACROS: return 5;
    case CMD_WRITE_RECOIL: return 6;
    case CMD_READ_STATUS: return 7;
    default: return -1;
  }
}
bool is_read(uint8_t command) {
  return command == CMD_READ_PARAMS || command == CMD_READ_KEYS || command == CMD_READ_LED_MAP ||
         command == CMD_READ_STATUS || command == CMD_READ_INFO;
}
}  // namespace

MemoryFirmware::MemoryFirmware() : info(64, 0), spaces_(8, std::vector<uint8_t>(kSpaceSize, 0)) {}

std::vector<uint8_t>& MemoryFirmware::space(uint8_t command) { return spaces_.at(space_index(command)); }

void MemoryFirmware::operator()(const Packet& request, ScriptedPeer& peer) {
  Packet reply = echo_reply(request);
  if (request.size() == kReportSize && checksum_ok(request.data())) {
    const uint8_t command = request[kOffCommand];
    const size_t length = std::min<size_t>(request[kOffLength], kPageSize);
    const size_t offset = report_offset(request.data());
    std::lock_guard lock(mutex_);
    if (command == CMD_READ_INFO) {
      for (size_t i = 0; i < length && offset + i < info.size(); ++i) reply[kOffData + i] = info[offset + i];
    } else if (int s = space_index(command); s >= 0) {
      auto& mem = spaces_[s];
      for (size_t i = 0; i < length && offset + i < kSpaceSize; ++i) {
        if (is_read(command)) reply[kOffData + i] = mem[offset + i];
        else mem[offset + i] = request[kOffData + i];
      }
    }
  } else {
    reply[kOffStatus] = kStatusError;
  }
  peer.send(reply);
}

}  // namespace qxr::testing

#include "emulator/folder_server.h"

#include <fcntl.h>
#include <json/json.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "core/atomic_file.h"
#include "core/debug_line.h"

namespace qxr::emu {

namespace {
constexpr uint64_t kStopToken = 0;
constexpr int kListenBacklog = 16;
constexpr size_t kMaxPacket = 4096;
constexpr int kMaxEvents = 16;

uint64_t now_ms() {
  using namespace std::chrono;
  return static_cast<uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::string hex_bytes(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (uint8_t b : bytes) {
    if (!out.empty()) out.push_back(' ');
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 0x0F]);
  }
  return out;
}

bool make_folder(const std::string& dir) {
  if (::mkdir(dir.c_str(), 0755) == 0 || errno == EEXIST) {
    struct stat st {};
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  return false;
}
}  // namespace

FolderServer::FolderServer(std::string dir) : dir_(std::move(dir)) {}

FolderServer::~FolderServer() { stop(); }

std::string FolderServer::description_json(const InterfaceDescription& d) {
  Json::Value root(Json::objectValue);
  root["vendor_id"] = d.vendor_id;
  root["product_id"] = d.product_id;
  root["interface"] = d.interface_number;
  root["report_descriptor"] = hex_bytes(d.report_descriptor);
  if (!d.name.empty()) root["name"] = d.name;
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "  ";
  return Json::writeString(builder, root) + "\n";
}

bool FolderServer::start() {
  std::lock_guard lock(mutex_);
  if (running_) return true;
  if (!make_folder(dir_)) {
    debug_fmt("emulator: cannot use folder {}: {}", dir_, std::strerror(errno));
    return false;
  }
  epoll_fd_ = ::epoll_create1(EPOLL_CLOEXEC);
  if (epoll_fd_ < 0) return false;
  epoll_event ev{};
  ev.events = EPOLLIN;
  ev.data.u64 = kStopToken;
  if (::epoll_ctl(epoll_fd_, EPOLL_CTL_ADD, thread_.stop_event().fd(), &ev) < 0) {
    ::close(epoll_fd_);
    epoll_fd_ = -1;
    return false;
  }
  running_ = true;
  thread_.set_name("emulator");
  thread_.start([this](StopEvent& stop) { run(stop); });
  return true;
}

void FolderServer::stop() {
  {
    std::lock_guard lock(mutex_);
    if (!running_) return;
    running_ = false;
  }
  thread_.stop();
  std::lock_guard lock(mutex_);
  while (!interfaces_.empty()) unplug_locked(interfaces_.begin()->first);
  timed_.clear();
  ::close(epoll_fd_);
  epoll_fd_ = -1;
}

uint64_t FolderServer::add_token(TokenKind kind, const std::string& id, int fd) {
  uint64_t token = next_token_++;
  epoll_event ev{};
  ev.events = EPOLLIN | (kind == TokenKind::kConnection ? static_cast<uint32_t>(EPOLLRDHUP) : 0u);
  ev.data.u64 = token;
  if (::epoll_ctl(epoll_fd_, EPOLL_CTL_ADD, fd, &ev) < 0) return 0;
  tokens_[token] = TokenTarget{kind, id};
  return token;
}

bool FolderServer::plug(const InterfaceDescription& description,
                        std::shared_ptr<InterfaceHandler> handler) {
  std::lock_guard lock(mutex_);
  if (!running_ || interfaces_.count(description.id) != 0 || !handler) return false;
  const std::string sock = socket_path(description.id);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (sock.size() >= sizeof(addr.sun_path)) {
    debug_fmt("emulator: socket path too long: {}", sock);
    return false;
  }
  std::memcpy(addr.sun_path, sock.c_str(), sock.size() + 1);
  int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  ::unlink(sock.c_str());  // left over from a run that did not end cleanly
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) < 0 ||
      ::listen(fd, kListenBacklog) < 0) {
    debug_fmt("emulator: cannot listen on {}: {}", sock, std::strerror(errno));
    ::close(fd);
    ::unlink(sock.c_str());
    return false;
  }
  Interface itf;
  itf.description = description;
  itf.handler = std::move(handler);
  itf.listen_fd = fd;
  itf.listen_token = add_token(TokenKind::kListener, description.id, fd);
  // The JSON appears last, when the socket already accepts: its appearance is the plug.
  if (itf.listen_token == 0 ||
      !write_file_atomic(json_path(description.id), description_json(description))) {
    if (itf.listen_token != 0) tokens_.erase(itf.listen_token);
    ::close(fd);
    ::unlink(sock.c_str());
    return false;
  }
  interfaces_.emplace(description.id, std::move(itf));
  return true;
}

bool FolderServer::unplug(const std::string& id) {
  std::lock_guard lock(mutex_);
  return unplug_locked(id);
}

bool FolderServer::unplug_locked(const std::string& id) {
  auto it = interfaces_.find(id);
  if (it == interfaces_.end()) return false;
  Interface& itf = it->second;
  ::unlink(json_path(id).c_str());
  while (!itf.connections.empty()) close_connection(itf, itf.connections.begin()->first);
  tokens_.erase(itf.listen_token);
  ::close(itf.listen_fd);  // closing drops it from the epoll set
  ::unlink(socket_path(id).c_str());
  interfaces_.erase(it);
  timed_.erase(std::remove_if(timed_.begin(), timed_.end(), [&](const Timed& t) { return t.id == id; }),
               timed_.end());
  return true;
}

bool FolderServer::plugged(const std::string& id) const {
  std::lock_guard lock(mutex_);
  return interfaces_.count(id) != 0;
}

size_t FolderServer::connection_count(const std::string& id) const {
  std::lock_guard lock(mutex_);
  auto it = interfaces_.find(id);
  return it == interfaces_.end() ? 0 : it->second.connections.size();
}

bool FolderServer::send_input(const std::string& id, const std::vector<uint8_t>& report) {
  std::lock_guard lock(mutex_);
  auto it = interfaces_.find(id);
  if (it == interfaces_.end()) return false;
  // Behind replies that are still held back, like a device's own queue.
  if (it->second.last_deadline_ms > now_ms()) {
    // The server thread is already waiting for an earlier deadline of this interface.
    timed_.push_back(Timed{it->second.last_deadline_ms, id, report, false});
    return true;
  }
  broadcast(it->second, report);
  return true;
}

void FolderServer::close_connection(Interface& itf, uint64_t token) {
  auto it = itf.connections.find(token);
  if (it == itf.connections.end()) return;
  ::epoll_ctl(epoll_fd_, EPOLL_CTL_DEL, it->second, nullptr);
  ::shutdown(it->second, SHUT_RDWR);
  ::close(it->second);
  tokens_.erase(token);
  itf.connections.erase(it);
}

void FolderServer::broadcast(Interface& itf, const std::vector<uint8_t>& report) {
  // A handle whose connect() has returned is open: it must see this report even when the
  // server thread has not accepted it yet, as a freshly opened hidraw node would.
  accept_pending(itf);
  std::vector<uint64_t> broken;
  for (const auto& [token, fd] : itf.connections) {
    ssize_t n = ::send(fd, report.data(), report.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    // A reader that does not keep up loses reports, as it would on a hidraw node.
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) broken.push_back(token);
  }
  for (uint64_t token : broken) close_connection(itf, token);
}

int FolderServer::next_timeout_ms() const {
  std::lock_guard lock(mutex_);
  if (timed_.empty()) return -1;  // nothing to wait for: sleep until a socket wakes us
  uint64_t first = timed_.front().deadline_ms;
  for (const Timed& t : timed_) first = std::min(first, t.deadline_ms);
  uint64_t now = now_ms();
  return first <= now ? 0 : static_cast<int>(first - now);
}

void FolderServer::run(StopEvent& stop) {
  epoll_event events[kMaxEvents];
  while (!stop.is_set()) {
    int n = ::epoll_wait(epoll_fd_, events, kMaxEvents, next_timeout_ms());
    if (n < 0 && errno != EINTR) break;
    if (stop.is_set()) break;
    std::lock_guard lock(mutex_);
    for (int i = 0; i < n; ++i) {
      if (events[i].data.u64 != kStopToken) handle_event(events[i].data.u64, events[i].events);
    }
    run_due_reports();
  }
}

void FolderServer::handle_event(uint64_t token, uint32_t events) {
  auto it = tokens_.find(token);
  if (it == tokens_.end()) return;  // closed since epoll_wait returned
  const TokenTarget target = it->second;
  if (target.kind == TokenKind::kListener) {
    auto itf = interfaces_.find(target.id);
    if (itf != interfaces_.end()) accept_pending(itf->second);
    return;
  }
  if (events & EPOLLIN) read_connection(target.id, token);
  if (events & (EPOLLHUP | EPOLLERR | EPOLLRDHUP)) {
    auto itf = interfaces_.find(target.id);
    if (itf != interfaces_.end() && !(events & EPOLLIN)) close_connection(itf->second, token);
  }
}

void FolderServer::accept_pending(Interface& itf) {
  for (;;) {
    int fd = ::accept4(itf.listen_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;  // EAGAIN: all taken
    uint64_t token = add_token(TokenKind::kConnection, itf.description.id, fd);
    if (token == 0) {
      ::close(fd);
      continue;
    }
    itf.connections[token] = fd;
  }
}

void FolderServer::read_connection(const std::string& id, uint64_t token) {
  uint8_t buffer[kMaxPacket];
  for (;;) {
    auto itf = interfaces_.find(id);
    if (itf == interfaces_.end()) return;
    auto conn = itf->second.connections.find(token);
    if (conn == itf->second.connections.end()) return;
    ssize_t n = ::recv(conn->second, buffer, sizeof(buffer), MSG_DONTWAIT);
    if (n < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return;
      close_connection(itf->second, token);
      return;
    }
    if (n == 0) {  // the program closed its handle
      close_connection(itf->second, token);
      return;
    }
    HandlerResult result = itf->second.handler->on_output_report(buffer, static_cast<size_t>(n));
    dispatch(id, std::move(result));
  }
}

void FolderServer::dispatch(const std::string& id, HandlerResult result) {
  auto it = interfaces_.find(id);
  if (it == interfaces_.end()) return;
  Interface& itf = it->second;
  const uint64_t now = now_ms();
  bool held_back = false;
  for (Outgoing& out : result.reports) {
    // Counted from the next whole millisecond: a delayed report never goes early.
    const uint64_t due = out.delay_ms > 0 ? now + 1 + out.delay_ms : now;
    uint64_t deadline = std::max(due, itf.last_deadline_ms);
    if (deadline <= now && !held_back) {
      broadcast(itf, out.report);
      continue;
    }
    held_back = true;
    itf.last_deadline_ms = deadline;
    timed_.push_back(Timed{deadline, id, std::move(out.report), false});
  }
  if (!result.unplug) return;
  if (held_back) {
    timed_.back().unplug = true;
  } else {
    unplug_locked(id);
  }
}

void FolderServer::run_due_reports() {
  const uint64_t now = now_ms();
  // timed_ is in send order and deadlines never decrease within one interface.
  for (size_t i = 0; i < timed_.size();) {
    if (timed_[i].deadline_ms > now) {
      ++i;
      continue;
    }
    Timed due = std::move(timed_[i]);
    timed_.erase(timed_.begin() + static_cast<long>(i));
    auto it = interfaces_.find(due.id);
    if (it == interfaces_.end()) continue;
    broadcast(it->second, due.report);
    if (due.unplug) {
      unplug_locked(due.id);  // drops this interface's other entries: look again from the start
      i = 0;
    }
  }
}

}  // namespace qxr::emu

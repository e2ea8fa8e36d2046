#include "core/unix_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qxr {
namespace {

constexpr int kMillisPerSecond = 1000;
constexpr int kMicrosPerMilli = 1000;

bool make_address(const std::string& path, sockaddr_un* addr) {
  if (path.size() > kMaxSocketPath) return false;
  *addr = sockaddr_un{};
  addr->sun_family = AF_UNIX;
  std::memcpy(addr->sun_path, path.c_str(), path.size() + 1);
  return true;
}

SocketResult failed(int error) { return SocketResult{UniqueFd(), error}; }

}  // namespace

void UniqueFd::reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

SocketResult listen_local(const std::string& path, mode_t mode, int backlog) {
  sockaddr_un addr;
  if (!make_address(path, &addr)) return failed(ENAMETOOLONG);
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd.valid()) return failed(errno);
  if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) return failed(errno);
  // Connecting checks the file's mode, and nobody can connect before listen().
  if (::chmod(path.c_str(), mode) != 0 || ::listen(fd.get(), backlog) != 0) {
    const int error = errno;
    ::unlink(path.c_str());
    return failed(error);
  }
  return SocketResult{std::move(fd), 0};
}

SocketResult accept_local(int listener) {
  int fd;
  do {
    fd = ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return failed(errno == EWOULDBLOCK ? EAGAIN : errno);
  return SocketResult{UniqueFd(fd), 0};
}

SocketResult connect_local(const std::string& path, int timeout_ms) {
  sockaddr_un addr;
  if (!make_address(path, &addr)) return failed(ENAMETOOLONG);
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.valid()) return failed(errno);
  // A blocking connect bounded by the send timeout waits its turn at a busy listener; the
  // transfers after it are non-blocking.
  const timeval tv{timeout_ms / kMillisPerSecond, (timeout_ms % kMillisPerSecond) * kMicrosPerMilli};
  if (::setsockopt(fd.get(), SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv) != 0 ||
      ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
      ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) | O_NONBLOCK) != 0) {
    return failed(errno);
  }
  return SocketResult{std::move(fd), 0};
}

IoResult send_some(int fd, std::string_view data) {
  ssize_t n;
  do {
    n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return IoResult{0, errno == EWOULDBLOCK ? EAGAIN : errno};
  return IoResult{static_cast<size_t>(n), 0};
}

IoResult receive_some(int fd, std::string& into, size_t max) {
  const size_t old_size = into.size();
  into.resize(old_size + max);
  ssize_t n;
  do {
    n = ::recv(fd, into.data() + old_size, max, MSG_DONTWAIT);
  } while (n < 0 && errno == EINTR);
  const int error = n < 0 ? errno : 0;
  into.resize(old_size + (n > 0 ? static_cast<size_t>(n) : 0));
  if (n < 0) return IoResult{0, error == EWOULDBLOCK ? EAGAIN : error};
  return IoResult{static_cast<size_t>(n), 0};
}

bool send_all(int fd, std::string_view data, int timeout_ms) {
  while (!data.empty()) {
    const IoResult sent = send_some(fd, data);
    if (sent.error == 0) {
      data.remove_prefix(sent.bytes);
      continue;
    }
    if (sent.error != EAGAIN) return false;
    pollfd p{fd, POLLOUT, 0};
    int ready;
    do {
      ready = ::poll(&p, 1, timeout_ms);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return false;  // a peer that stopped reading; a hang-up shows in the next send
  }
  return true;
}

}  // namespace qxr

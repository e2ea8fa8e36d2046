#pragma once
// The POSIX side of the local socket: owned descriptors, listening, connecting, and moving bytes
// without ever waiting longer than the caller allows. Errors come back as errno values.
#include <sys/types.h>
#include <sys/un.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace qxr {

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void reset(int fd = -1);

 private:
  int fd_ = -1;
};

// A descriptor, or the errno of the step that failed.
struct SocketResult {
  UniqueFd fd;
  int error = 0;
};

// sun_path keeps its terminator: a longer path fails with ENAMETOOLONG instead of being cut.
inline constexpr size_t kMaxSocketPath = sizeof(sockaddr_un::sun_path) - 1;

// A non-blocking, close-on-exec listener. The file gets mode before listen(), so nobody can
// connect while it still has the umask's permissions. An existing file at path fails (EADDRINUSE).
SocketResult listen_local(const std::string& path, mode_t mode, int backlog);
// The next waiting client, non-blocking and close-on-exec; EAGAIN when none waits.
SocketResult accept_local(int listener);
// Waits up to timeout_ms for a place in a busy listener's queue. The socket is non-blocking
// and close-on-exec.
SocketResult connect_local(const std::string& path, int timeout_ms);

// Bytes moved, or error: EAGAIN when nothing can move now, else the errno.
struct IoResult {
  size_t bytes = 0;
  int error = 0;
};
// Never raises SIGPIPE: a peer that is gone gives EPIPE.
IoResult send_some(int fd, std::string_view data);
// Appends up to max bytes to into. Zero bytes without an error: the peer hung up.
IoResult receive_some(int fd, std::string& into, size_t max);
// Writes all of data, waiting up to timeout_ms whenever the socket is full.
bool send_all(int fd, std::string_view data, int timeout_ms);

}  // namespace qxr

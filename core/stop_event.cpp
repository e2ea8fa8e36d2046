#include "core/stop_event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

namespace qxr {

StopEvent::StopEvent() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (fd_ < 0) std::abort();  // out of file descriptors at construction: nothing sane to do
}

StopEvent::~StopEvent() { close(fd_); }

void StopEvent::set() noexcept {
  // The counter only ever holds 0 or 1: a second set() would not reset it anyway, and
  // writing 1 to an already-set eventfd just adds; reset() drains whatever is there.
  if (is_set()) return;
  uint64_t one = 1;
  ssize_t n = write(fd_, &one, sizeof one);
  (void)n;
}

void StopEvent::reset() noexcept {
  uint64_t value;
  while (read(fd_, &value, sizeof value) > 0) {
  }
}

bool StopEvent::is_set() const noexcept { return wait(0); }

bool StopEvent::wait(int timeout_ms) const noexcept {
  using clock = std::chrono::steady_clock;
  const auto deadline = clock::now() + std::chrono::milliseconds(timeout_ms < 0 ? 0 : timeout_ms);
  for (;;) {
    pollfd p{fd_, POLLIN, 0};
    int left = timeout_ms;
    if (timeout_ms > 0) {
      // Rounded up: a truncated remainder would poll with 0 and spin until the deadline.
      auto ms = std::chrono::ceil<std::chrono::milliseconds>(deadline - clock::now()).count();
      left = ms < 0 ? 0 : static_cast<int>(ms);
    }
    int r = poll(&p, 1, left);
    if (r > 0) return true;
    if (r == 0) return false;
    if (errno != EINTR) return false;
  }
}

}  // namespace qxr

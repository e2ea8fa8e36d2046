#pragma once
// Manual-reset event backed by an eventfd, so it can be waited on together with
// device file descriptors in poll().
#include <cstdint>

namespace qxr {

inline constexpr int kInfinite = -1;

class StopEvent {
 public:
  StopEvent();
  ~StopEvent();
  StopEvent(const StopEvent&) = delete;
  StopEvent& operator=(const StopEvent&) = delete;

  void set() noexcept;
  void reset() noexcept;
  bool is_set() const noexcept;
  // True when the event is (or becomes) set within timeout_ms; kInfinite waits for ever.
  bool wait(int timeout_ms) const noexcept;
  // Readable while set; never read from it directly.
  int fd() const noexcept { return fd_; }

 private:
  int fd_;
};

}  // namespace qxr

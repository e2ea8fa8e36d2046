#include "core/clock.h"

#include <chrono>

namespace qxr {

namespace {
// While a manual-clock sleeper waits, it rechecks the stop event this often (test-only clock).
constexpr int kManualStopPollMs = 2;
}  // namespace

uint64_t SystemClock::now_ms() const {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

bool SystemClock::sleep_until(uint64_t deadline_ms, const StopEvent& stop) {
  uint64_t now = now_ms();
  if (deadline_ms <= now) return !stop.is_set();
  for (;;) {
    if (stop.wait(static_cast<int>(deadline_ms - now))) return false;
    now = now_ms();
    if (now >= deadline_ms) return true;
  }
}

Clock& system_clock() {
  static SystemClock clock;
  return clock;
}

uint64_t ManualClock::now_ms() const {
  std::lock_guard lock(mutex_);
  return now_;
}

bool ManualClock::sleep_until(uint64_t deadline_ms, const StopEvent& stop) {
  std::unique_lock lock(mutex_);
  ++sleepers_;
  cv_.notify_all();
  bool reached = false;
  for (;;) {
    if (stop.is_set()) break;
    if (now_ >= deadline_ms) {
      reached = true;
      break;
    }
    seen_moves_ = moves_;
    cv_.notify_all();
    cv_.wait_for(lock, std::chrono::milliseconds(kManualStopPollMs));
  }
  --sleepers_;
  return reached;
}

void ManualClock::advance(uint64_t ms) {
  std::lock_guard lock(mutex_);
  now_ += ms;
  ++moves_;
  cv_.notify_all();
}

void ManualClock::set(uint64_t now_ms) {
  std::lock_guard lock(mutex_);
  now_ = now_ms;
  ++moves_;
  cv_.notify_all();
}

bool ManualClock::wait_until_settled(int timeout_ms) const {
  std::unique_lock lock(mutex_);
  return cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                      [&] { return sleepers_ >= 1 && seen_moves_ == moves_; });
}

bool ManualClock::wait_for_sleepers(int n, int timeout_ms) const {
  std::unique_lock lock(mutex_);
  return cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return sleepers_ >= n; });
}

}  // namespace qxr

#pragma once
// Time source for cadence-driven threads. SystemClock is the real one; ManualClock lets
// tests drive the cadence without waiting.
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "core/stop_event.h"

namespace qxr {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint64_t now_ms() const = 0;
  // Sleeps until now_ms() >= deadline_ms. False when the stop event was set first.
  virtual bool sleep_until(uint64_t deadline_ms, const StopEvent& stop) = 0;
};

class SystemClock final : public Clock {
 public:
  uint64_t now_ms() const override;
  bool sleep_until(uint64_t deadline_ms, const StopEvent& stop) override;
};

// The process-wide real clock.
Clock& system_clock();

class ManualClock final : public Clock {
 public:
  explicit ManualClock(uint64_t start_ms = 0) : now_(start_ms) {}
  uint64_t now_ms() const override;
  bool sleep_until(uint64_t deadline_ms, const StopEvent& stop) override;

  void advance(uint64_t ms);
  void set(uint64_t now_ms);
  // Blocks until at least n threads are sleeping in sleep_until (or the timeout passes).
  bool wait_for_sleepers(int n, int timeout_ms = 5000) const;
  // Blocks until a thread sleeps in sleep_until having seen the time as it is now (the one
  // sleeper of a test has taken in the last move of the clock).
  bool wait_until_settled(int timeout_ms = 5000) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable cv_;
  uint64_t now_;
  int sleepers_ = 0;
  uint64_t moves_ = 0;       // times the clock was moved
  uint64_t seen_moves_ = 0;  // moves_ when a sleeper last looked
};

}  // namespace qxr

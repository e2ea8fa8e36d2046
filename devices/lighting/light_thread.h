#pragma once
// The light thread every device kind runs: a WorkerThread that sleeps until the next effect
// step is due, runs it, and goes back to sleep. What to run and how often is the device's
// (LightDriver); the runner only keeps the cadence. Stopping wakes it at once.
#include <atomic>
#include <cstdint>
#include <string>

#include "core/clock.h"
#include "core/stop_event.h"
#include "core/worker_thread.h"

namespace qxr::lighting {

// What the device wants on this wake.
struct LightPace {
  uint32_t step_counts = 1;  // counted ticks (or loops) between two steps
  uint32_t idle_ms = 0;      // > 0: no step now (channel closed, synchronised, nothing would
                             // change); look again after this long, or sooner when poked
  bool at_once = false;      // step now, then every step_counts
  static LightPace steps_every(uint32_t counts) { return {counts, 0, false}; }
  static LightPace step_now(uint32_t counts) { return {counts, 0, true}; }
  static LightPace idle_for(uint32_t ms) { return {1, ms == 0 ? 1 : ms, false}; }
};

// Implemented by the device; both calls come from the light thread only.
class LightDriver {
 public:
  virtual ~LightDriver() = default;
  virtual LightPace pace() = 0;
  virtual void step(uint64_t now_ms) = 0;
  // New input waits for a step (the device pokes the thread): step now, not at the deadline.
  virtual bool input_waiting() { return false; }
};

// The longest single sleep; a longer deadline is approached in several sleeps.
inline constexpr uint64_t kMaxLightSleepMs = 60'000;

class LightThreadRunner {
 public:
  // count_ms: kKeyboardTickMs or kLoopMs. exit_line: written when the thread ends.
  LightThreadRunner(Clock& clock, uint32_t count_ms, std::string exit_line);
  ~LightThreadRunner();
  LightThreadRunner(const LightThreadRunner&) = delete;
  LightThreadRunner& operator=(const LightThreadRunner&) = delete;

  // The driver must outlive the thread (until stop() returns).
  bool start(LightDriver& driver);
  WorkerThread::StopOutcome stop();
  bool running() const { return worker_.running(); }
  // Something the pace depends on changed (mode, speed, channel, synchronised flag): the
  // thread looks again now instead of at its deadline.
  void poke() { wake_.set(); }
  // The thread's name (see core/thread_name.h).
  void set_name(std::string name) { worker_.set_name(std::move(name)); }

  // For diagnostics and tests: steps run and wakes from sleep since start.
  uint64_t steps() const { return steps_.load(std::memory_order_relaxed); }
  uint64_t wakeups() const { return wakeups_.load(std::memory_order_relaxed); }

 private:
  void run(StopEvent& stop, LightDriver& driver);

  Clock& clock_;
  uint32_t count_ms_;
  std::string exit_line_;
  StopEvent wake_;
  WorkerThread worker_;
  std::atomic<uint64_t> steps_{0};
  std::atomic<uint64_t> wakeups_{0};
};

}  // namespace qxr::lighting

#pragma once
// The keyboard's light thread: steps the lighting model at its mode's cadence while the
// keyboard is reachable and not driven by the owner's synchronised lighting.
//
// Fast modes step every 4 ms, but their frames are shown and streamed every 50 ms. Waking for
// every step costs a context switch each (most of the thread's CPU), so steps are run in
// small batches: the thread wakes about every kStepBatchMs and runs the steps due by then.
// The number of steps per second, and so every effect's speed, stays the same; a frame read
// between two wakes is at most one batch old.
#include <atomic>
#include <cstdint>
#include <functional>

#include "core/clock.h"
#include "devices/lighting/keyboard_lighting.h"
#include "devices/lighting/light_thread.h"

namespace qxr::devices {

inline constexpr uint32_t kStepBatchMs = 20;

class KeyboardLightThread : private lighting::LightDriver {
 public:
  KeyboardLightThread(lighting::KeyboardLighting& model, Clock& clock);
  ~KeyboardLightThread() override;
  KeyboardLightThread(const KeyboardLightThread&) = delete;
  KeyboardLightThread& operator=(const KeyboardLightThread&) = delete;

  // may_run is asked on every wake; while false the thread idles.
  bool start(std::function<bool()> may_run);
  WorkerThread::StopOutcome stop();
  bool running() const { return runner_.running(); }
  // The mode, speed or the may_run answer changed: look again now.
  void poke() { runner_.poke(); }
  const lighting::LightThreadRunner& runner() const { return runner_; }
  // Model steps run since start (a wake runs a batch of them).
  uint64_t model_steps() const { return model_steps_.load(std::memory_order_relaxed); }

 private:
  lighting::LightPace pace() override;
  void step(uint64_t now_ms) override;

  lighting::KeyboardLighting& model_;
  lighting::LightThreadRunner runner_;
  std::function<bool()> may_run_;
  uint32_t batch_ = 1;  // light thread only
  std::atomic<uint64_t> model_steps_{0};
};

}  // namespace qxr::devices

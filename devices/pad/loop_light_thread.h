#pragma once
// The light thread of the mouse, mouse pad and headset: counts loops of kLoopMs and steps the
// model once its mode's threshold is reached, while the device is reachable and not driven by
// the owner's synchronised lighting.
//
// Waking for every step costs a context switch each (most of the thread's CPU): the lighting
// program steps on every loop (its player counts its own ticks), the fastest effects every
// 14 ms. So steps are run in batches: the thread wakes about every kLoopBatchMs and runs the
// steps due by then. The steps per second, and so every effect's speed, stay the same; frames
// are read every 50 ms, so a batch never shows. A fixed colour, once stepped, needs no steps
// at all until its settings change: the thread then sleeps until it is poked.
#include <atomic>
#include <cstdint>
#include <functional>

#include "core/clock.h"
#include "devices/lighting/light_thread.h"
#include "devices/pad/loop_lighting.h"

namespace qxr::devices {

inline constexpr uint32_t kLoopBatchMs = 40;

class LoopLightThread : private lighting::LightDriver {
 public:
  LoopLightThread(LoopLighting& model, Clock& clock);
  ~LoopLightThread() override;
  LoopLightThread(const LoopLightThread&) = delete;
  LoopLightThread& operator=(const LoopLightThread&) = delete;

  // may_run is asked on every wake; while false the thread idles.
  bool start(std::function<bool()> may_run);
  WorkerThread::StopOutcome stop();
  bool running() const { return runner_.running(); }
  // The mode, speed or the may_run answer changed: look again now.
  void poke() { runner_.poke(); }
  const lighting::LightThreadRunner& runner() const { return runner_; }
  // Model steps since start (a program wake runs a batch of them).
  uint64_t model_steps() const { return model_steps_.load(std::memory_order_relaxed); }

 private:
  lighting::LightPace pace() override;
  void step(uint64_t now_ms) override;

  LoopLighting& model_;
  lighting::LightThreadRunner runner_;
  std::function<bool()> may_run_;
  uint32_t batch_ = 1;       // light thread only
  uint32_t pace_loops_ = 1;  // light thread only: the step_loops() the batch was made for
  std::atomic<uint64_t> model_steps_{0};
};

}  // namespace qxr::devices

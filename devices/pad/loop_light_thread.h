#pragma once
// The light thread of the mouse, mouse pad and headset: counts loops of kLoopMs and steps the
// model once its mode's threshold is reached, while the device is reachable and not driven by
// the owner's synchronised lighting.
//
// The lighting program is stepped on every loop (its player counts its own ticks). Waking 500
// times a second for it would cost a context switch each, so its loops are run in batches:
// the thread wakes about every kLoopBatchMs and runs the loops due by then. Frames are read
// every 50 ms, so a batch never shows.
#include <atomic>
#include <cstdint>
#include <functional>

#include "core/clock.h"
#include "devices/lighting/light_thread.h"
#include "devices/pad/loop_lighting.h"

namespace qxr::devices {

inline constexpr uint32_t kLoopBatchMs = 20;

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
  uint32_t batch_ = 1;  // light thread only
  std::atomic<uint64_t> model_steps_{0};
};

}  // namespace qxr::devices

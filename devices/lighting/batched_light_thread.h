#pragma once
// A light thread that steps a lighting model in batches. Waking for every step costs a context
// switch each (most of a light thread's CPU), so the thread wakes about every batch_ms and runs
// the steps due by then. The steps per second, and so every effect's speed, stay the same; the
// frames are read every 50 ms, so a batch never shows. A kind says how many ticks a step takes
// now, whether its model is settled (nothing changes until its settings do: the thread then
// sleeps until poked) and how to step it. A kind whose model takes input (music) may have its
// steps run as soon as the input arrives; a wake then runs the steps due by then, so the
// effect's pace stays the same.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "core/clock.h"
#include "devices/lighting/light_program.h"
#include "devices/lighting/light_thread.h"

namespace qxr::lighting {

class BatchedLightThread : private LightDriver {
 public:
  BatchedLightThread(Clock& clock, uint32_t tick_ms, const char* exit_line, uint32_t batch_ms);
  BatchedLightThread(const BatchedLightThread&) = delete;
  BatchedLightThread& operator=(const BatchedLightThread&) = delete;

  // may_run is asked on every wake; while false the thread rests until poked.
  bool start(std::function<bool()> may_run);
  // Called on the light thread after each wake that stepped the model, so the frame goes out
  // when it is made, not when someone next looks. Set before start.
  void set_frame_hook(std::function<void()> hook) { frame_hook_ = std::move(hook); }
  WorkerThread::StopOutcome stop();
  bool running() const { return runner_.running(); }
  // The mode, speed, the may_run answer or what the model will paint changed: look again now.
  void poke() { runner_.poke(); }
  void set_name(std::string name) { runner_.set_name(std::move(name)); }
  const LightThreadRunner& runner() const { return runner_; }
  // Model steps run since start (a wake runs a batch of them).
  uint64_t model_steps() const { return model_steps_.load(std::memory_order_relaxed); }

 protected:
  // The most derived destructor must stop the thread: it calls the operations below.
  ~BatchedLightThread() override = default;
  // Ticks from one model step to the next for the model's current settings.
  virtual uint32_t step_ticks() = 0;
  // Clock ms until which steps cannot change the model's frame (kQuietForever: until its
  // settings change, which pokes the thread); the thread rests meanwhile. 0: step on.
  virtual uint64_t quiet_until_ms() { return 0; }
  virtual void step_model(uint64_t now_ms) = 0;
  // New input waits for a step: step now, not at the deadline (the kind pokes the thread).
  bool input_waiting() override { return false; }
  // Wake no later than this (clock ms) even if no step is due by then.
  static constexpr uint64_t kNoWake = UINT64_MAX;
  virtual uint64_t wake_by_ms() { return kNoWake; }
  // Runs count steps, all at now (none when the wake was only for wake_by_ms()).
  virtual void step_models(uint64_t now_ms, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) step_model(now_ms);
  }

 private:
  LightPace pace() override;
  void step(uint64_t now_ms) override;
  LightPace rest(uint64_t ms);

  Clock& clock_;
  LightThreadRunner runner_;
  const uint32_t tick_ms_;
  const uint32_t batch_ms_;
  std::function<bool()> may_run_;
  std::function<void()> frame_hook_;
  uint32_t batch_ = 1;       // light thread only
  uint32_t pace_ticks_ = 1;  // light thread only: the step_ticks() the batch was made for
  uint64_t last_step_ms_ = 0;  // light thread only
  int64_t carry_ms_ = 0;       // light thread only: time counted towards the next step
  bool woken_early_ = false;   // light thread only: the wake is for wake_by_ms(), not a batch
  bool resting_ = false;       // light thread only: the last pace() was a rest
  std::atomic<uint64_t> model_steps_{0};
};

}  // namespace qxr::lighting

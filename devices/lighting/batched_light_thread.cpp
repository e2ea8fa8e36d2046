#include "devices/lighting/batched_light_thread.h"

#include <algorithm>

namespace qxr::lighting {

BatchedLightThread::BatchedLightThread(Clock& clock, uint32_t tick_ms, const char* exit_line, uint32_t batch_ms)
    : clock_(clock), runner_(clock, tick_ms, exit_line), tick_ms_(tick_ms), batch_ms_(batch_ms) {}

bool BatchedLightThread::start(std::function<bool()> may_run) {
  if (runner_.running()) return false;
  may_run_ = std::move(may_run);
  model_steps_.store(0);
  // Time before the start is owed no steps.
  last_step_ms_ = clock_.now_ms();
  carry_ms_ = 0;
  return runner_.start(*this);
}

WorkerThread::StopOutcome BatchedLightThread::stop() { return runner_.stop(); }

LightPace BatchedLightThread::rest(uint64_t ms) {
  resting_ = true;
  return LightPace::idle_for(static_cast<uint32_t>(std::min<uint64_t>(ms, kMaxLightSleepMs)));
}

LightPace BatchedLightThread::pace() {
  // Nothing is due while the device may not run or its frame cannot change: no wake until
  // that ends (a poke, or the time the model named).
  if (may_run_ && !may_run_()) return rest(kMaxLightSleepMs);
  const uint64_t now = clock_.now_ms();
  const uint64_t quiet = quiet_until_ms();
  if (quiet > now && !input_waiting()) return rest(quiet - now);
  pace_ticks_ = std::max<uint32_t>(1, step_ticks());
  // One wake per batch_ms whatever the step, and the steps due by then: waking after a whole
  // number of steps instead would come more often than the frames are read (every 36 ms for
  // 18 ms steps).
  uint32_t counts = std::max(pace_ticks_, batch_ms_ / tick_ms_);
  batch_ = (counts + pace_ticks_ - 1) / pace_ticks_;
  if (resting_) {
    // Back from a rest: one step at once, none owed for the time at rest.
    resting_ = false;
    const uint64_t step_ms = uint64_t{pace_ticks_} * tick_ms_;
    last_step_ms_ = now > step_ms ? now - step_ms : 0;
    carry_ms_ = 0;
    return LightPace::step_now(counts);
  }
  const uint64_t wake_by = wake_by_ms();
  woken_early_ = wake_by != kNoWake && wake_by < last_step_ms_ + uint64_t{counts} * tick_ms_;
  if (woken_early_) {
    const uint64_t ahead = wake_by > last_step_ms_ ? wake_by - last_step_ms_ : 0;
    counts = static_cast<uint32_t>(std::max<uint64_t>(1, (ahead + tick_ms_ - 1) / tick_ms_));
  }
  return LightPace::steps_every(counts);
}

void BatchedLightThread::step(uint64_t now_ms) {
  // The steps due since the last wake: a whole batch on time, fewer when input or a wake-by
  // time came first. What is left of a step's time counts towards the next; a step input
  // forced before its time is taken from the next (at most one step ahead).
  const auto step_ms = static_cast<int64_t>(pace_ticks_) * tick_ms_;
  const int64_t elapsed = static_cast<int64_t>(now_ms > last_step_ms_ ? now_ms - last_step_ms_ : 0) + carry_ms_;
  const int64_t due = elapsed / step_ms;
  // A wake-by time may come before a step is due: then no step, only what the kind owes.
  const int64_t least = woken_early_ && !input_waiting() ? 0 : 1;
  uint32_t n = static_cast<uint32_t>(std::clamp<int64_t>(due, least, batch_));
  carry_ms_ = due >= batch_ ? 0 : std::max(elapsed - n * step_ms, -step_ms);
  // Settings changed since pace(): one step now, the next pace() sees the new cadence.
  if (step_ticks() != pace_ticks_) {
    n = 1;
    carry_ms_ = 0;
  }
  last_step_ms_ = now_ms;
  step_models(now_ms, n);
  model_steps_.fetch_add(n, std::memory_order_relaxed);
  if (n > 0 && frame_hook_) frame_hook_();
}

}  // namespace qxr::lighting

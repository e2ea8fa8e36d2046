#include "devices/lighting/batched_light_thread.h"

#include <algorithm>

namespace qxr::lighting {

BatchedLightThread::BatchedLightThread(Clock& clock, uint32_t tick_ms, const char* exit_line, uint32_t batch_ms)
    : runner_(clock, tick_ms, exit_line), tick_ms_(tick_ms), batch_ms_(batch_ms) {}

bool BatchedLightThread::start(std::function<bool()> may_run) {
  if (runner_.running()) return false;
  may_run_ = std::move(may_run);
  model_steps_.store(0);
  return runner_.start(*this);
}

WorkerThread::StopOutcome BatchedLightThread::stop() { return runner_.stop(); }

LightPace BatchedLightThread::pace() {
  if (may_run_ && !may_run_()) return LightPace::idle_for(kClosedChannelIdleMs);
  if (settled()) return LightPace::idle_for(kMaxLightSleepMs);
  pace_ticks_ = std::max<uint32_t>(1, step_ticks());
  batch_ = std::max<uint32_t>(1, batch_ms_ / (pace_ticks_ * tick_ms_));
  return LightPace::steps_every(pace_ticks_ * batch_);
}

void BatchedLightThread::step(uint64_t now_ms) {
  // Settings changed since pace(): one step now, the next pace() sees the new cadence.
  const uint32_t n = step_ticks() == pace_ticks_ ? batch_ : 1;
  for (uint32_t i = 0; i < n; ++i) step_model(now_ms);
  model_steps_.fetch_add(n, std::memory_order_relaxed);
}

}  // namespace qxr::lighting

#include "devices/pad/loop_light_thread.h"

#include <algorithm>

#include "devices/lighting/keyboard_modes.h"

namespace qxr::devices {

LoopLightThread::LoopLightThread(LoopLighting& model, Clock& clock)
    : model_(model), runner_(clock, lighting::kLoopMs, lighting::kLoopLightExitLine) {}

LoopLightThread::~LoopLightThread() { stop(); }

bool LoopLightThread::start(std::function<bool()> may_run) {
  if (runner_.running()) return false;
  may_run_ = std::move(may_run);
  model_steps_.store(0);
  return runner_.start(*this);
}

WorkerThread::StopOutcome LoopLightThread::stop() { return runner_.stop(); }

lighting::LightPace LoopLightThread::pace() {
  if (may_run_ && !may_run_()) return lighting::LightPace::idle_for(lighting::kClosedChannelIdleMs);
  if (model_.settled()) return lighting::LightPace::idle_for(lighting::kMaxLightSleepMs);
  pace_loops_ = model_.step_loops();
  batch_ = std::max<uint32_t>(1, kLoopBatchMs / (pace_loops_ * lighting::kLoopMs));
  return lighting::LightPace::steps_every(pace_loops_ * batch_);
}

void LoopLightThread::step(uint64_t now_ms) {
  // Settings changed since pace(): one step now, the next pace() sees the new cadence.
  const uint32_t n = model_.step_loops() == pace_loops_ ? batch_ : 1;
  for (uint32_t i = 0; i < n; ++i) model_.step(now_ms);
  model_steps_.fetch_add(n, std::memory_order_relaxed);
}

}  // namespace qxr::devices

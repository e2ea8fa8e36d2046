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
  const uint32_t loops = model_.step_loops();
  batch_ = loops == 1 ? std::max<uint32_t>(1, kLoopBatchMs / lighting::kLoopMs) : 1;
  return lighting::LightPace::steps_every(loops * batch_);
}

void LoopLightThread::step(uint64_t now_ms) {
  // A mode changed since pace() runs one step; the next pace() sees it.
  const uint32_t n = model_.step_loops() == 1 ? batch_ : 1;
  for (uint32_t i = 0; i < n; ++i) model_.step(now_ms);
  model_steps_.fetch_add(n, std::memory_order_relaxed);
}

}  // namespace qxr::devices

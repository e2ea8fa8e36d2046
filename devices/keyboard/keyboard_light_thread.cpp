#include "devices/keyboard/keyboard_light_thread.h"

#include <algorithm>

#include "devices/lighting/keyboard_modes.h"

namespace qxr::devices {

KeyboardLightThread::KeyboardLightThread(lighting::KeyboardLighting& model, Clock& clock)
    : model_(model), runner_(clock, lighting::kKeyboardTickMs, lighting::kKeyboardLightExitLine) {}

KeyboardLightThread::~KeyboardLightThread() { stop(); }

bool KeyboardLightThread::start(std::function<bool()> may_run) {
  if (runner_.running()) return false;
  may_run_ = std::move(may_run);
  model_steps_.store(0);
  return runner_.start(*this);
}

WorkerThread::StopOutcome KeyboardLightThread::stop() { return runner_.stop(); }

lighting::LightPace KeyboardLightThread::pace() {
  if (may_run_ && !may_run_()) return lighting::LightPace::idle_for(lighting::kClosedChannelIdleMs);
  const uint32_t ticks = model_.step_ticks();
  batch_ = std::max<uint32_t>(1, kStepBatchMs / (ticks * lighting::kKeyboardTickMs));
  return lighting::LightPace::steps_every(ticks * batch_);
}

void KeyboardLightThread::step(uint64_t now_ms) {
  for (uint32_t i = 0; i < batch_; ++i) model_.step(now_ms);
  model_steps_.fetch_add(batch_, std::memory_order_relaxed);
}

}  // namespace qxr::devices

#include "devices/keyboard/keyboard_light_thread.h"

#include "devices/lighting/keyboard_modes.h"

namespace qxr::devices {

KeyboardLightThread::KeyboardLightThread(lighting::KeyboardLighting& model, Clock& clock)
    : model_(model), runner_(clock, lighting::kKeyboardTickMs, lighting::kKeyboardLightExitLine) {}

KeyboardLightThread::~KeyboardLightThread() { stop(); }

bool KeyboardLightThread::start(std::function<bool()> may_run) {
  if (runner_.running()) return false;
  may_run_ = std::move(may_run);
  return runner_.start(*this);
}

WorkerThread::StopOutcome KeyboardLightThread::stop() { return runner_.stop(); }

lighting::LightPace KeyboardLightThread::pace() {
  if (may_run_ && !may_run_()) return lighting::LightPace::idle_for(lighting::kClosedChannelIdleMs);
  return lighting::LightPace::steps_every(model_.step_ticks());
}

void KeyboardLightThread::step(uint64_t now_ms) { model_.step(now_ms); }

}  // namespace qxr::devices

#include "devices/keyboard/keyboard_light_thread.h"

#include "devices/lighting/keyboard_modes.h"

namespace qxr::devices {

KeyboardLightThread::KeyboardLightThread(lighting::KeyboardLighting& model, Clock& clock)
    : BatchedLightThread(clock, lighting::kKeyboardTickMs, lighting::kKeyboardLightExitLine, kStepBatchMs),
      model_(model) {}

KeyboardLightThread::~KeyboardLightThread() { stop(); }

uint64_t KeyboardLightThread::wake_by_ms() { return pacer_.owed_at().value_or(kNoWake); }

void KeyboardLightThread::step_models(uint64_t now_ms, uint32_t count) {
  // Only the last step takes the fed data, so the frame shows it as it came.
  // (No step at all when the wake was only for an owed frame.)
  bool fresh = false;
  for (uint32_t i = 0; i < count; ++i) fresh = model_.step(now_ms, i + 1 == count);
  if (!model_.in_music_mode()) {
    pacer_.forget();
    return;
  }
  if ((fresh && pacer_.data_step(now_ms)) || pacer_.owed_due(now_ms)) {
    last_music_frame_.store(now_ms, std::memory_order_relaxed);
    if (send_music_frame_) send_music_frame_();
  }
}

}  // namespace qxr::devices

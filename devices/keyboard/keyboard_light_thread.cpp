#include "devices/keyboard/keyboard_light_thread.h"

#include "devices/lighting/keyboard_modes.h"

namespace qxr::devices {

KeyboardLightThread::KeyboardLightThread(lighting::KeyboardLighting& model, Clock& clock)
    : BatchedLightThread(clock, lighting::kKeyboardTickMs, lighting::kKeyboardLightExitLine, kStepBatchMs),
      model_(model) {}

KeyboardLightThread::~KeyboardLightThread() { stop(); }

}  // namespace qxr::devices

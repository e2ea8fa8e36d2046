#include "devices/loop/loop_light_thread.h"

#include "devices/lighting/keyboard_modes.h"

namespace qxr::devices {

LoopLightThread::LoopLightThread(LoopLighting& model, Clock& clock)
    : BatchedLightThread(clock, lighting::kLoopMs, lighting::kLoopLightExitLine, kLoopBatchMs), model_(model) {}

LoopLightThread::~LoopLightThread() { stop(); }

}  // namespace qxr::devices

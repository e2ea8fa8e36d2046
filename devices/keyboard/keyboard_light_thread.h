#pragma once
// The keyboard's light thread: steps the lighting model at its mode's cadence while the
// keyboard is reachable and not driven by the owner's synchronised lighting.
// Fast modes step every 4 ms; the thread runs them in batches of kStepBatchMs.
#include <cstdint>

#include "core/clock.h"
#include "devices/lighting/batched_light_thread.h"
#include "devices/lighting/keyboard_lighting.h"

namespace qxr::devices {

inline constexpr uint32_t kStepBatchMs = 20;

class KeyboardLightThread : public lighting::BatchedLightThread {
 public:
  KeyboardLightThread(lighting::KeyboardLighting& model, Clock& clock);
  ~KeyboardLightThread() override;

 private:
  uint32_t step_ticks() override { return model_.step_ticks(); }
  void step_model(uint64_t now_ms) override { model_.step(now_ms); }

  lighting::KeyboardLighting& model_;
};

}  // namespace qxr::devices

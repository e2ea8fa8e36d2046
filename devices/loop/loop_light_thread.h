#pragma once
// The light thread of the mouse, mouse pad and headset: counts loops of kLoopMs and steps the
// model once its mode's threshold is reached, while the device is reachable and not driven by
// the owner's synchronised lighting.
//
// The lighting program steps on every loop (its player counts its own ticks), the fastest
// effects every 14 ms: the thread runs them in batches of kLoopBatchMs. A fixed colour, once
// stepped, needs no steps at all until its settings change.
#include <cstdint>

#include "core/clock.h"
#include "devices/lighting/batched_light_thread.h"
#include "devices/loop/loop_lighting.h"

namespace qxr::devices {

// One wake per light frame (the owner reads one every 50 ms).
inline constexpr uint32_t kLoopBatchMs = 50;

class LoopLightThread : public lighting::BatchedLightThread {
 public:
  LoopLightThread(LoopLighting& model, Clock& clock);
  ~LoopLightThread() override;

 private:
  uint32_t step_ticks() override { return model_.step_loops(); }
  uint64_t quiet_until_ms() override { return model_.quiet_until(); }
  void step_model(uint64_t now_ms) override { model_.step(now_ms); }

  LoopLighting& model_;
};

}  // namespace qxr::devices

#pragma once
// The keyboard's light thread: steps the lighting model at its mode's cadence while the
// keyboard is reachable and not driven by the owner's synchronised lighting.
// Fast modes step every 4 ms; the thread runs them in batches of kStepBatchMs. In the music
// modes fed data is stepped at once (the feeder pokes the thread) and the step that took it
// asks for a frame, paced by MusicFramePacer.
#include <atomic>
#include <cstdint>
#include <functional>

#include "core/clock.h"
#include "devices/keyboard/music_frame_pacer.h"
#include "devices/lighting/batched_light_thread.h"
#include "devices/lighting/keyboard_lighting.h"

namespace qxr::devices {

// One wake per light frame (the owner reads one every 50 ms).
inline constexpr uint32_t kStepBatchMs = 50;
inline constexpr uint64_t kNoMusicFrame = UINT64_MAX;

class KeyboardLightThread : public lighting::BatchedLightThread {
 public:
  KeyboardLightThread(lighting::KeyboardLighting& model, Clock& clock);
  ~KeyboardLightThread() override;

  // Called on the light thread when a music frame should go to the keyboard. Set before start.
  void set_music_frame_sender(std::function<void()> send) { send_music_frame_ = std::move(send); }
  // When the last music frame was asked for (clock ms), kNoMusicFrame before the first.
  uint64_t last_music_frame_ms() const { return last_music_frame_.load(std::memory_order_relaxed); }

 private:
  uint32_t step_ticks() override { return model_.step_ticks(); }
  void step_model(uint64_t now_ms) override { model_.step(now_ms); }
  bool input_waiting() override { return model_.music_waiting(); }
  uint64_t quiet_until_ms() override { return model_.quiet_until(); }
  uint64_t wake_by_ms() override;
  void step_models(uint64_t now_ms, uint32_t count) override;

  lighting::KeyboardLighting& model_;
  MusicFramePacer pacer_;  // light thread only
  std::function<void()> send_music_frame_;
  std::atomic<uint64_t> last_music_frame_{kNoMusicFrame};
};

}  // namespace qxr::devices

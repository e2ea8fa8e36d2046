#pragma once
// The keyboard's lighting model as the device uses it from several threads: the UI thread
// sets the look and prepares modes, the sync thread reports key events, the audio thread
// feeds music, the light thread steps, and any thread reads the newest frame. The model is
// kept under one short lock (a step holds it for a few microseconds); music input has its
// own lock so that feeding never waits on a step; finished frames go out through a triple
// buffer so that readers never see half a frame.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>

#include "devices/lighting/frame_mailbox.h"
#include "devices/lighting/keyboard_effects.h"
#include <vector>

#include "devices/lighting/light_program.h"
#include "devices/lighting/music_input.h"

namespace qxr::lighting {

class KeyboardLighting {
 public:
  explicit KeyboardLighting(uint32_t seed = LightRandom::kDefaultSeed);

  // --- UI thread
  // The light thread runs info.select_item at info.speed (from the condensed settings).
  // With prepare, the new mode is set up at once (a mode change, or custom mode).
  void set_light_info(const LightInfo& info, bool prepare);
  LightInfo light_info() const;
  void set_music_style(const MusicStyle& style);
  void set_music_colour_pair(uint32_t first, uint32_t second);
  void PrepareMode(uint8_t mode);
  void ResetEffectState();
  void restart_after_profile();
  void set_custom_colours(std::span<const Rgb, kKeyCount> colours);
  bool SetCustomKeyColour(size_t key, Rgb colour);
  // The device's lighting program (modes 0, 19 and above 30).
  LightProgram& program() { return program_; }
  // Replaces the program's steps; a quiet program mode is quiet no longer.
  void set_program_steps(std::vector<LightProgramStep> steps);
  // Light thread: see KeyboardEffects::quiet_until.
  uint64_t quiet_until() const;

  // --- sync thread
  void OnKeyEvent(size_t key, uint8_t action);

  // --- the owner's synchronised lighting, while the light thread idles
  // Publishes a frame with every key in led; the model's own effect state is left as it was.
  void show_uniform(const LedRecord& led);

  // --- audio thread
  void FeedSpectrum(const int32_t* values, size_t count) { music_.FeedSpectrum(values, count); }
  void FeedLevels(const uint8_t* values, size_t count) { music_.FeedLevels(values, count); }

  // --- light thread
  // Counted ticks from one step to the next for the current mode and speed.
  uint32_t step_ticks() const;
  // One step. In the music modes a step with take_music takes what was fed (the others see
  // nothing new); true when it took something new and that changed the frame.
  bool step(uint64_t now_ms, bool take_music = true);
  // A music mode runs and something was fed that no step has taken yet.
  bool music_waiting() const;
  bool in_music_mode() const;

  // --- any thread
  // The newest frame; returns its version (0 before the first), which grows with each frame
  // that differs from the one before.
  uint64_t read_frame(KeyFrame& out) const { return mailbox_.read(out); }
  // The newest frame's version alone.
  uint64_t frame_version() const { return mailbox_.published(); }

  // Looks at the model under its lock (diagnostics, tests).
  template <typename F>
  auto inspect(F&& f) const {
    std::lock_guard lock(mutex_);
    return f(effects_);
  }

 private:
  // False when frame is the one already published.
  bool publish_locked(const KeyFrame& frame);

  mutable std::mutex mutex_;
  KeyboardEffects effects_;
  MusicInput music_;
  LightProgram program_;
  FrameMailbox<KeyFrame> mailbox_;
  std::optional<KeyFrame> published_;
};

}  // namespace qxr::lighting

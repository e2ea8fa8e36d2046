#pragma once
// The keyboard's lighting model: the step of every mode over the 170-key colour frame, and
// the per-key state the steps carry from one step to the next. Single-threaded; the light
// thread owns it through KeyboardLighting. Steps allocate nothing.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "devices/lighting/base_effects.h"
#include "devices/lighting/key_glow.h"
#include "devices/lighting/keyboard_modes.h"
#include "devices/lighting/led_types.h"
#include "devices/lighting/light_program.h"
#include "devices/lighting/light_random.h"
#include "devices/lighting/music_input.h"
#include "devices/lighting/ripple_masks.h"

namespace qxr::lighting {

// How the music effect looks, from the music colour pair.
struct MusicStyle {
  uint8_t visual = 0;  // 0-6
  Rgb background;
  Rgb foreground;
  bool wheel = false;  // wheel colours per column instead of the foreground
  friend bool operator==(const MusicStyle&, const MusicStyle&) = default;
};
inline constexpr uint8_t kMusicVisualCount = 7;
// first: byte 0 the visualisation, bytes 1-3 the background; second: bytes 0-2 the
// foreground, byte 3 the wheel flag (bytes counted from the low end).
MusicStyle music_style_from_colour_pair(uint32_t first, uint32_t second);
MusicStyle music_style_from_audio(const AudioLightInfo& audio);

struct ScanState {
  uint8_t phase = 0;
  uint8_t n = 0;
};

struct MusicState {
  uint8_t colour = 0;        // the wheel position of the bar colours
  uint8_t band_offset = 0;   // which band the first column shows
  uint8_t offset_steps = 0;  // steps since the band offset last moved
};

inline constexpr uint8_t kReactiveIdle = 0;
inline constexpr uint8_t kReactivePressed = 1;
inline constexpr uint8_t kReactiveReleased = 2;

struct KeyboardEffectState {
  KeyFrame frame{};
  KeyGlow glow;                                  // glow.glow is the per-key brightness
  std::array<uint8_t, kKeyCount> colour_tab{};  // a wheel index per key
  std::array<uint8_t, kKeyCount> phase{};       // the twinkles' per-key phase
  std::array<uint8_t, kKeyCount> reactive{};    // kReactiveIdle / Pressed / Released
  std::array<bool, kKeyCount> held{};           // pressed and not yet released
  RippleMasks masks;
  BaseEffectState base;
  uint8_t counter = 0;      // the shared step counter
  uint8_t bar_parity = 0;   // the bouncing bar moves every second step
  uint8_t falling_row = 0;  // the next row of FallingKeys
  ScanState scan;
  MusicState music;
  std::array<Rgb, kKeyCount> custom{};  // the custom group's colours
};

class KeyboardEffects {
 public:
  explicit KeyboardEffects(uint32_t seed = LightRandom::kDefaultSeed) : random_(seed) {}

  // Mode ("SelectItem") and speed as the light thread should run them, and the look.
  void set_light_info(const LightInfo& info) {
    info_ = info;
    quiet_until_ = 0;
  }
  const LightInfo& light_info() const { return info_; }
  uint8_t mode() const { return info_.select_item; }
  void set_music_style(const MusicStyle& style) { music_style_ = style; }
  const MusicStyle& music_style() const { return music_style_; }

  // After a step: until when further steps cannot change the frame (kQuietForever for the still
  // modes, the lighting program's own time in the program modes), 0 when the next one may.
  // Anything that changes what the steps paint ends it.
  uint64_t quiet_until() const { return quiet_until_; }
  void end_quiet() { quiet_until_ = 0; }

  // Step counter, per-key tables, masks, reactive and music state, and the frame cleared.
  void ResetEffectState();
  // Switches to a mode: resets, then sets up what the mode starts from.
  void PrepareMode(uint8_t mode);
  // After the profile's lighting was applied: the counter restarts (and the falling keys'
  // colours with it).
  void restart_after_profile();

  void set_custom_colours(std::span<const Rgb, kKeyCount> colours);
  // Custom mode only: the key takes the colour at once. False otherwise or for key >= 170.
  bool SetCustomKeyColour(size_t key, Rgb colour);

  // A logical key went down (kKeyPressed) or up (kKeyReleased); what it starts depends on
  // the mode.
  void OnKeyEvent(size_t key, uint8_t action);
  void StartReactive(size_t key, uint8_t action);
  // Every key whose cell is set in its column's masks glows at full (random wheel colour
  // with "MultiColor").
  void MarkRippleKeys() { mark_ripple_keys(info_.multi_color != 0); }
  void ShiftRipple() { state_.masks.ShiftRipple(); }
  void SlideRipple() { state_.masks.SlideRipple(); }

  // One step of the current mode.
  void step(uint64_t now_ms, const MusicFrame& music, LightProgram& program);

  const KeyFrame& frame() const { return state_.frame; }
  const KeyboardEffectState& state() const { return state_; }
  KeyboardEffectState& state() { return state_; }

 private:
  struct StepContext {
    uint64_t now_ms;
    const MusicFrame& music;
    LightProgram& program;
  };
  using StepFn = void (KeyboardEffects::*)(const StepContext&);
  static const std::array<StepFn, kKeyboardModeCount> kSteps;

  // --- shared helpers
  uint8_t level() const { return brightness_level(info_.light); }
  Rgb key_colour(size_t key) const;
  void show_key(size_t key, uint8_t brightness);
  void show_all_faded();
  void fill_ramp();
  void mark_key_press(size_t key);
  void mark_ripple_keys(bool recolour);
  void light_key(size_t key, uint8_t glow, bool recolour);
  void reactive_ripple(size_t key, uint8_t action);
  void advance_wave_counter(uint8_t step);
  LedRecord wave_led(size_t position, unsigned spacing) const;
  void prepare_twinkle();
  void prepare_flowing_twinkle();
  void twinkle(uint8_t advance);
  // --- music
  Rgb bar_colour(unsigned slot) const;
  void music_key(uint8_t key, bool lit, unsigned slot);
  void music_column_bars(const MusicFrame& music);
  void music_row_bars(const MusicFrame& music);
  void music_ripple(const MusicFrame& music);
  void music_rings(const MusicFrame& music);
  void music_hanging_bars(const MusicFrame& music);
  void music_band_rows(const MusicFrame& music, std::span<const uint8_t> groups, bool centred);

  // --- the modes
  void step_program(const StepContext& ctx);
  void step_column_wave(const StepContext& ctx);
  void step_narrow_column_wave(const StepContext& ctx);
  void step_key_order_wave(const StepContext& ctx);
  void step_spectrum(const StepContext& ctx);
  void step_column_breathing(const StepContext& ctx);
  void step_static(const StepContext& ctx);
  void step_reactive(const StepContext& ctx);
  void step_ripple(const StepContext& ctx);
  void step_row_ripple(const StepContext& ctx);
  void step_sparkle(const StepContext& ctx);
  void step_colour_cycle(const StepContext& ctx);
  void step_row_wave(const StepContext& ctx);
  void step_bouncing_bar(const StepContext& ctx);
  void step_scan(const StepContext& ctx);
  void step_twinkle(const StepContext& ctx);
  void step_sweeping_bar(const StepContext& ctx);
  void step_static_wheel(const StepContext& ctx);
  void step_ring_wave(const StepContext& ctx);
  void step_custom(const StepContext& ctx);
  void step_music(const StepContext& ctx);
  void step_fed_colour(const StepContext& ctx);
  void step_blink_cycle(const StepContext& ctx);
  void step_falling_keys(const StepContext& ctx);
  void step_breathe_four(const StepContext& ctx);
  void step_blink_four(const StepContext& ctx);
  void step_off(const StepContext& ctx);
  void step_flowing_twinkle(const StepContext& ctx);
  void step_fill(const StepContext& ctx);

  LightInfo info_{};
  MusicStyle music_style_{};
  KeyboardEffectState state_{};
  LightRandom random_;
  LightProgramPlayer player_;
  uint64_t quiet_until_ = 0;
};

}  // namespace qxr::lighting

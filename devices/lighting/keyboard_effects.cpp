// The keyboard model's dispatch, shared helpers, mode preparation and key events.
#include "devices/lighting/keyboard_effects.h"

#include <algorithm>

#include "devices/lighting/keyboard_effect_tables.h"
#include "devices/lighting/keyboard_layout.h"
#include "devices/lighting/shared_tables.h"

namespace qxr::lighting {

namespace {
// The ramp of wheel indices most modes start from: +33 per key, +97 (wrapping) from 160 so
// that the index never passes 192.
constexpr uint8_t kRampStep = 33;
constexpr uint8_t kRampWrapStep = 97;
constexpr uint8_t kRampWrapFrom = 160;
constexpr uint8_t kRampWrapTo = 222;
// The bouncing bar starts below column 9, the sweeping bar on top of column 1.
constexpr size_t kBounceColumn = 9;
constexpr size_t kSweepStartColumn = 1;
constexpr uint8_t kTopRowBit = 0x01;
}  // namespace

MusicStyle music_style_from_colour_pair(uint32_t first, uint32_t second) {
  auto byte = [](uint32_t word, int n) { return static_cast<uint8_t>(word >> (8 * n)); };
  MusicStyle style;
  style.visual = byte(first, 0);
  style.background = {byte(first, 1), byte(first, 2), byte(first, 3)};
  style.foreground = {byte(second, 0), byte(second, 1), byte(second, 2)};
  style.wheel = byte(second, 3) != 0;
  return style;
}

MusicStyle music_style_from_audio(const AudioLightInfo& audio) {
  MusicStyle style;
  style.visual = audio.audio_mode;
  style.background = {audio.bk_red, audio.bk_green, audio.bk_blue};
  style.foreground = {audio.fg_red, audio.fg_green, audio.fg_blue};
  style.wheel = audio.seven_color_flags != 0;
  return style;
}

const std::array<KeyboardEffects::StepFn, kKeyboardModeCount> KeyboardEffects::kSteps = {
    &KeyboardEffects::step_program,             // 0
    &KeyboardEffects::step_column_wave,         // 1
    &KeyboardEffects::step_narrow_column_wave,  // 2
    &KeyboardEffects::step_key_order_wave,      // 3
    &KeyboardEffects::step_spectrum,            // 4
    &KeyboardEffects::step_column_breathing,    // 5
    &KeyboardEffects::step_static,              // 6
    &KeyboardEffects::step_reactive,            // 7
    &KeyboardEffects::step_ripple,              // 8
    &KeyboardEffects::step_row_ripple,          // 9
    &KeyboardEffects::step_sparkle,             // 10
    &KeyboardEffects::step_colour_cycle,        // 11
    &KeyboardEffects::step_row_wave,            // 12
    &KeyboardEffects::step_bouncing_bar,        // 13
    &KeyboardEffects::step_scan,                // 14
    &KeyboardEffects::step_twinkle,             // 15
    &KeyboardEffects::step_sweeping_bar,        // 16
    &KeyboardEffects::step_static_wheel,        // 17
    &KeyboardEffects::step_ring_wave,           // 18
    &KeyboardEffects::step_program,             // 19
    &KeyboardEffects::step_custom,              // 20
    &KeyboardEffects::step_music,               // 21
    &KeyboardEffects::step_fed_colour,          // 22
    &KeyboardEffects::step_blink_cycle,         // 23
    &KeyboardEffects::step_falling_keys,        // 24
    &KeyboardEffects::step_reactive,            // 25: the press differs, the step is 7's
    &KeyboardEffects::step_breathe_four,        // 26
    &KeyboardEffects::step_blink_four,          // 27
    &KeyboardEffects::step_off,                 // 28
    &KeyboardEffects::step_flowing_twinkle,     // 29
    &KeyboardEffects::step_fill,                // 30
};

void KeyboardEffects::step(uint64_t now_ms, const MusicFrame& music, LightProgram& program) {
  const StepContext ctx{now_ms, music, program};
  const uint8_t m = mode();
  (this->*kSteps[m < kSteps.size() ? m : kModeProgram])(ctx);
  quiet_until_ = is_still_mode(m) ? kQuietForever : is_program_mode(m) ? player_.quiet_until() : 0;
}

Rgb KeyboardEffects::key_colour(size_t key) const {
  return info_.multi_color ? wheel_colour(state_.colour_tab[key]) : colour_of(info_);
}

void KeyboardEffects::show_key(size_t key, uint8_t brightness) {
  if (key < kKeyCount) state_.frame[key] = make_led(key_colour(key), brightness);
}

void KeyboardEffects::show_all_faded() {
  const uint8_t lvl = level();
  for (size_t key = 0; key < kKeyCount; ++key) show_key(key, scale8(lvl, state_.glow.glow[key]));
}

void KeyboardEffects::fill_ramp() {
  uint8_t value = 0;
  for (uint8_t& index : state_.colour_tab) {
    index = value;
    const bool wrap = value >= kRampWrapFrom && value <= kRampWrapTo;
    value = static_cast<uint8_t>(value + (wrap ? kRampWrapStep : kRampStep));
  }
}

void KeyboardEffects::light_key(size_t key, uint8_t glow, bool recolour) {
  if (key >= kKeyCount) return;
  state_.glow.glow[key] = glow;
  if (recolour) state_.colour_tab[key] = static_cast<uint8_t>(random_.below(kWheelCycle));
}

void KeyboardEffects::mark_key_press(size_t key) {
  if (key >= kKeyCount || !KeyCells[key].valid()) return;
  const GridCell cell = KeyCells[key];
  state_.masks.mark(cell.column, static_cast<uint8_t>(1u << cell.row));
}

void KeyboardEffects::mark_ripple_keys(bool recolour) {
  for (size_t col = 0; col < kGridColumns; ++col) {
    const uint8_t bits = state_.masks.combined(col);
    if (bits == 0) continue;
    for (size_t row = 0; row < kGridRows; ++row)
      if (bits & (1u << row)) light_key(KeyGrid[col][row], 255, recolour);
  }
}

void KeyboardEffects::ResetEffectState() {
  quiet_until_ = 0;
  state_.counter = 0;
  state_.glow.clear_glow();
  state_.colour_tab.fill(0);
  state_.phase.fill(0);
  state_.reactive.fill(kReactiveIdle);
  state_.held.fill(false);
  state_.masks.clear();
  state_.bar_parity = 0;
  state_.falling_row = 0;
  state_.scan = {};
  state_.music = {};
  // Keys the new mode does not paint would otherwise keep the old mode's last colours.
  state_.frame.fill(LedRecord{});
  player_.reset();
}

void KeyboardEffects::PrepareMode(uint8_t mode) {
  info_.select_item = mode;
  ResetEffectState();
  switch (mode) {
    case kModeBouncingBar:
      state_.masks.mark(kBounceColumn, kBelowLastRowBit);
      break;
    case kModeTwinkle:
      prepare_twinkle();
      break;
    case kModeSweepingBar:
      state_.masks.mark(kSweepStartColumn, kTopRowBit);
      break;
    case kModeCustom:
      for (size_t key = 0; key < kKeyCount; ++key) state_.frame[key] = make_led(state_.custom[key], level());
      fill_ramp();
      break;
    case kModeFlowingTwinkle:
      prepare_flowing_twinkle();
      break;
    default:
      fill_ramp();
      break;
  }
}

void KeyboardEffects::restart_after_profile() {
  if (mode() == kModeFallingKeys) state_.colour_tab.fill(0);
  state_.counter = 0;
  quiet_until_ = 0;
}

void KeyboardEffects::set_custom_colours(std::span<const Rgb, kKeyCount> colours) {
  std::copy(colours.begin(), colours.end(), state_.custom.begin());
  quiet_until_ = 0;
}

bool KeyboardEffects::SetCustomKeyColour(size_t key, Rgb colour) {
  if (mode() != kModeCustom || key >= kKeyCount) return false;
  state_.custom[key] = colour;
  state_.frame[key] = make_led(colour, level());
  quiet_until_ = 0;
  return true;
}

void KeyboardEffects::OnKeyEvent(size_t key, uint8_t action) {
  if (key >= kKeyCount || (action != kKeyPressed && action != kKeyReleased)) return;
  quiet_until_ = 0;
  switch (mode()) {
    case kModeReactive:
      StartReactive(key, action);
      break;
    case kModeReactiveRipple:
      reactive_ripple(key, action);
      break;
    case kModeRipple:
    case kModeRowRipple:
      if (action == kKeyPressed) mark_key_press(key);
      break;
    default:
      break;
  }
}

void KeyboardEffects::StartReactive(size_t key, uint8_t action) {
  if (key >= kKeyCount) return;
  if (action == kKeyPressed) {
    state_.reactive[key] = kReactivePressed;
    state_.held[key] = true;
    light_key(key, 255, true);
  } else if (action == kKeyReleased) {
    state_.reactive[key] = kReactiveReleased;
    state_.held[key] = false;
  }
}

void KeyboardEffects::reactive_ripple(size_t key, uint8_t action) {
  const GridCell cell = KeyCells[key];
  auto spread_key = [&](const GlowSpread& s) {
    return cell.valid() ? grid_key(cell.column + s.columns, cell.row + s.rows) : kNoKey;
  };
  if (action == kKeyPressed) {
    state_.held[key] = true;
    state_.reactive[key] = kReactivePressed;
    state_.glow.glow[key] = 255;
    for (const GlowSpread& s : ReactiveSpread) {
      const uint8_t k = spread_key(s);
      if (k == kNoKey) continue;
      state_.glow.glow[k] = static_cast<uint8_t>(std::min(255, state_.glow.glow[k] + s.gain));
      state_.reactive[k] = kReactivePressed;
    }
    return;
  }
  state_.held[key] = false;
  // Cells that a key still held keeps glowing stay pressed.
  std::array<bool, kKeyCount> kept{};
  for (size_t h = 0; h < kKeyCount; ++h) {
    if (!state_.held[h]) continue;
    kept[h] = true;
    const GridCell hc = KeyCells[h];
    if (!hc.valid()) continue;
    for (const GlowSpread& s : ReactiveSpread) {
      const uint8_t k = grid_key(hc.column + s.columns, hc.row + s.rows);
      if (k != kNoKey) kept[k] = true;
    }
  }
  auto release = [&](uint8_t k) {
    if (k != kNoKey && !kept[k]) state_.reactive[k] = kReactiveReleased;
  };
  release(static_cast<uint8_t>(key));
  for (const GlowSpread& s : ReactiveSpread) release(spread_key(s));
}

}  // namespace qxr::lighting

// The keyboard's steady modes: waves over columns, rows, rings and the key order, column
// breathing, the static looks, the custom and fed colours, the base's effects and the
// lighting program.
#include "devices/lighting/effect_step.h"
#include "devices/lighting/keyboard_effects.h"
#include "devices/lighting/keyboard_layout.h"
#include "devices/lighting/shared_tables.h"

namespace qxr::lighting {

namespace {
// Wheel entries (or 96-curve entries) between neighbours of each wave.
constexpr unsigned kColumnWaveSpacing = 7;
constexpr unsigned kNarrowWaveSpacing = 2;
constexpr unsigned kKeyOrderSpacing = 5;
constexpr uint8_t kKeyOrderCounterStep = 2;
constexpr unsigned kRowWaveSpacing = 24;
constexpr unsigned kRingWaveSpacing = 7;
constexpr unsigned kBreathingColumnSpacing = 7;
// The static rings: wheel colours 12 entries apart from entry 120.
constexpr unsigned kStaticRingFirst = 120;
constexpr unsigned kStaticRingSpacing = 12;
constexpr uint8_t kBreathingLastPhase = kBreathLength - 1;

template <typename Cells>
void paint_cells(KeyFrame& frame, const Cells& cells, LedRecord led) {
  for (uint8_t key : cells)
    if (key < kKeyCount) frame[key] = led;
}
}  // namespace

void KeyboardEffects::advance_wave_counter(uint8_t step) {
  const auto modulus = static_cast<uint8_t>(info_.multi_color ? kWheelCycle : kBreath96Length);
  state_.counter = effect_step(info_.fx, modulus, state_.counter, step);
}

// Wheel colours at the level, or the profile colour breathing along the 96-entry curve.
LedRecord KeyboardEffects::wave_led(size_t position, unsigned spacing) const {
  const size_t offset = state_.counter + 1 + spacing * position;
  if (info_.multi_color) return make_led(wheel_colour(offset % kWheelCycle), level());
  return make_led(colour_of(info_), scale8(BreathCurve96[offset % kBreath96Length], level()));
}

void KeyboardEffects::step_column_wave(const StepContext&) {
  advance_wave_counter(1);
  for (size_t c = 0; c < kGridColumns; ++c) paint_cells(state_.frame, KeyGrid[c], wave_led(c, kColumnWaveSpacing));
}

void KeyboardEffects::step_narrow_column_wave(const StepContext&) {
  advance_wave_counter(1);
  for (size_t c = 0; c < kGridColumns; ++c) paint_cells(state_.frame, KeyGrid[c], wave_led(c, kNarrowWaveSpacing));
}

void KeyboardEffects::step_key_order_wave(const StepContext&) {
  advance_wave_counter(kKeyOrderCounterStep);
  for (size_t i = 0; i < KeyOrder.size(); ++i)
    if (KeyOrder[i] < kKeyCount) state_.frame[KeyOrder[i]] = wave_led(i, kKeyOrderSpacing);
}

void KeyboardEffects::step_row_wave(const StepContext&) {
  advance_wave_counter(1);
  for (size_t r = 0; r < kGridRows; ++r) {
    const LedRecord led = wave_led(r, kRowWaveSpacing);
    for (size_t c = 0; c < kGridColumns; ++c)
      if (KeyGrid[c][r] < kKeyCount) state_.frame[KeyGrid[c][r]] = led;
  }
}

void KeyboardEffects::step_ring_wave(const StepContext&) {
  advance_wave_counter(1);
  for (size_t ring = 0; ring < kRingCount; ++ring) paint_cells(state_.frame, RingGrid[ring], wave_led(ring, kRingWaveSpacing));
}

void KeyboardEffects::step_column_breathing(const StepContext&) {
  state_.counter = state_.counter >= kBreathingLastPhase ? 0 : state_.counter + 1;
  const uint8_t brightness = scale8(BreathCurve[state_.counter], level());
  for (size_t c = 0; c < kGridColumns; ++c) {
    const Rgb colour = info_.multi_color ? wheel_colour(kBreathingColumnSpacing * c) : colour_of(info_);
    paint_cells(state_.frame, KeyGrid[c], make_led(colour, brightness));
  }
}

void KeyboardEffects::step_static(const StepContext&) {
  if (!info_.multi_color) {
    state_.frame.fill(make_led(colour_of(info_), level()));
    return;
  }
  for (size_t ring = 0; ring < kRingCount; ++ring) {
    const Rgb colour = wheel_colour((kStaticRingFirst + kStaticRingSpacing * ring) % kWheelCycle);
    paint_cells(state_.frame, RingGrid[ring], make_led(colour, level()));
  }
}

void KeyboardEffects::step_colour_cycle(const StepContext&) {
  for (size_t key = 0; key < kKeyCount; ++key) {
    state_.colour_tab[key] = static_cast<uint8_t>((state_.colour_tab[key] + 1) % kWheelCycle);
    show_key(key, level());
  }
}

// The wheel colour the base's effects last reached; this mode leaves it where it is.
void KeyboardEffects::step_static_wheel(const StepContext&) {
  state_.frame.fill(make_led(wheel_colour(state_.base.phase), level()));
}

void KeyboardEffects::step_custom(const StepContext&) {
  for (size_t key = 0; key < kKeyCount; ++key) state_.frame[key] = make_led(state_.custom[key], level());
}

void KeyboardEffects::step_fed_colour(const StepContext& ctx) {
  const auto& fed = ctx.music.levels;
  state_.frame.fill(make_led({fed[0], fed[1], fed[2]}, level()));
}

void KeyboardEffects::step_spectrum(const StepContext&) { effect_spectrum(state_.frame, info_, state_.base); }

void KeyboardEffects::step_blink_cycle(const StepContext& ctx) {
  effect_blink_cycle(state_.frame, info_, state_.base, ctx.now_ms);
}

void KeyboardEffects::step_breathe_four(const StepContext&) { effect_breathe_four(state_.frame, info_, state_.base); }

void KeyboardEffects::step_blink_four(const StepContext& ctx) {
  effect_blink_four(state_.frame, info_, state_.base, ctx.now_ms);
}

void KeyboardEffects::step_off(const StepContext&) { effect_off(state_.frame); }

void KeyboardEffects::step_program(const StepContext& ctx) {
  player_.run(ctx.program, state_.frame, info_.speed, ctx.now_ms);
}

}  // namespace qxr::lighting

#include "devices/lighting/base_effects.h"

#include <algorithm>

#include "devices/lighting/effect_step.h"
#include "devices/lighting/shared_tables.h"

namespace qxr::lighting {

namespace {

// Toggles the blink when its period has passed; true when it did.
bool blink_due(const LightInfo& info, BaseEffectState& state, uint64_t now_ms) {
  // A clock that went backwards counts as a passed period rather than a stuck blink.
  const bool passed = now_ms < state.last_toggle_ms ||
                      now_ms - state.last_toggle_ms >= blink_period_ms(info.speed);
  if (!passed) return false;
  state.blink_on = !state.blink_on;
  state.last_toggle_ms = now_ms;
  return true;
}

void show_blink(std::span<LedRecord> leds, const LightInfo& info, bool on, Rgb colour) {
  fill_leds(leds, on ? make_led(colour, brightness_level(info.light)) : LedRecord{});
}

}  // namespace

void fill_leds(std::span<LedRecord> leds, LedRecord record) { std::fill(leds.begin(), leds.end(), record); }

void effect_breathe_cycle(std::span<LedRecord> leds, const LightInfo& info, BaseEffectState& state) {
  state.phase = effect_step(info.fx, kBreathLength, state.phase, 1);
  if (state.phase == 0) {
    state.colour_index += kBreathColourAdvance;
    if (state.colour_index > kWheelCycle) state.colour_index = 0;
  }
  const Rgb colour = info.multi_color ? wheel_colour(state.colour_index) : colour_of(info);
  fill_leds(leds, make_led(colour, scale8(BreathCurve[state.phase % kBreathLength],
                                          brightness_level(info.light))));
}

void effect_breathe_four(std::span<LedRecord> leds, const LightInfo& info, BaseEffectState& state) {
  state.phase = effect_step(info.fx, kBreathLength, state.phase, 1);
  if (state.phase == 0 && ++state.colour_index > kLastFourColour) state.colour_index = 0;
  const Rgb colour = FourColourTable[state.colour_index % FourColourTable.size()];
  fill_leds(leds, make_led(colour, scale8(BreathCurve[state.phase % kBreathLength],
                                          brightness_level(info.light))));
}

void effect_static(std::span<LedRecord> leds, const LightInfo& info) {
  fill_leds(leds, make_led(colour_of(info), brightness_level(info.light)));
}

void effect_spectrum(std::span<LedRecord> leds, const LightInfo& info, BaseEffectState& state) {
  state.phase = effect_step(info.fx, kWheelCycle, state.phase, 1);
  fill_leds(leds, make_led(wheel_colour(state.phase), brightness_level(info.light)));
}

void effect_blink_cycle(std::span<LedRecord> leds, const LightInfo& info, BaseEffectState& state,
                        uint64_t now_ms) {
  if (blink_due(info, state, now_ms)) {
    state.phase += kBlinkWheelAdvance;
    if (state.phase >= kWheelCycle) state.phase = 0;
  }
  show_blink(leds, info, state.blink_on,
             info.multi_color ? wheel_colour(state.phase) : colour_of(info));
}

void effect_blink_four(std::span<LedRecord> leds, const LightInfo& info, BaseEffectState& state,
                       uint64_t now_ms) {
  if (blink_due(info, state, now_ms) && ++state.phase > kLastFourColour) state.phase = 0;
  show_blink(leds, info, state.blink_on, FourColourTable[state.phase % FourColourTable.size()]);
}

void effect_off(std::span<LedRecord> leds) { fill_leds(leds, LedRecord{}); }

}  // namespace qxr::lighting

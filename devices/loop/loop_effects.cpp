#include "devices/loop/loop_effects.h"

#include <algorithm>

#include "devices/lighting/effect_step.h"
#include "devices/lighting/shared_tables.h"

namespace qxr::devices {

namespace {

using lighting::brightness_level;
using lighting::kWheelCycle;
using lighting::make_led;
using lighting::scale8;
using lighting::wheel_colour;

constexpr uint8_t kWaveLimit = static_cast<uint8_t>(kWheelCycle);
constexpr uint8_t kBreathWaveLimit = static_cast<uint8_t>(lighting::kBreath96Length);

Rgb group_colour(const LoopLightSettings& s, uint8_t counter, size_t group) {
  return s.multi_color ? wheel_colour((counter + kGroupWheelSpacing * group) % kWheelCycle) : s.colour;
}

void put(std::span<LedRecord> leds, uint8_t led, LedRecord record) {
  if (led != kNoGroupLed && led < leds.size()) leds[led] = record;
}

// Glow lit by the ring for the first `count` entries (the base's own rule lights keys 0-8).
void light_ring(lighting::KeyGlow& g, size_t count) {
  count = std::min({count, g.ring.size(), g.glow.size()});
  for (size_t i = 0; i < count; ++i)
    if (g.ring[i] != 0) g.glow[i] = 255;
}

}  // namespace

LoopEffect effect_of_mode(std::span<const LoopEffect> table, uint8_t mode) {
  return mode < table.size() ? table[mode] : LoopEffect::Program;
}

LoopLightSettings loop_settings_of(const LightInfo& l) {
  return {l.select_item, l.light, l.speed, l.fx, l.multi_color, {l.red, l.green, l.blue}};
}

LightInfo light_info_of(const LoopLightSettings& s) {
  LightInfo l;
  l.select_item = s.mode;
  l.light = s.light;
  l.speed = s.speed;
  l.fx = s.fx;
  l.multi_color = s.multi_color;
  l.red = s.colour.red;
  l.green = s.colour.green;
  l.blue = s.colour.blue;
  return l;
}

uint32_t loop_step_threshold(LoopEffect effect, uint8_t speed) {
  if (effect == LoopEffect::Program) return 1;
  return lighting::SpeedTable[lighting::speed_index(speed)];
}

void LoopEffectState::restart() {
  counter = 0;
  second_call = false;
  glow.clear_glow();
  glow.ring[0] = 1;
}

void step_wave(std::span<LedRecord> leds, const LoopLightSettings& s, LoopEffectState& state) {
  const uint8_t level = brightness_level(s.light);
  if (s.multi_color) {
    state.counter = lighting::effect_step(s.fx, kWaveLimit, state.counter, 1);
    for (size_t n = 0; n < leds.size(); ++n)
      leds[n] = make_led(wheel_colour((state.counter + 1 + kWaveLedSpacing * n) % kWheelCycle), level);
    return;
  }
  state.counter = lighting::effect_step(s.fx, kBreathWaveLimit, state.counter, 1);
  for (size_t n = 0; n < leds.size(); ++n) {
    const uint8_t curve = lighting::BreathCurve96[(state.counter + 1 + kWaveLedSpacing * n) % kBreathWaveLimit];
    leds[n] = make_led(s.colour, scale8(level, curve));
  }
}

void step_zones(std::span<LedRecord> leds, const LoopLightSettings& s, LoopEffectState& state) {
  state.counter = lighting::effect_step(s.fx, kWaveLimit, state.counter, 1);
  state.glow.light_ring_keys();
  state.glow.rotate_ring(s.fx);
  const uint8_t level = brightness_level(s.light);
  for (size_t zone = 0; zone < MouseZones.size(); ++zone) {
    state.glow.decay_key_glow(zone, s.mode);
    const LedRecord record = make_led(group_colour(s, state.counter, zone), scale8(level, state.glow.glow[zone]));
    for (uint8_t led : MouseZones[zone]) put(leds, led, record);
  }
}

void step_pairs(std::span<LedRecord> leds, const LoopLightSettings& s, LoopEffectState& state) {
  state.counter = lighting::effect_step(s.fx, kWaveLimit, state.counter, 1);
  if (state.second_call) {
    state.glow.light_ring_keys();
    // The pairs travel against the ring's usual sense: towards lower entries going forward.
    state.glow.rotate_ring(s.fx != 0 ? 0 : 1, kPairRingSpan);
  }
  state.second_call = !state.second_call;
  const uint8_t level = brightness_level(s.light);
  for (size_t pair = 0; pair < PadPairs.size(); ++pair) {
    state.glow.decay_key_glow(pair, s.mode);
    const LedRecord record = make_led(group_colour(s, state.counter, pair), scale8(level, state.glow.glow[pair]));
    for (uint8_t led : PadPairs[pair]) put(leds, led, record);
  }
}

void step_leds(std::span<LedRecord> leds, const LoopLightSettings& s, LoopEffectState& state) {
  state.counter = lighting::effect_step(s.fx, kWaveLimit, state.counter, 1);
  if (state.second_call) {
    light_ring(state.glow, leds.size());
    state.glow.rotate_ring(s.fx);
  }
  state.second_call = !state.second_call;
  const uint8_t level = brightness_level(s.light);
  const size_t count = std::min(leds.size(), state.glow.glow.size());
  for (size_t led = 0; led < count; ++led) {
    state.glow.decay_key_glow(led, s.mode);
    leds[led] = make_led(group_colour(s, state.counter, led), scale8(level, state.glow.glow[led]));
  }
}

}  // namespace qxr::devices

#pragma once
// The lighting of the kinds whose light threads count loops (mouse, mouse pad, headset): which
// step each lighting mode runs, the settings a step reads, and the steps of their own — the
// wave, the mouse's zones, the pad's pairs and single LEDs. Each step computes one frame.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "devices/lighting/key_glow.h"
#include "devices/lighting/led_types.h"

namespace qxr::devices {

using lighting::LedRecord;
using lighting::Rgb;

enum class LoopEffect : uint8_t {
  Wave,
  Spectrum,
  BreatheCycle,
  Static,
  BlinkCycle,
  Zones,
  BreatheFour,
  BlinkFour,
  Off,
  Leds,
  Pairs,
  Program,  // the lighting program player, one call per loop
};

// Mode index -> step. A mode beyond a table plays the lighting program.
inline constexpr std::array<LoopEffect, 9> kMouseModeTable = {
    LoopEffect::Wave,       LoopEffect::Spectrum, LoopEffect::BreatheCycle,
    LoopEffect::Static,     LoopEffect::BlinkCycle, LoopEffect::Zones,
    LoopEffect::BreatheFour, LoopEffect::BlinkFour, LoopEffect::Off};
inline constexpr std::array<LoopEffect, 9> kPadModeTable = {
    LoopEffect::Wave,   LoopEffect::Spectrum, LoopEffect::BreatheCycle,
    LoopEffect::Static, LoopEffect::BlinkCycle, LoopEffect::Program,
    LoopEffect::Leds,   LoopEffect::Pairs,    LoopEffect::Off};

LoopEffect effect_of_mode(std::span<const LoopEffect> table, uint8_t mode);

// What a step reads: the mode and look the device runs (speed 0 slow ... 4 fast).
struct LoopLightSettings {
  uint8_t mode = 0;
  uint8_t light = 0;
  uint8_t speed = 0;
  uint8_t fx = 0;
  uint8_t multi_color = 0;
  Rgb colour;
  bool operator==(const LoopLightSettings&) const = default;
};
LoopLightSettings loop_settings_of(const LightInfo& light);
LightInfo light_info_of(const LoopLightSettings& settings);

// Loops from one step to the next: the speed table for every mode, every loop for the program.
uint32_t loop_step_threshold(LoopEffect effect, uint8_t speed);

// The most LEDs a loop-counting device frames (the headset sends indices below this).
inline constexpr size_t kMaxLoopLeds = 126;

// LED groups lit together. 255 = no LED.
inline constexpr uint8_t kNoGroupLed = 255;
inline constexpr size_t kMouseZoneCount = 9;
inline constexpr std::array<std::array<uint8_t, 3>, kMouseZoneCount> MouseZones = {{
    {0, 18, 18},
    {1, 17, kNoGroupLed},
    {2, 16, kNoGroupLed},
    {3, 15, kNoGroupLed},
    {4, 14, kNoGroupLed},
    {5, 13, kNoGroupLed},
    {6, 12, kNoGroupLed},
    {7, 9, 11},
    {8, 9, 10},
}};
inline constexpr size_t kPadPairCount = 7;
inline constexpr std::array<std::array<uint8_t, 2>, kPadPairCount> PadPairs = {{
    {1, 14}, {2, 13}, {3, 12}, {4, 11}, {5, 10}, {6, 9}, {7, 8}}};

inline constexpr uint8_t kWaveLedSpacing = 7;     // wheel (or curve) entries between two LEDs
inline constexpr uint8_t kGroupWheelSpacing = 12;  // wheel entries between two zones, pairs, LEDs
inline constexpr size_t kPairRingSpan = 8;         // ring entries the pair effect rotates

// The counters the loop steps share: the wave and group counter, the glow of each zone, pair
// or LED with the ring pattern that lights them, and which call of the pair effect this is.
struct LoopEffectState {
  uint8_t counter = 0;
  bool second_call = false;
  lighting::KeyGlow glow;

  // Counters from the start, one lit ring entry travelling.
  void restart();
};

// Mouse StepWave / pad StepPadWave: with "MultiColor" LED n shows the wheel at counter + 1 +
// 7n, else the profile colour breathing through the 96-entry curve at that place.
void step_wave(std::span<LedRecord> leds, const LoopLightSettings& s, LoopEffectState& state);
// StepZones: the ring lights the mouse's zones, which fade on the mode's curve.
void step_zones(std::span<LedRecord> leds, const LoopLightSettings& s, LoopEffectState& state);
// StepPadPairs: the same over the pad's LED pairs, the ring moving every second call.
void step_pairs(std::span<LedRecord> leds, const LoopLightSettings& s, LoopEffectState& state);
// StepPadLeds: the same for every LED on its own.
void step_leds(std::span<LedRecord> leds, const LoopLightSettings& s, LoopEffectState& state);

}  // namespace qxr::devices

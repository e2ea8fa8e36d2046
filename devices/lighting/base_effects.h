#pragma once
// The host-side effects every device kind has: breathing through the wheel or the four
// colours, a fixed colour, the spectrum, blinking, and off. Each call computes one frame.
#include <cstdint>
#include <span>

#include "devices/lighting/led_types.h"

namespace qxr::lighting {

// The base's effect counters: phase, colour index, blink state and the last toggle time.
struct BaseEffectState {
  uint8_t phase = 0;
  uint8_t colour_index = 0;
  bool blink_on = false;
  uint64_t last_toggle_ms = 0;
};

inline constexpr uint8_t kBreathColourAdvance = 16;  // wheel entries per breath
inline constexpr uint8_t kLastFourColour = 3;
inline constexpr uint8_t kBlinkWheelAdvance = 16;

// "Fx" gives the direction, "MultiColor" picks the wheel (or the four colours) over the
// fixed colour, "Light" the brightness level and "Speed" the blink period.
void effect_breathe_cycle(std::span<LedRecord> leds, const LightInfo& info, BaseEffectState& state);
void effect_breathe_four(std::span<LedRecord> leds, const LightInfo& info, BaseEffectState& state);
void effect_static(std::span<LedRecord> leds, const LightInfo& info);
void effect_spectrum(std::span<LedRecord> leds, const LightInfo& info, BaseEffectState& state);
void effect_blink_cycle(std::span<LedRecord> leds, const LightInfo& info, BaseEffectState& state,
                        uint64_t now_ms);
void effect_blink_four(std::span<LedRecord> leds, const LightInfo& info, BaseEffectState& state,
                       uint64_t now_ms);
void effect_off(std::span<LedRecord> leds);

// Every LED the same record.
void fill_leds(std::span<LedRecord> leds, LedRecord record);

}  // namespace qxr::lighting

#pragma once
// Lighting tables shared by every device kind: the hue wheel, the four-colour table, the
// breathing and phase curves, brightness levels and the loop-counting speed table.
#include <array>
#include <cstddef>
#include <cstdint>

#include "devices/lighting/led_types.h"

namespace qxr::lighting {

inline constexpr size_t kWheelCycle = 192;  // one turn of the hue wheel
inline constexpr size_t kWheelSegment = 32;

// How a colour component rises and falls across one segment of the wheel.
inline constexpr std::array<uint8_t, kWheelSegment> kWheelRise = {
    1,  3,  5,  7,  10,  14,  18,  22,  26,  32,  38,  44,  50,  57,  65,  73,
    81, 89, 99, 109, 119, 129, 140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
inline constexpr std::array<uint8_t, kWheelSegment> kWheelFall = {
    248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124, 114, 104, 94, 85, 77,
    69,  61,  53,  47,  41,  35,  29,  24,  20,  16,  12,  8,   6,   4,  2,  0};

namespace detail {
constexpr std::array<Rgb, kWheelCycle + 1> make_colour_wheel() {
  std::array<Rgb, kWheelCycle + 1> wheel{};
  for (size_t i = 0; i < kWheelSegment; ++i) {
    const uint8_t up = kWheelRise[i];
    const uint8_t down = kWheelFall[i];
    wheel[0 * kWheelSegment + i] = {255, up, 0};    // red -> yellow
    wheel[1 * kWheelSegment + i] = {down, 255, 0};  // yellow -> green
    wheel[2 * kWheelSegment + i] = {0, 255, up};    // green -> cyan
    wheel[3 * kWheelSegment + i] = {0, down, 255};  // cyan -> blue
    wheel[4 * kWheelSegment + i] = {up, 0, 255};    // blue -> magenta
    wheel[5 * kWheelSegment + i] = {255, 0, down};  // magenta -> red
  }
  // The breathing colour index stops at 192 before it restarts; it shows the first hue.
  wheel[kWheelCycle] = wheel[0];
  return wheel;
}
}  // namespace detail

inline constexpr std::array<Rgb, kWheelCycle + 1> ColourWheel = detail::make_colour_wheel();

// Any index is safe: 0-192 as they are, larger ones wrapped onto the wheel.
constexpr Rgb wheel_colour(unsigned index) {
  return ColourWheel[index <= kWheelCycle ? index : index % kWheelCycle];
}

inline constexpr std::array<Rgb, 4> FourColourTable = {{
    {0, 255, 180},
    {0, 255, 0},
    {255, 255, 255},
    {255, 0, 0},
}};

inline constexpr size_t kBreathHalf = 64;
inline constexpr std::array<uint8_t, kBreathHalf> kBreathRise = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  12,  14,  16,  18,  20,
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};
// The single-colour waves breathe between 22 and 255 only.
inline constexpr size_t kBreath96Start = 16;
static_assert(kBreathRise[kBreath96Start] == 22);

namespace detail {
template <size_t N>
constexpr std::array<uint8_t, N> make_breath_curve(size_t first) {
  std::array<uint8_t, N> curve{};
  const size_t half = N / 2;
  for (size_t i = 0; i < half; ++i) {
    curve[i] = kBreathRise[first + i];
    curve[N - 1 - i] = kBreathRise[first + i];
  }
  return curve;
}
}  // namespace detail

inline constexpr size_t kBreathLength = 2 * kBreathHalf;                    // 128
inline constexpr size_t kBreath96Length = 2 * (kBreathHalf - kBreath96Start);  // 96
inline constexpr std::array<uint8_t, kBreathLength> BreathCurve =
    detail::make_breath_curve<kBreathLength>(0);
inline constexpr std::array<uint8_t, kBreath96Length> BreathCurve96 =
    detail::make_breath_curve<kBreath96Length>(kBreath96Start);

// A short flash followed by a long dark tail: the twinkle effects walk it per key.
inline constexpr size_t kPhaseCycle = 192;
inline constexpr std::array<uint8_t, kPhaseCycle> PhaseCurve = {
    0,   4,   8,   14,  22,  33,  45,  61,  77,  84,  100, 110, 120, 130, 140, 150, 158,
    166, 175, 182, 191, 204, 220, 234, 255, 248, 241, 234, 227, 220, 213, 206, 200, 194,
    188, 182, 176, 170, 164, 158, 152, 146, 140, 134, 129, 124, 119, 114, 109, 104, 99,
    94,  89,  85,  81,  77,  73,  69,  65,  61,  57,  53,  49,  45,  42,  39,  36,  33,
    30,  27,  24,  22,  20,  18,  16,  14,  12,  10,  9,   8,   7,   6,   5,   4,   3,
    2,   2,   1};  // the rest stays dark

inline constexpr size_t kLevelCount = 5;
inline constexpr std::array<uint8_t, kLevelCount> BrightnessLevels = {0, 80, 135, 195, 255};

// Loops (or ticks) between two steps by speed 0-4 for the loop-counting light threads;
// also the blink period in units of kBlinkUnitMs.
inline constexpr size_t kSpeedCount = 5;
inline constexpr std::array<uint8_t, kSpeedCount> SpeedTable = {28, 23, 18, 13, 7};
inline constexpr uint32_t kBlinkUnitMs = 200;

// Out-of-range values from a profile are taken as the highest level or speed.
constexpr size_t level_index(uint8_t light) { return light < kLevelCount ? light : kLevelCount - 1; }
constexpr size_t speed_index(uint8_t speed) { return speed < kSpeedCount ? speed : kSpeedCount - 1; }
constexpr uint8_t brightness_level(uint8_t light) { return BrightnessLevels[level_index(light)]; }
constexpr uint32_t blink_period_ms(uint8_t speed) { return kBlinkUnitMs * SpeedTable[speed_index(speed)]; }

// a * b / 256, the way levels and glows combine.
constexpr uint8_t scale8(uint8_t a, uint8_t b) { return static_cast<uint8_t>((a * b) >> 8); }

}  // namespace qxr::lighting

#pragma once
// The keyboard's lighting modes (the mode index of LightInfo) and how often each steps.
#include <array>
#include <cstddef>
#include <cstdint>

#include "devices/lighting/shared_tables.h"

namespace qxr::lighting {

inline constexpr uint8_t kModeProgram = 0;  // also 19 and every mode above kLastKeyboardMode
inline constexpr uint8_t kModeColumnWave = 1;
inline constexpr uint8_t kModeNarrowColumnWave = 2;
inline constexpr uint8_t kModeKeyOrderWave = 3;
inline constexpr uint8_t kModeSpectrum = 4;
inline constexpr uint8_t kModeColumnBreathing = 5;
inline constexpr uint8_t kModeStatic = 6;
inline constexpr uint8_t kModeReactive = 7;
inline constexpr uint8_t kModeRipple = 8;
inline constexpr uint8_t kModeRowRipple = 9;
inline constexpr uint8_t kModeSparkle = 10;
inline constexpr uint8_t kModeColourCycle = 11;
inline constexpr uint8_t kModeRowWave = 12;
inline constexpr uint8_t kModeBouncingBar = 13;
inline constexpr uint8_t kModeScan = 14;
inline constexpr uint8_t kModeTwinkle = 15;
inline constexpr uint8_t kModeSweepingBar = 16;
inline constexpr uint8_t kModeStaticWheel = 17;
inline constexpr uint8_t kModeRingWave = 18;
inline constexpr uint8_t kModeProgramToo = 19;
inline constexpr uint8_t kModeCustom = 20;
inline constexpr uint8_t kModeMusic = 21;
inline constexpr uint8_t kModeFedColour = 22;
inline constexpr uint8_t kModeBlinkCycle = 23;
inline constexpr uint8_t kModeFallingKeys = 24;
inline constexpr uint8_t kModeReactiveRipple = 25;
inline constexpr uint8_t kModeBreatheFour = 26;
inline constexpr uint8_t kModeBlinkFour = 27;
inline constexpr uint8_t kModeOff = 28;
inline constexpr uint8_t kModeFlowingTwinkle = 29;
inline constexpr uint8_t kModeFill = 30;
inline constexpr uint8_t kLastKeyboardMode = kModeFill;
inline constexpr size_t kKeyboardModeCount = kLastKeyboardMode + 1;

constexpr bool is_program_mode(uint8_t mode) {
  return mode == kModeProgram || mode == kModeProgramToo || mode > kLastKeyboardMode;
}

// Modes whose frame, once stepped, stays as it is until the settings change.
constexpr bool is_still_mode(uint8_t mode) {
  return mode == kModeStatic || mode == kModeStaticWheel || mode == kModeCustom || mode == kModeOff;
}

// The keyboard's light thread counts ticks of at least this many milliseconds.
inline constexpr uint32_t kKeyboardTickMs = 2;
// The other kinds count loops; each waits 1 ms on its stop event and sleeps 1 ms.
inline constexpr uint32_t kLoopMs = 2;

// Ticks between two steps for modes 1-24 (row = mode - 1) and speeds 0-4.
inline constexpr size_t kEffectTicksRows = 24;
using TicksRow = std::array<uint8_t, kSpeedCount>;
inline constexpr TicksRow kCommonTicks = {20, 12, 8, 5, 2};
inline constexpr TicksRow kKeyOrderTicks = {10, 8, 3, 2, 1};
inline constexpr TicksRow kBreathingTicks = {5, 4, 3, 2, 1};
inline constexpr TicksRow kFiveTicks = {5, 5, 5, 5, 5};
inline constexpr std::array<TicksRow, kEffectTicksRows> EffectTicks = {{
    kCommonTicks,     // 1
    kCommonTicks,     // 2
    kKeyOrderTicks,   // 3
    kCommonTicks,     // 4
    kBreathingTicks,  // 5
    kCommonTicks,     // 6
    kCommonTicks,     // 7
    kCommonTicks,     // 8
    kCommonTicks,     // 9
    kCommonTicks,     // 10
    kCommonTicks,     // 11
    kCommonTicks,     // 12
    kCommonTicks,     // 13
    kCommonTicks,     // 14
    kCommonTicks,     // 15
    kFiveTicks,       // 16
    kCommonTicks,     // 17
    kFiveTicks,       // 18
    kCommonTicks,     // 19
    kCommonTicks,     // 20
    kCommonTicks,     // 21
    kCommonTicks,     // 22
    kCommonTicks,     // 23
    kCommonTicks,     // 24
}};

// The music effect steps every second tick whatever its speed.
inline constexpr uint32_t kMusicStepTicks = 2;
// The lighting program counts its own ticks, so it runs on every tick.
inline constexpr uint32_t kProgramStepTicks = 1;

// The EffectTicks row each mode runs by. Modes 12, 26 and 27 borrow the rows of 1, 5 and
// 23. Modes 25, 28, 29 and 30 have no row of their own; they take the rows of their
// nearest relatives: 25 (mode 7's step) mode 7's, 28 (the base's off, like 4) mode 4's,
// 29 (the flowing twinkle) mode 15's and 30 (a decaying walk like the ripples) mode 8's,
// which all are 20, 12, 8, 5, 2.
inline constexpr uint8_t kNoTicksRow = 0xFF;
namespace detail {
constexpr std::array<uint8_t, kKeyboardModeCount> make_ticks_rows() {
  std::array<uint8_t, kKeyboardModeCount> rows{};
  rows[kModeProgram] = kNoTicksRow;
  for (uint8_t mode = 1; mode <= kEffectTicksRows; ++mode) rows[mode] = mode - 1;
  rows[kModeRowWave] = kModeColumnWave - 1;
  rows[kModeReactiveRipple] = kModeReactive - 1;
  rows[kModeBreatheFour] = kModeColumnBreathing - 1;
  rows[kModeBlinkFour] = kModeBlinkCycle - 1;
  rows[kModeOff] = kModeSpectrum - 1;
  rows[kModeFlowingTwinkle] = kModeTwinkle - 1;
  rows[kModeFill] = kModeRipple - 1;
  return rows;
}
}  // namespace detail
inline constexpr std::array<uint8_t, kKeyboardModeCount> EffectTicksRowOf = detail::make_ticks_rows();

// Counted ticks between two steps of a keyboard mode at a speed.
constexpr uint32_t keyboard_step_ticks(uint8_t mode, uint8_t speed) {
  if (mode == kModeMusic) return kMusicStepTicks;
  if (mode >= kKeyboardModeCount || EffectTicksRowOf[mode] == kNoTicksRow) return kProgramStepTicks;
  return EffectTicks[EffectTicksRowOf[mode]][speed_index(speed)];
}

// Counted loops between two steps on the mouse, mouse pad and headset.
constexpr uint32_t loop_step_counts(uint8_t speed) { return SpeedTable[speed_index(speed)]; }

}  // namespace qxr::lighting

#pragma once
// Colours and LED records shared by every device kind's lighting, and the light-thread names.
#include <array>
#include <cstddef>
#include <cstdint>

#include "profile/records.h"

namespace qxr::lighting {

using qxr::LightInfo;

// Logical keys of the keyboard are 0-169; the key tables mark an empty cell with 170.
inline constexpr size_t kKeyCount = 170;
inline constexpr uint8_t kNoKey = 170;
// The wider layout tables (WaveLayout, ScanRows) mark an empty cell with 255.
inline constexpr uint8_t kNoCell = 255;

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

// One LED of a frame: the colour and its brightness (0-255), kept apart until sent.
struct LedRecord {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t brightness = 0;
  friend constexpr bool operator==(const LedRecord&, const LedRecord&) = default;
};
static_assert(sizeof(LedRecord) == 4);

constexpr LedRecord make_led(Rgb colour, uint8_t brightness) {
  return {colour.red, colour.green, colour.blue, brightness};
}
constexpr Rgb colour_of(const LightInfo& info) { return {info.red, info.green, info.blue}; }

// The keyboard's colour frame: one record per logical key.
using KeyFrame = std::array<LedRecord, kKeyCount>;

// Reactive key events as the sync thread reports them.
inline constexpr uint8_t kKeyPressed = 1;
inline constexpr uint8_t kKeyReleased = 2;

// Written by the light threads when they end.
inline constexpr const char* kKeyboardLightExitLine = "KB灯光线程设定退出";
inline constexpr const char* kLoopLightExitLine = "MS灯光线程设定退出";

}  // namespace qxr::lighting

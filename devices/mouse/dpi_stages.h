#pragma once
// The rules of the DPI stage controls. A stage's value is held in slider units of the mouse's
// DPI step; the edit box shows and takes DPI. Values are kept within what the mouse announced
// (its slider maximum and smallest DPI), and the last active stage cannot be switched off.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "profile/records.h"

namespace qxr::devices {

inline constexpr size_t kInfoDpiStep = 11;       // information byte: DPI per slider unit
inline constexpr size_t kInfoDpiSliderMax = 12;  // 16-bit little-endian: the slider maximum
inline constexpr size_t kInfoDpiMin = 14;        // 16-bit little-endian: the smallest DPI

inline constexpr size_t kMouseStageCount = 5;

struct DpiLimits {
  uint16_t step = 1;        // never 0
  uint16_t slider_max = 0;  // 0: not known yet (no upper bound is applied)
  uint16_t min = 0;
  bool operator==(const DpiLimits&) const = default;
};

// From the 34-byte information block. A step of 0 counts as 1.
DpiLimits dpi_limits_from_info(std::span<const uint8_t> info);

// The edit box's text as DPI: a decimal number (leading blanks allowed, anything after the
// digits ignored); empty or unreadable text counts as 0; a value below the minimum becomes the
// minimum.
uint32_t dpi_edit_value(std::string_view text, const DpiLimits& limits);
// A typed DPI as slider units: rounded down, kept within the limits.
uint16_t dpi_raw_for(uint32_t dpi, const DpiLimits& limits);
// A slider value kept within the limits: at least the units of the minimum DPI (rounded up,
// so the stage never goes below it), at most the slider maximum.
uint16_t clamp_dpi_raw(int raw, const DpiLimits& limits);
// What the edit box shows for a slider value: raw x step in decimal.
std::string dpi_edit_text(uint16_t raw, const DpiLimits& limits);

size_t active_stage_count(std::span<const DpiStage> stages);
// A stage may be switched off unless it is the last active one.
bool may_switch_off(std::span<const DpiStage> stages, size_t stage);
// Which enable checks the user may click: all, except that of the only active stage.
std::array<bool, kMouseStageCount> clickable_checks(std::span<const DpiStage> stages);

}  // namespace qxr::devices

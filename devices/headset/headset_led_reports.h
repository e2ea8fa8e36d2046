#pragma once
// The headset's LED colours travel in the chip's own 17-byte output reports, not through the
// command channel: report id 0xFF, a side (0x22 or 0x44), a colour part (red, green or blue of
// LEDs 0-6 or of LEDs 7-12), 0, then the 7 (or 6) component values, zeros to the end. Twelve
// reports carry a frame: every part for both sides, in a fixed order.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "devices/lighting/led_types.h"

namespace qxr::devices {

inline constexpr size_t kHeadsetLedReportSize = 17;
inline constexpr uint8_t kHeadsetLedReportId = 0xFF;
inline constexpr uint8_t kHeadsetSideA = 0x22;
inline constexpr uint8_t kHeadsetSideB = 0x44;
inline constexpr uint8_t kPartRedLow = 0xAA;     // red of LEDs 0-6
inline constexpr uint8_t kPartRedHigh = 0xAD;    // red of LEDs 7-12
inline constexpr uint8_t kPartGreenLow = 0xAB;
inline constexpr uint8_t kPartGreenHigh = 0xAE;
inline constexpr uint8_t kPartBlueLow = 0xAC;
inline constexpr uint8_t kPartBlueHigh = 0xAF;
inline constexpr size_t kHeadsetLedCount = 13;
inline constexpr size_t kLedsInLowPart = 7;
inline constexpr size_t kLedReportFirstValue = 4;
// The chip takes no component above this.
inline constexpr uint8_t kHeadsetComponentMax = 247;
inline constexpr size_t kHeadsetReportsPerFrame = 12;

using HeadsetLedReport = std::array<uint8_t, kHeadsetLedReportSize>;

struct HeadsetReportSlot {
  uint8_t side;
  uint8_t part;
};
inline constexpr std::array<HeadsetReportSlot, kHeadsetReportsPerFrame> kHeadsetReportOrder = {{
    {kHeadsetSideA, kPartRedLow},   {kHeadsetSideA, kPartRedHigh},   {kHeadsetSideB, kPartRedLow},
    {kHeadsetSideB, kPartRedHigh},  {kHeadsetSideA, kPartGreenLow},  {kHeadsetSideA, kPartGreenHigh},
    {kHeadsetSideB, kPartGreenLow}, {kHeadsetSideB, kPartGreenHigh}, {kHeadsetSideA, kPartBlueLow},
    {kHeadsetSideA, kPartBlueHigh}, {kHeadsetSideB, kPartBlueLow},   {kHeadsetSideB, kPartBlueHigh},
}};

// The twelve reports of a frame, in sending order. Each component is (component x brightness)
// >> 8, capped at 247; LEDs beyond 12 are not carried.
std::array<HeadsetLedReport, kHeadsetReportsPerFrame> build_headset_led_reports(
    std::span<const lighting::LedRecord> frame);

}  // namespace qxr::devices

#include "devices/headset/headset_led_reports.h"

#include <algorithm>

namespace qxr::devices {

namespace {

enum Component : size_t { kRed, kGreen, kBlue, kComponents };

size_t component_of(uint8_t part) {
  switch (part) {
    case kPartRedLow:
    case kPartRedHigh: return kRed;
    case kPartGreenLow:
    case kPartGreenHigh: return kGreen;
    default: return kBlue;
  }
}

bool is_high_part(uint8_t part) { return part == kPartRedHigh || part == kPartGreenHigh || part == kPartBlueHigh; }

uint8_t scaled(uint8_t component, uint8_t brightness) {
  return static_cast<uint8_t>(std::min<unsigned>((component * brightness) >> 8, kHeadsetComponentMax));
}

}  // namespace

std::array<HeadsetLedReport, kHeadsetReportsPerFrame> build_headset_led_reports(
    std::span<const lighting::LedRecord> frame) {
  std::array<std::array<uint8_t, kHeadsetLedCount>, kComponents> values{};
  const size_t leds = std::min(frame.size(), kHeadsetLedCount);
  for (size_t i = 0; i < leds; ++i) {
    const lighting::LedRecord& r = frame[i];
    values[kRed][i] = scaled(r.red, r.brightness);
    values[kGreen][i] = scaled(r.green, r.brightness);
    values[kBlue][i] = scaled(r.blue, r.brightness);
  }
  std::array<HeadsetLedReport, kHeadsetReportsPerFrame> reports{};
  for (size_t n = 0; n < reports.size(); ++n) {
    const HeadsetReportSlot slot = kHeadsetReportOrder[n];
    HeadsetLedReport& report = reports[n];
    report[0] = kHeadsetLedReportId;
    report[1] = slot.side;
    report[2] = slot.part;
    const size_t first = is_high_part(slot.part) ? kLedsInLowPart : 0;
    const size_t last = is_high_part(slot.part) ? kHeadsetLedCount : kLedsInLowPart;
    const auto& component = values[component_of(slot.part)];
    std::copy(component.begin() + first, component.begin() + last, report.begin() + kLedReportFirstValue);
  }
  return reports;
}

}  // namespace qxr::devices

#pragma once
// Report descriptors of the four emulated devices. The keyboard, mouse and mouse pad carry four
// top-level collections on one interface (the consumer-control collection 3 and the vendor
// collection 4 are the ones the program uses); the headset carries one consumer collection
// with everything on it.
#include <cstdint>
#include <vector>

namespace qxr::emu {

// Input report of the consumer-control collection: two 16-bit usage slots, 0 = empty.
inline constexpr uint8_t kConsumerEventReportId = 3;
inline constexpr int kConsumerEventSlots = 2;
inline constexpr uint16_t kConsumerEventUsageMax = 0x0FFF;
// 64-byte command reports (report id included), both directions.
inline constexpr uint8_t kCommandReportId = 4;
inline constexpr int kCommandReportBytes = 64;
// The headset's LED output report: report id 0xFF plus 16 bytes.
inline constexpr uint8_t kHeadsetLedReportId = 0xFF;
inline constexpr int kHeadsetLedReportBytes = 17;
// Collection numbers ("&colNN") of the multi-collection devices.
inline constexpr int kConsumerCollection = 3;
inline constexpr int kVendorCollection = 4;

std::vector<uint8_t> keyboard_report_descriptor();
std::vector<uint8_t> mouse_report_descriptor();
std::vector<uint8_t> pad_report_descriptor();
std::vector<uint8_t> headset_report_descriptor();

}  // namespace qxr::emu

// Device events as input reports the program's descriptor parser can take apart.
#include <gtest/gtest.h>

#include "emulator/device_descriptors.h"
#include "emulator/event_report.h"
#include "emulator/report_descriptors.h"

namespace qxr::emu {
namespace {

uint16_t first_slot(const std::vector<uint8_t>& report) {
  return static_cast<uint16_t>(report[1] | (report[2] << 8));
}

TEST(EventEncoder, EveryDeviceCarriesItsEventsInTheConsumerArray) {
  for (DeviceType type : kAllDeviceTypes) {
    EventEncoder encoder;
    ASSERT_TRUE(encoder.init(device_report_descriptor(type), kConsumerPage, kConsumerControl,
                             kCommandReportId))
        << device_type_name(type);
    EXPECT_EQ(encoder.report_id(), kConsumerEventReportId);
    // Report id plus two 16-bit usage slots.
    EXPECT_EQ(encoder.report_size(), 1u + 2u * kConsumerEventSlots);
    for (uint16_t code : {kEventSettingsChanged, kEventSettingsChangedAlt, uint16_t(0x0500 + 9),
                          uint16_t(0x0600 + 125)}) {
      auto report = encoder.encode(code);
      ASSERT_TRUE(report.has_value()) << code;
      EXPECT_EQ((*report)[0], kConsumerEventReportId);
      EXPECT_EQ(first_slot(*report), code);
      EXPECT_EQ((*report)[3], 0);  // second slot empty
      EXPECT_EQ((*report)[4], 0);
    }
    EXPECT_FALSE(encoder.encode(kConsumerEventUsageMax + 1).has_value());
  }
}

// A descriptor of another shape: an 8-bit array whose logical values start at 1, after a
// variable field, on a device without report ids.
TEST(EventEncoder, FollowsBitOffsetsLogicalMinimumAndUsageLists) {
  const std::vector<uint8_t> descriptor = {
      0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01,  // Consumer Control, Application
      0x09, 0xE9, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x04, 0x81, 0x02,  // 4 bits variable
      0x95, 0x04, 0x81, 0x01,                                                  // 4 bits padding
      0x19, 0x10, 0x29, 0x20, 0x15, 0x01, 0x25, 0x11, 0x75, 0x08, 0x95, 0x01,
      0x81, 0x00,  // 8-bit array: usages 0x10..0x20 as logical 1..17
      0xC0};
  EventEncoder encoder;
  ASSERT_TRUE(encoder.init(descriptor));
  EXPECT_EQ(encoder.report_size(), 2u);  // no id byte
  auto report = encoder.encode(0x12);
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(*report, (std::vector<uint8_t>{0x00, 0x03}));
  EXPECT_FALSE(encoder.encode(0x21).has_value());
  EXPECT_FALSE(encoder.encode(0x0F).has_value());

  const std::vector<uint8_t> listed = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x07,
                                       0x09, 0x30, 0x09, 0x40, 0x15, 0x00, 0x25, 0x01,
                                       0x75, 0x08, 0x95, 0x01, 0x81, 0x00, 0xC0};
  ASSERT_TRUE(encoder.init(listed));
  EXPECT_EQ(*encoder.encode(0x40), (std::vector<uint8_t>{0x07, 0x01}));
  EXPECT_FALSE(encoder.encode(0x35).has_value());
}

TEST(EventEncoder, RefusesDescriptorsWithoutAConsumerArray) {
  EventEncoder encoder;
  const std::vector<uint8_t> vendor_only = {0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, 0x04,
                                            0x09, 0x01, 0x75, 0x08, 0x95, 0x3F, 0x81, 0x02, 0xC0};
  EXPECT_FALSE(encoder.init(vendor_only));
  EXPECT_FALSE(encoder.encode(kEventSettingsChanged).has_value());
  const std::vector<uint8_t> truncated = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x26, 0xFF};
  EXPECT_FALSE(encoder.init(truncated));
}

}  // namespace
}  // namespace qxr::emu

#include <gtest/gtest.h>

#include <algorithm>

#include "emulator/report_descriptors.h"
#include "hid/hid_device.h"

namespace qxr::hid {
namespace {

// Input data records of one collection, as an opened HidDevice builds them.
struct Collection {
  CollectionCaps caps;
  std::vector<HidData> data;
};

Collection load(const std::vector<uint8_t>& descriptor, size_t index) {
  Collection c;
  ReportDescriptor d;
  EXPECT_TRUE(d.parse(descriptor));
  EXPECT_TRUE(build_collection_caps(d, index, &c.caps));
  c.data = build_input_data(c.caps);
  // Junk that a shorter list must not show after unpacking.
  for (auto& r : c.data) std::fill(r.usages.begin(), r.usages.end(), 0xEEEE);
  return c;
}

TEST(Unpack, ConsumerEventGivesTheEventCodeFirstAndEndsWithZero) {
  Collection c = load(emu::keyboard_report_descriptor(), 2);
  ASSERT_EQ(c.data.size(), 1u);
  const std::vector<uint8_t> report = {3, 0x01, 0x04, 0x00, 0x00};
  ASSERT_TRUE(unpack_with_caps(c.caps, report.data(), report.size(), c.data));
  EXPECT_TRUE(c.data[0].data_set);
  EXPECT_EQ(c.data[0].status, kStatusSuccess);
  EXPECT_EQ(c.data[0].usages, (std::vector<uint16_t>{0x0401, 0}));

  const std::vector<uint8_t> two = {3, 0x05, 0x05, 0x05, 0x06};
  ASSERT_TRUE(unpack_with_caps(c.caps, two.data(), two.size(), c.data));
  EXPECT_EQ(c.data[0].usages, (std::vector<uint16_t>{0x0505, 0x0605}));
}

TEST(Unpack, ReportOfAnotherIdLeavesRecordsUntouched) {
  Collection c = load(emu::keyboard_report_descriptor(), 2);
  const std::vector<uint8_t> report = {4, 1, 2, 3, 4};
  ASSERT_TRUE(unpack_with_caps(c.caps, report.data(), report.size(), c.data));
  EXPECT_FALSE(c.data[0].data_set);
  EXPECT_EQ(c.data[0].usages[0], 0xEEEE);
}

// Two bit fields on the button page in one report: usages 1-4 and 0x20-0x23.
const std::vector<uint8_t> kTwoRanges = {
    0x05, 0x09, 0x09, 0x00, 0xA1, 0x01, 0x85, 0x07, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01,
    0x95, 0x04, 0x19, 0x01, 0x29, 0x04, 0x81, 0x02, 0x19, 0x20, 0x29, 0x23, 0x81, 0x02, 0xC0};

TEST(Unpack, ButtonUsagesOutsideTheRecordsRangeAreDropped) {
  Collection c = load(kTwoRanges, 0);
  ASSERT_EQ(c.data.size(), 2u);
  EXPECT_EQ(c.data[0].max_usage_length, 8u);
  // bits: usage 1 and 3 on, 0x21 and 0x22 on
  const std::vector<uint8_t> report = {7, 0b0110'0101};
  ASSERT_TRUE(unpack_with_caps(c.caps, report.data(), report.size(), c.data));
  EXPECT_EQ(c.data[0].usages, (std::vector<uint16_t>{1, 3, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(c.data[1].usages, (std::vector<uint16_t>{0x21, 0x22, 0, 0, 0, 0, 0, 0}));

  const std::vector<uint8_t> none = {7, 0};
  ASSERT_TRUE(unpack_with_caps(c.caps, none.data(), none.size(), c.data));
  EXPECT_EQ(c.data[0].usages[0], 0);
  EXPECT_EQ(c.data[1].usages[0], 0);
}

TEST(Unpack, ArrayValuesOutsideTheLogicalRangeMeanNoKey) {
  // Array, logical 1..3, usages 0x10..0x12, two slots of 8 bits.
  const std::vector<uint8_t> desc = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x02, 0x15, 0x01,
                                     0x25, 0x03, 0x19, 0x10, 0x29, 0x12, 0x75, 0x08, 0x95, 0x02,
                                     0x81, 0x00, 0xC0};
  Collection c = load(desc, 0);
  const std::vector<uint8_t> report = {2, 0x03, 0x09};
  ASSERT_TRUE(unpack_with_caps(c.caps, report.data(), report.size(), c.data));
  EXPECT_EQ(c.data[0].usages, (std::vector<uint16_t>{0x12, 0}));
}

TEST(Unpack, ValuesGetRawAndScaledIncludingNegativeOnes) {
  Collection c = load(emu::mouse_report_descriptor(), 0);
  ASSERT_EQ(c.data.size(), 4u);  // buttons, X, Y, wheel
  // buttons 1 and 3, X = -5, Y = 300, wheel = -1
  const std::vector<uint8_t> report = {1, 0b101, 0xFB, 0xFF, 0x2C, 0x01, 0xFF};
  ASSERT_TRUE(unpack_with_caps(c.caps, report.data(), report.size(), c.data));
  EXPECT_EQ(c.data[0].usages, (std::vector<uint16_t>{1, 3, 0, 0, 0}));
  EXPECT_EQ(c.data[1].usage, 0x30);
  EXPECT_EQ(c.data[1].raw_value, 0xFFFBu);
  EXPECT_EQ(c.data[1].scaled_value, -5);
  EXPECT_EQ(c.data[2].raw_value, 300u);
  EXPECT_EQ(c.data[2].scaled_value, 300);
  EXPECT_EQ(c.data[3].scaled_value, -1);
  for (const auto& d : c.data) EXPECT_TRUE(d.data_set);
}

TEST(Unpack, ScaledValueUsesThePhysicalExtent) {
  // One byte, logical 0..255, physical 0..1000.
  const std::vector<uint8_t> desc = {0x05, 0x01, 0x09, 0x00, 0xA1, 0x01, 0x85, 0x01, 0x09, 0x30,
                                     0x15, 0x00, 0x26, 0xFF, 0x00, 0x35, 0x00, 0x46, 0xE8, 0x03,
                                     0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0};
  Collection c = load(desc, 0);
  ASSERT_EQ(c.data.size(), 1u);
  std::vector<uint8_t> report = {1, 255};
  ASSERT_TRUE(unpack_with_caps(c.caps, report.data(), report.size(), c.data));
  EXPECT_EQ(c.data[0].scaled_value, 1000);
  report[1] = 51;
  ASSERT_TRUE(unpack_with_caps(c.caps, report.data(), report.size(), c.data));
  EXPECT_EQ(c.data[0].raw_value, 51u);
  EXPECT_EQ(c.data[0].scaled_value, 200);
}

TEST(Unpack, ShortReportFailsWithoutReadingPastItsEnd) {
  Collection c = load(emu::mouse_report_descriptor(), 0);
  const std::vector<uint8_t> report = {1, 0b1, 0xFB};  // cut inside X
  EXPECT_FALSE(unpack_with_caps(c.caps, report.data(), report.size(), c.data));
  EXPECT_EQ(c.data[0].status, kStatusInvalidReportLength);  // the button record ran first
  EXPECT_EQ(c.data[0].usages[0], 0);
  EXPECT_EQ(c.data[1].status, kStatusInvalidReportLength);
  EXPECT_FALSE(c.data[2].data_set);  // unpack stopped at the first value
}

}  // namespace
}  // namespace qxr::hid

#include "hid/report_descriptor.h"

#include <gtest/gtest.h>

#include "emulator/report_descriptors.h"
#include "hid/hid_caps.h"

namespace qxr::hid {
namespace {

struct ExpectedCollection {
  uint16_t usage_page, usage;
  std::vector<uint8_t> report_ids;
  uint16_t input_length, output_length, feature_length;
};

void expect_collections(const std::vector<uint8_t>& bytes,
                        const std::vector<ExpectedCollection>& expected) {
  ReportDescriptor d;
  ASSERT_TRUE(d.parse(bytes));
  EXPECT_TRUE(d.uses_report_ids());
  ASSERT_EQ(d.collections().size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    const auto& c = d.collections()[i];
    EXPECT_EQ(c.usage_page, expected[i].usage_page);
    EXPECT_EQ(c.usage, expected[i].usage);
    EXPECT_EQ(c.report_ids, expected[i].report_ids);
    EXPECT_EQ(d.report_byte_length(i, ReportType::Input), expected[i].input_length);
    EXPECT_EQ(d.report_byte_length(i, ReportType::Output), expected[i].output_length);
    EXPECT_EQ(d.report_byte_length(i, ReportType::Feature), expected[i].feature_length);
  }
}

TEST(EmulatedDescriptors, KeyboardHasFourCollectionsWithConsumerThreeAndVendorFour) {
  expect_collections(emu::keyboard_report_descriptor(),
                     {{0x01, 0x06, {1}, 9, 2, 0},
                      {0x01, 0x80, {2}, 2, 0, 0},
                      {0x0C, 0x01, {3}, 5, 0, 0},
                      {0xFF1C, 0x92, {4}, 64, 64, 0}});
}

TEST(EmulatedDescriptors, MouseAndPadHaveTheSameShape) {
  expect_collections(emu::mouse_report_descriptor(),
                     {{0x01, 0x02, {1}, 7, 0, 0},
                      {0x01, 0x80, {2}, 2, 0, 0},
                      {0x0C, 0x01, {3}, 5, 0, 0},
                      {0xFF1C, 0x92, {4}, 64, 64, 0}});
  expect_collections(emu::pad_report_descriptor(),
                     {{0x01, 0x06, {1}, 9, 2, 0},
                      {0x01, 0x80, {2}, 2, 0, 0},
                      {0x0C, 0x01, {3}, 5, 0, 0},
                      {0xFF1C, 0x92, {4}, 64, 64, 0}});
}

TEST(EmulatedDescriptors, HeadsetCarriesEverythingOnOneConsumerCollection) {
  expect_collections(emu::headset_report_descriptor(), {{0x0C, 0x01, {1, 3, 4, 0xFF}, 64, 64, 0}});
  ReportDescriptor d;
  ASSERT_TRUE(d.parse(emu::headset_report_descriptor()));
  EXPECT_EQ(d.report_ids(0, ReportType::Output), (std::vector<uint8_t>{4, 0xFF}));
  EXPECT_EQ(d.report_bits(ReportType::Output, emu::kHeadsetLedReportId) / 8 + 1,
            static_cast<uint32_t>(emu::kHeadsetLedReportBytes));
  EXPECT_EQ(d.report_bits(ReportType::Output, emu::kCommandReportId) / 8 + 1,
            static_cast<uint32_t>(emu::kCommandReportBytes));
}

TEST(EmulatedDescriptors, CapabilitiesOfTheCollectionsTheProgramUses) {
  ReportDescriptor d;
  ASSERT_TRUE(d.parse(emu::keyboard_report_descriptor()));
  CollectionCaps consumer, vendor;
  ASSERT_TRUE(build_collection_caps(d, 2, &consumer));
  ASSERT_TRUE(build_collection_caps(d, 3, &vendor));
  EXPECT_FALSE(build_collection_caps(d, 4, &vendor));
  ASSERT_TRUE(build_collection_caps(d, 3, &vendor));

  const auto& buttons = consumer.buttons[0];
  ASSERT_EQ(buttons.size(), 1u);
  EXPECT_TRUE(buttons[0].is_array);
  EXPECT_TRUE(buttons[0].is_range);
  EXPECT_EQ(buttons[0].usage_page, 0x0C);
  EXPECT_EQ(buttons[0].usage_min, 0);
  EXPECT_EQ(buttons[0].usage_max, emu::kConsumerEventUsageMax);
  EXPECT_EQ(buttons[0].report_id, emu::kConsumerEventReportId);
  EXPECT_TRUE(consumer.values[0].empty());
  EXPECT_EQ(max_usage_list_length(consumer, ReportType::Input, 0x0C),
            static_cast<uint32_t>(emu::kConsumerEventSlots));

  EXPECT_TRUE(vendor.buttons[0].empty());
  ASSERT_EQ(vendor.values[0].size(), 1u);
  ASSERT_EQ(vendor.values[1].size(), 1u);
  EXPECT_EQ(vendor.values[0][0].usage_page, 0xFF1C);
  EXPECT_EQ(vendor.values[0][0].report_count, 63u);
  EXPECT_EQ(vendor.report_byte_length[0], 64);
  EXPECT_EQ(vendor.report_byte_length[1], 64);
}

TEST(EmulatedDescriptors, MouseValueListAndPaddingBecomeSeparateCaps) {
  ReportDescriptor d;
  ASSERT_TRUE(d.parse(emu::mouse_report_descriptor()));
  CollectionCaps mouse;
  ASSERT_TRUE(build_collection_caps(d, 0, &mouse));
  ASSERT_EQ(mouse.buttons[0].size(), 1u);  // the constant padding is no capability
  EXPECT_EQ(mouse.buttons[0][0].usage_page, 0x09);
  EXPECT_FALSE(mouse.buttons[0][0].is_array);
  ASSERT_EQ(mouse.values[0].size(), 3u);
  EXPECT_EQ(mouse.values[0][0].usage_min, 0x30);
  EXPECT_EQ(mouse.values[0][1].usage_min, 0x31);
  EXPECT_EQ(mouse.values[0][1].bit_offset, 8u + 16u);
  EXPECT_EQ(mouse.values[0][2].usage_min, 0x38);
  EXPECT_EQ(mouse.values[0][0].logical_min, -32767);
  EXPECT_EQ(mouse.values[0][2].logical_min, -127);
}

TEST(ReportDescriptorParser, UnnumberedDescriptorCountsTheZeroByte) {
  const std::vector<uint8_t> bytes = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x09, 0x02,
                                      0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x20,
                                      0x81, 0x02, 0xC0};
  ReportDescriptor d;
  ASSERT_TRUE(d.parse(bytes));
  EXPECT_FALSE(d.uses_report_ids());
  EXPECT_EQ(d.collections()[0].report_ids, std::vector<uint8_t>{0});
  EXPECT_EQ(d.report_byte_length(0, ReportType::Input), 33);
  // Logical Maximum 00ff with a 2-byte item: 255, not -1.
  EXPECT_EQ(d.fields()[0].logical_max, 255);
}

TEST(ReportDescriptorParser, SingleByteMaximumIsUnsignedUnlessTheMinimumIsNegative) {
  ReportDescriptor d;
  // Logical Minimum 0, Logical Maximum ff (one byte) → 255; Logical Minimum -1 → max stays -1.
  ASSERT_TRUE(d.parse({0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x30, 0x15, 0x00, 0x25, 0xFF,
                       0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0x09, 0x31, 0x15, 0xFF, 0x25, 0xFF,
                       0x81, 0x02, 0xC0}));
  ASSERT_EQ(d.fields().size(), 2u);
  EXPECT_EQ(d.fields()[0].logical_max, 255);
  EXPECT_EQ(d.fields()[1].logical_min, -1);
  EXPECT_EQ(d.fields()[1].logical_max, -1);
}

TEST(ReportDescriptorParser, RejectsMalformedDescriptors) {
  ReportDescriptor d;
  EXPECT_FALSE(d.parse({0x05}));                                    // truncated item
  EXPECT_FALSE(d.parse({0x05, 0x01, 0xC0}));                        // end without collection
  EXPECT_FALSE(d.parse({0x05, 0x01, 0x09, 0x02, 0xA1, 0x01}));      // unclosed collection
  EXPECT_FALSE(d.parse({0xA1, 0x01, 0x85, 0x00, 0xC0}));            // report id 0
  EXPECT_FALSE(d.parse({0xB4}));                                    // pop without push
  EXPECT_FALSE(d.parse({0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02,  // unnumbered then
                        0x85, 0x02, 0x81, 0x02, 0xC0}));                 // numbered report
  EXPECT_FALSE(d.parse({0xA1, 0x01, 0x75, 0x40, 0x95, 0x01, 0x81, 0x02, 0xC0}));  // 64-bit field
  EXPECT_TRUE(d.empty());
  // Long items are skipped, push/pop restores the globals.
  EXPECT_TRUE(d.parse({0xFE, 0x01, 0x10, 0xAA, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x02, 0xA4, 0x95,
                       0x07, 0xB4, 0x81, 0x02, 0xC0}));
  EXPECT_EQ(d.report_byte_length(0, ReportType::Input), 3);
}

TEST(ReportDescriptorParser, ParsesHexText) {
  std::vector<uint8_t> out;
  EXPECT_TRUE(parse_hex_bytes("05 0c 09 01\na1 01 C0", &out));
  EXPECT_EQ(out, (std::vector<uint8_t>{0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0xC0}));
  EXPECT_TRUE(parse_hex_bytes("", &out));
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(parse_hex_bytes("05 0g", &out));
  EXPECT_FALSE(parse_hex_bytes("050c", &out));
}

}  // namespace
}  // namespace qxr::hid

#include <gtest/gtest.h>

#include <array>

#include "devices/audio/audio_conf.h"
#include "devices/audio/eq_presets.h"
#include "devices/audio/property_text.h"
#include "devices/audio/volume_scale.h"

using namespace qxr::audio;

TEST(PropertyText, DecimalTextFromTheChip) {
  EXPECT_DOUBLE_EQ(*parse_decimal("-6.500000"), -6.5);
  EXPECT_DOUBLE_EQ(*parse_decimal(" 0.75\n"), 0.75);
  EXPECT_DOUBLE_EQ(*parse_decimal("+3"), 3.0);
  EXPECT_DOUBLE_EQ(*parse_decimal("1e-2"), 0.01);
  EXPECT_FALSE(parse_decimal(""));
  EXPECT_FALSE(parse_decimal("   "));
  EXPECT_FALSE(parse_decimal("abc"));
  EXPECT_FALSE(parse_decimal("1.5dB"));
  EXPECT_FALSE(parse_decimal("nan"));
  EXPECT_FALSE(parse_decimal("inf"));
}

TEST(PropertyText, BufferWithoutTerminatorIsReadOnlyToItsEnd) {
  std::array<uint8_t, 4> buffer{'1', '2', '3', '4'};
  EXPECT_EQ(buffer_text(buffer), "1234");
  std::array<uint8_t, 8> with_nul{'4', '2', 0, '9', '9', 0, 0, 0};
  EXPECT_EQ(buffer_text(with_nul), "42");
}

TEST(PropertyText, TextThatDoesNotFitLeavesTheBufferAlone) {
  std::array<uint8_t, 4> buffer{9, 9, 9, 9};
  EXPECT_FALSE(put_text(buffer, "1234"));  // needs room for the NUL
  EXPECT_EQ(buffer[0], 9);
  EXPECT_TRUE(put_text(buffer, "123"));
  EXPECT_EQ(buffer_text(buffer), "123");
}

TEST(PropertyText, FeatureItems) {
  const auto items = split_items("131103, 0,0 ,0,3,0,1");
  ASSERT_EQ(items.size(), 7u);
  EXPECT_EQ(items[1], "0");
  EXPECT_EQ(*parse_integer_item(items[0]), 131103);
  EXPECT_EQ(*parse_integer_item("0x20000"), 0x20000);
  EXPECT_EQ(*parse_integer_item("-4"), -4);
  EXPECT_FALSE(parse_integer_item("0x"));
  EXPECT_FALSE(parse_integer_item("12a"));
  EXPECT_TRUE(split_items("").empty());
  EXPECT_EQ(split_items("a,,b").size(), 3u);
}

TEST(VolumeScale, ScalarToPercentRoundsInsteadOfTruncating) {
  // 0.57 * 100 is 56.99999... in binary; truncation would drift the slider on every read.
  EXPECT_EQ(scalar_to_percent(*parse_decimal("0.570000")), 57);
  EXPECT_EQ(scalar_to_percent(0.29), 29);
  EXPECT_EQ(scalar_to_percent(0.0), 0);
  EXPECT_EQ(scalar_to_percent(1.0), 100);
  EXPECT_EQ(scalar_to_percent(0.004), 0);
  EXPECT_EQ(scalar_to_percent(0.005), 1);
  EXPECT_EQ(scalar_to_percent(-0.2), 0);
  EXPECT_EQ(scalar_to_percent(1.7), 100);
}

TEST(VolumeScale, PercentToScalarClampsAndRoundTrips) {
  EXPECT_FLOAT_EQ(percent_to_scalar(0), 0.0f);
  EXPECT_FLOAT_EQ(percent_to_scalar(100), 1.0f);
  EXPECT_FLOAT_EQ(percent_to_scalar(-5), 0.0f);
  EXPECT_FLOAT_EQ(percent_to_scalar(250), 1.0f);
  for (int p = 0; p <= 100; ++p) {
    EXPECT_EQ(scalar_to_percent(percent_to_scalar(p)), p) << p;
    // The chip reports six decimals of what it was given.
    EXPECT_EQ(scalar_to_percent(*parse_decimal(format_decimal(percent_to_scalar(p)))), p) << p;
  }
}

TEST(VolumeScale, DbFollowsTheRangeAndItsStep) {
  const DbRange r{-12.0, 30.0, 0.5};
  EXPECT_DOUBLE_EQ(scalar_to_db(0.0, r), -12.0);
  EXPECT_DOUBLE_EQ(scalar_to_db(1.0, r), 30.0);
  EXPECT_DOUBLE_EQ(scalar_to_db(0.5, r), 9.0);
  EXPECT_DOUBLE_EQ(scalar_to_db(0.01, r), -11.5);  // 0.42 dB snaps to one 0.5 dB step
  EXPECT_DOUBLE_EQ(scalar_to_db(2.0, r), 30.0);
  EXPECT_DOUBLE_EQ(db_to_scalar(-12.0, r), 0.0);
  EXPECT_DOUBLE_EQ(db_to_scalar(9.0, r), 0.5);
  EXPECT_DOUBLE_EQ(db_to_scalar(100.0, r), 1.0);
  EXPECT_DOUBLE_EQ(db_to_scalar(-100.0, r), 0.0);
  const DbRange empty{3.0, 3.0, 0};
  EXPECT_DOUBLE_EQ(scalar_to_db(0.7, empty), 3.0);
  EXPECT_DOUBLE_EQ(db_to_scalar(3.0, empty), 0.0);
}

TEST(VolumeScale, LevelTextHasTwoDecimals) {
  EXPECT_EQ(format_db(-6.5), "-6.50");
  EXPECT_EQ(format_db(12.346), "12.35");
  EXPECT_EQ(format_db(-0.001), "0.00");
}

TEST(EqPresetTable, TwelvePresetsOfTenBands) {
  EXPECT_FALSE(EqPresets(0));
  EXPECT_FALSE(EqPresets(13));
  EXPECT_FALSE(EqPresets(-1));
  for (int p = 1; p <= 12; ++p) {
    const auto g = EqPresets(p);
    ASSERT_TRUE(g) << p;
    for (int v : *g) {
      EXPECT_GE(v, -24);
      EXPECT_LE(v, 24);
    }
  }
  EXPECT_EQ((*EqPresets(1))[0], 7);
  EXPECT_EQ((*EqPresets(6))[2], -13);
  EXPECT_EQ((*EqPresets(12))[9], 15);
  EXPECT_EQ(*EqPresets(5), EqGains{});
}

TEST(BufferHelpers, IntsAndFloatsStayInsideTheBuffer) {
  std::array<uint8_t, 8> b{};
  put_int32(b, 1, -1);
  put_int32(b, 2, 7);  // beyond the buffer: ignored
  EXPECT_EQ(get_int32(b, 0), 0);
  EXPECT_EQ(get_int32(b, 1), -1);
  EXPECT_EQ(get_int32(b, 2), 0);
  put_float(b, 0.25f);
  EXPECT_FLOAT_EQ(get_float(b), 0.25f);
}

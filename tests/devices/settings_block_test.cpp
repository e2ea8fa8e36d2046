#include "devices/keyboard/settings_block.h"

#include <gtest/gtest.h>

#include <vector>

namespace qxr::devices {
namespace {

// Mode index i -> device mode number; index 3 and 4 are the host-streamed modes.
const std::vector<int> kModes{0, 1, 5, 21, 22, 9, 5};

LightInfo sample_light() {
  LightInfo l;
  l.select_item = 2;
  l.light = 3;
  l.speed = 1;
  l.fx = 1;
  l.multi_color = 1;
  l.red = 10;
  l.green = 20;
  l.blue = 30;
  l.zzcc_led_mode = 6;
  l.custom_group = 2;
  return l;
}

TEST(SettingsBlock, EncodesEveryFieldAtItsByte) {
  KeyboardSystemStages s{
      .repeat = 9, .repeat_delay = 2, .key6_flag = 1, .polling_rate = 3, .w_flag = 1, .win_flag = 0};
  KeyboardSettingsBlock b = encode_settings_block(sample_light(), s, kModes, 0);
  const KeyboardSettingsBlock expected{0, 5, 3, 3, 1, 1, 10, 20, 30, 0, 0, 0, 0,
                                       0, 0, 0, 0, 0, 6, 1,  1,  0,  3, 0, 0, 2};
  EXPECT_EQ(b, expected);
}

TEST(SettingsBlock, HostStreamedModesTravelAsUnchanged) {
  LightInfo l = sample_light();
  l.select_item = 3;
  EXPECT_EQ(encode_settings_block(l, {}, kModes, 0)[kBlockMode], kModeUnchanged);
  l.select_item = 4;
  EXPECT_EQ(encode_settings_block(l, {}, kModes, 0)[kBlockMode], kModeUnchanged);
  // A mode index beyond the table goes as its own number.
  l.select_item = 20;
  EXPECT_EQ(encode_settings_block(l, {}, kModes, 0)[kBlockMode], 20);
  l.select_item = 21;
  EXPECT_EQ(encode_settings_block(l, {}, kModes, 0)[kBlockMode], kModeUnchanged);
}

TEST(SettingsBlock, SpeedIsTurnedBackBothWays) {
  LightInfo l = sample_light();
  for (uint8_t speed = 0; speed <= 4; ++speed) {
    l.speed = speed;
    KeyboardSettingsBlock b = encode_settings_block(l, {}, kModes, 0);
    EXPECT_EQ(b[kBlockSpeed], 4 - speed);
    DecodedSettings d = decode_settings_block(b, kModes, l, {});
    EXPECT_EQ(d.light.speed, speed);
    EXPECT_EQ(d.condensed.speed, speed);
  }
  // A device byte above 4 reads as the slowest speed instead of wrapping.
  KeyboardSettingsBlock b{};
  b[kBlockSpeed] = 9;
  EXPECT_EQ(decode_settings_block(b, kModes, l, {}).light.speed, 0);
}

TEST(SettingsBlock, DecodeMapsModeAndKeepsTheProfileOnlyValues) {
  LightInfo prev = sample_light();
  prev.old_led_mode = 4;
  KeyboardSystemStages prev_stages{
      .repeat = 9, .repeat_delay = 2, .key6_flag = 0, .polling_rate = 3, .w_flag = 0, .win_flag = 0};
  KeyboardSettingsBlock b{};
  b[kBlockMode] = 5;  // first index holding 5 is 2, not 6
  b[kBlockLight] = 4;
  b[kBlockSpeed] = 0;
  b[kBlockRed] = 255;
  b[kBlockZzccLedMode] = 7;
  b[kBlockWFlag] = 1;
  b[kBlockKey6Flag] = 1;
  b[kBlockWinFlag] = 1;
  b[kBlockPollingRate] = 0;
  b[kBlockCustomGroup] = 3;
  DecodedSettings d = decode_settings_block(b, kModes, prev, prev_stages);
  EXPECT_EQ(d.light.select_item, 2);
  EXPECT_FALSE(d.mode_changed);
  EXPECT_EQ(d.light.light, 4);
  EXPECT_EQ(d.light.speed, 4);
  EXPECT_EQ(d.light.red, 255);
  EXPECT_EQ(d.light.zzcc_led_mode, 7);
  EXPECT_EQ(d.light.custom_group, 3);
  EXPECT_EQ(d.light.old_led_mode, 4);
  EXPECT_EQ(d.condensed.mode, 2);
  EXPECT_EQ(d.condensed.custom_group, 3);
  EXPECT_EQ(d.stages.w_flag, 1);
  EXPECT_EQ(d.stages.key6_flag, 1);
  EXPECT_EQ(d.stages.win_flag, 1);
  EXPECT_EQ(d.stages.polling_rate, 3);
  EXPECT_EQ(d.stages.repeat, 9);
  EXPECT_EQ(d.stages.repeat_delay, 2);
}

TEST(SettingsBlock, UnchangedModeKeepsThePreviousOneAndUnknownNumbersStay) {
  LightInfo prev = sample_light();
  KeyboardSettingsBlock b{};
  b[kBlockMode] = kModeUnchanged;
  DecodedSettings d = decode_settings_block(b, kModes, prev, {});
  EXPECT_EQ(d.light.select_item, prev.select_item);
  EXPECT_EQ(d.condensed.mode, prev.select_item);
  EXPECT_FALSE(d.mode_changed);
  b[kBlockMode] = 40;  // in no row of the table
  d = decode_settings_block(b, kModes, prev, {});
  EXPECT_EQ(d.light.select_item, 40);
  EXPECT_TRUE(d.mode_changed);
}

}  // namespace
}  // namespace qxr::devices

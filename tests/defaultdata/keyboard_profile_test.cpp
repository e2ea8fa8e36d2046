// The keyboard's default profile, read through the keyboard's profile object as a first
// start reads it.
#include <gtest/gtest.h>

#include "devices/keyboard/default_key_codes.h"
#include "profile/json_file.h"
#include "profile/keyboard_profile_data.h"
#include "tests/defaultdata/default_data.h"

namespace qxr::test {
namespace {

constexpr int kKeyboardKeys = static_cast<int>(devices::kLogicalKeyCount);
constexpr int kKeyboardModes = 31;
constexpr int kLevelMax = 4;
constexpr int kRepeatDelayOptions = 4;
constexpr int kPollingOptions = 4;
constexpr int kMusicVisualisations = 7;

class KeyboardDefaults : public ::testing::Test {
 protected:
  void SetUp() override { device_ = LoadFirstProfile(profile_, "keyboard", scratch_); }

  testing::TempFolder scratch_;
  CKeyboardProfiledata profile_;
  Json::Value device_;
};

TEST_F(KeyboardDefaults, FirstStartCopiesTheDefaultDeviceIntoTheNewProfile) {
  ASSERT_TRUE(device_.isObject());
  const Json::Value written = ReadJsonFile(profile_.GetProfilePath());
  EXPECT_EQ(written["Device"][0], ReadDefaultDocument("keyboard.Json")["Device"][0]);
}

TEST_F(KeyboardDefaults, EveryKeyStartsOnItsFactoryFunction) {
  const std::vector<KeyAssignRecord> keys = profile_.GetKeyList();
  ASSERT_EQ(keys.size(), static_cast<size_t>(kKeyboardKeys));
  for (int i = 0; i < kKeyboardKeys; ++i) {
    const devices::KeyCode& want = devices::DefaultKeyCodes[i];
    const KeyAssignment expected{static_cast<uint16_t>(i), want.type, want.code1, want.code2};
    EXPECT_EQ(keys[i].default_assignment, expected) << "key " << i;
    EXPECT_EQ(keys[i].assignment, expected) << "key " << i;
  }
}

TEST_F(KeyboardDefaults, LightingAndSettingsLieWithinTheKeyboardsRanges) {
  const LightInfo light = profile_.GetLightInfo();
  EXPECT_LT(light.select_item, kKeyboardModes);
  EXPECT_LE(light.light, kLevelMax);
  EXPECT_LE(light.speed, kLevelMax);
  EXPECT_LE(light.fx, 1);
  EXPECT_LE(light.multi_color, 1);
  EXPECT_LT(light.old_led_mode, kKeyboardModes);
  EXPECT_GT(light.light, 0) << "a factory keyboard should not start dark";

  const AudioLightInfo audio = profile_.GetAudioLightInfo();
  EXPECT_LT(audio.audio_mode, kMusicVisualisations);
  EXPECT_LE(audio.seven_color_flags, 1);
  EXPECT_EQ(ReadDefaultDocument("keyboard.Json")["Device"][0]["AudioLightInfo"]["ColorTypeFlags"],
            1);

  const KeyboardSystemStages stages = profile_.GetSystemStages();
  EXPECT_LT(stages.repeat_delay, kRepeatDelayOptions);
  EXPECT_LT(stages.polling_rate, kPollingOptions);
  EXPECT_LE(stages.key6_flag, 1);
  EXPECT_LE(stages.w_flag, 1);
  EXPECT_LE(stages.win_flag, 1);
}

TEST_F(KeyboardDefaults, CustomColourSetsCoverEveryKeyAndLightTheBoard) {
  const int groups = static_cast<int>(device_["CustomLightMode"]["LightColorInfo"].size());
  ASSERT_GE(groups, 1);
  EXPECT_LT(profile_.GetCustomGroupIndex(), groups);
  EXPECT_LT(profile_.GetLightInfo().custom_group, groups);

  for (int g = 0; g < groups; ++g) {
    const std::vector<CustomColour> colours = profile_.GetCustomColours(g, kKeyboardKeys);
    ASSERT_EQ(colours.size(), static_cast<size_t>(kKeyboardKeys));
    for (int k = 0; k < kKeyboardKeys; ++k) {
      if (devices::DefaultKeyCodes[k] == devices::KeyCode{}) continue;  // no key of the board
      const CustomColour& c = colours[k];
      EXPECT_GT(c.alpha, 0) << "group " << g << " leaves key " << k << " off";
      EXPECT_GT(c.red + c.green + c.blue, 0) << "group " << g << " key " << k;
    }
  }
  // The getter fills missing cells with zeros; a complete set leaves the profile as it was.
  EXPECT_EQ(profile_.GetDeviceObject(), device_);
}

}  // namespace
}  // namespace qxr::test

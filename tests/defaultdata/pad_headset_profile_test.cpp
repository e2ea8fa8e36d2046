// The mouse pad's and the headset's default profiles, read through their profile objects.
#include <gtest/gtest.h>

#include "profile/headset_profile_data.h"
#include "tests/defaultdata/default_data.h"
#include "tests/defaultdata/factory_tables.h"

namespace qxr::test {
namespace {

constexpr int kPadModes = 9;  // the headset has the same nine
constexpr int kPadLeds = 15;
constexpr int kHeadsetLeds = 13;
constexpr int kLevelMax = 4;
constexpr int kVoices = 4;
constexpr int kPercentMax = 100;

void ExpectLighting(CBasicProfiledata& profile, size_t leds, const std::string& what) {
  const LightInfo light = profile.GetLightInfo();
  EXPECT_LT(light.select_item, kPadModes) << what;
  EXPECT_LE(light.light, kLevelMax) << what;
  EXPECT_LE(light.speed, kLevelMax) << what;
  EXPECT_LE(light.multi_color, 1) << what;
  const std::vector<PerLedRecord> list = profile.GetLightList();
  ASSERT_EQ(list.size(), leds) << what;
  for (const PerLedRecord& led : list) {
    EXPECT_EQ(led.present, 1) << what;
    EXPECT_LT(led.led_reg_mode, kPadModes) << what;
    EXPECT_LE(led.led_brightness, kLevelMax) << what;
    EXPECT_LE(led.led_speed, kLevelMax) << what;
    EXPECT_LE(led.led_direction, 1) << what;
    EXPECT_LE(led.led_multi_color, 1) << what;
  }
}

TEST(MousePadDefaults, OneLightRecordPerLed) {
  testing::TempFolder scratch;
  CBasicProfiledata profile;
  ASSERT_TRUE(LoadFirstProfile(profile, "MousePad", scratch).isObject());
  ExpectLighting(profile, kPadLeds, "mouse pad");
}

class HeadsetDefaults : public ::testing::Test {
 protected:
  void SetUp() override { device_ = LoadFirstProfile(profile_, "HD", scratch_); }

  testing::TempFolder scratch_;
  CZo6533Profiledata profile_;
  Json::Value device_;
};

TEST_F(HeadsetDefaults, OneLightRecordPerLed) {
  ASSERT_TRUE(device_.isObject());
  ExpectLighting(profile_, kHeadsetLeds, "headset");
}

TEST_F(HeadsetDefaults, TheTwelveEqualiserPresetsAreTheHeadsetsOwn) {
  for (int preset = 1; preset <= kEqPresets; ++preset) {
    const std::vector<int> gains = profile_.GetEqValues(preset);
    const auto& want = EqPresets()[preset - 1];
    EXPECT_EQ(gains, std::vector<int>(want.begin(), want.end())) << "preset " << preset;
  }
  // Type 0 means "no choice yet" and shows preset 1.
  EXPECT_EQ(profile_.GetEqValues(0), profile_.GetEqValues(1));
  // Reading fills a missing preset with zeros; complete presets leave the profile alone.
  EXPECT_EQ(profile_.GetDeviceObject(), device_);
}

TEST_F(HeadsetDefaults, AudioSettingsLieWithinRange) {
  const HeadsetSystemSetStages s = profile_.GetSystemSetStages();
  EXPECT_LE(s.magic_enable, 1);
  EXPECT_GE(s.magic_type, 1);
  EXPECT_LE(s.magic_type, kVoices);
  EXPECT_GE(s.eq_type, 1);
  EXPECT_LE(s.eq_type, kEqPresets) << "no custom equaliser exists to select";
  EXPECT_LE(s.mic_in_select, 1);
  EXPECT_LE(s.mic_monitor_select, 1);
  EXPECT_GE(s.mic_in_value, 0);
  EXPECT_LE(s.mic_in_value, kPercentMax);
  EXPECT_GE(s.mic_monitor_value, 0);
  EXPECT_LE(s.mic_monitor_value, kPercentMax);

  // Custom equalisers are the user's: none ship, and names and gains agree.
  EXPECT_TRUE(profile_.GetCustomEqNames().empty());
  EXPECT_EQ(device_["CustomEQNameInfo"].size(), device_["CustomEQHzValueInfo"].size());
}

}  // namespace
}  // namespace qxr::test

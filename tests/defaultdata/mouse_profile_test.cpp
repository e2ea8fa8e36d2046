// The mouse's default profile, read through the mouse's profile object.
#include <gtest/gtest.h>

#include <algorithm>

#include "profile/mouse_profile_data.h"
#include "tests/defaultdata/default_data.h"
#include "tests/defaultdata/factory_tables.h"

namespace qxr::test {
namespace {

constexpr int kMouseModes = 9;
constexpr int kMouseLeds = 6;
constexpr int kDpiStageCount = 5;
constexpr int kPollingOptions = 5;
constexpr int kLevelMax = 4;

class MouseDefaults : public ::testing::Test {
 protected:
  void SetUp() override { device_ = LoadFirstProfile(profile_, "mouse", scratch_); }

  testing::TempFolder scratch_;
  CMouseProfiledata profile_;
  Json::Value device_;
};

TEST_F(MouseDefaults, EveryButtonStartsOnItsFactoryFunction) {
  ASSERT_TRUE(device_.isObject());
  const std::vector<KeyAssignRecord> keys = profile_.GetKeyList();
  ASSERT_EQ(keys.size(), static_cast<size_t>(kMouseButtons));
  for (int i = 0; i < kMouseButtons; ++i) {
    const KeyCode& want = MouseDefaultKeyCodes()[i];
    const KeyAssignment expected{static_cast<uint16_t>(i), want.type, want.d1, want.d2};
    EXPECT_EQ(keys[i].default_assignment, expected) << "button " << i;
    EXPECT_EQ(keys[i].assignment, expected) << "button " << i;
  }
  // The page refuses to take the left button from its last key, so a profile must have one.
  EXPECT_TRUE(std::any_of(keys.begin(), keys.end(), [](const KeyAssignRecord& r) {
    return r.assignment.type == 0x10 && r.assignment.d1 == 0x01;
  }));
}

// The range the mouse announces is checked against the emulated mouse elsewhere.
TEST_F(MouseDefaults, FiveRisingDpiStagesAllEnabled) {
  const std::vector<DpiStage> stages = profile_.GetDpiStages();
  ASSERT_EQ(stages.size(), static_cast<size_t>(kDpiStageCount));
  int previous = 0;
  for (int i = 0; i < kDpiStageCount; ++i) {
    const DpiStage& s = stages[i];
    EXPECT_EQ(s.stage_active, 1) << "stage " << i;
    EXPECT_EQ(s.stage_xy, 0) << "stage " << i;
    EXPECT_EQ(s.DpiX(), s.DpiY()) << "stage " << i;
    EXPECT_GT(s.DpiX(), previous) << "stages should rise";
    previous = s.DpiX();
    EXPECT_GT(s.color_r + s.color_g + s.color_b, 0) << "stage " << i << " has no colour";
  }
  const int active = profile_.GetActiveDpiStage();
  ASSERT_GE(active, 0);
  ASSERT_LT(active, kDpiStageCount);
  EXPECT_EQ(stages[active].stage_active, 1);
}

TEST_F(MouseDefaults, SettingsLightingAndCorrectionsLieWithinRange) {
  const MouseSystemStages sys = profile_.GetMouseSystemStages();
  EXPECT_LT(sys.report_rate, kPollingOptions);
  EXPECT_LE(sys.pointer_precision, 1);
  EXPECT_LE(sys.scroll_page, 1);
  EXPECT_GE(sys.mouse_speed, 1);
  EXPECT_GE(sys.wheel_scroll_lines, 1);
  EXPECT_GE(sys.double_click_time, 1);

  const LightInfo light = profile_.GetLightInfo();
  EXPECT_LT(light.select_item, kMouseModes);
  EXPECT_LE(light.light, kLevelMax);
  EXPECT_LE(light.speed, kLevelMax);
  EXPECT_LE(light.fx, 1);

  const std::vector<PerLedRecord> leds = profile_.GetLightList();
  ASSERT_EQ(leds.size(), static_cast<size_t>(kMouseLeds));
  for (const PerLedRecord& led : leds) {
    EXPECT_EQ(led.present, 1);
    EXPECT_LT(led.led_reg_mode, kMouseModes);
    EXPECT_LE(led.led_brightness, kLevelMax);
    EXPECT_LE(led.led_speed, kLevelMax);
  }

  const std::vector<CorrectEntry> corrections = profile_.GetCorrectInfo();
  ASSERT_FALSE(corrections.empty());
  const std::set<std::string> known = LanguageKeysInData();
  int selected = 0;
  for (const CorrectEntry& c : corrections) {
    selected += c.select != 0;
    EXPECT_FALSE(c.name.empty());
    EXPECT_TRUE(known.count(c.name)) << c.name;
  }
  EXPECT_LE(selected, 1) << "the mouse takes the first selected entry only";
}

}  // namespace
}  // namespace qxr::test

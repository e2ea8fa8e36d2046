#include "devices/keyboard/system_settings.h"

#include <gtest/gtest.h>

#include "devices/device_kind.h"
#include "devices/function_switch.h"
#include "devices/testing/recording_page.h"

namespace qxr::devices {
namespace {

TEST(SystemSettings, OptionsOutsideTheRangeSelectTheFirst) {
  RecordingPage page;
  KeyboardSystemStages s{
      .repeat = 12, .repeat_delay = 7, .key6_flag = 1, .polling_rate = 4, .w_flag = 0, .win_flag = 1};
  show_system_settings(page, s);
  EXPECT_EQ(page.polling_option(), 0);
  EXPECT_EQ(page.repeat_delay_option(), 0);
  EXPECT_EQ(page.repeat_delay_ms(), 250);
  EXPECT_EQ(page.repeat_rate(), 12);
  EXPECT_TRUE(page.flag(SystemFlag::Key6));
  EXPECT_FALSE(page.flag(SystemFlag::W));
  EXPECT_TRUE(page.flag(SystemFlag::WinLock));
  EXPECT_EQ(page.count("clear_repeat_input"), 1);

  s.repeat_delay = 3;
  s.polling_rate = 2;
  show_system_settings(page, s);
  EXPECT_EQ(page.repeat_delay_option(), 3);
  EXPECT_EQ(page.repeat_delay_ms(), 1000);
  EXPECT_EQ(page.polling_option(), 2);
}

TEST(SystemSettings, ChangesLandInTheirHalfOfTheStages) {
  KeyboardSystemStages s{};
  apply_system_setting(s, SystemSetting::PollingRate, 2);
  apply_system_setting(s, SystemSetting::RepeatDelay, 9);
  apply_system_setting(s, SystemSetting::RepeatRate, 33);
  apply_system_setting(s, SystemSetting::Key6, 5);
  apply_system_setting(s, SystemSetting::W, 1);
  EXPECT_EQ(
      s,
      (KeyboardSystemStages{
          .repeat = 33, .repeat_delay = 0, .key6_flag = 1, .polling_rate = 2, .w_flag = 1, .win_flag = 0}));
}

TEST(FunctionSwitch, TypesSelectTheirPages) {
  EXPECT_EQ(function_pages_for(2, kKindKeyboard), (FunctionPages{0, 1}));
  EXPECT_EQ(function_pages_for(6, kKindMouse), (FunctionPages{0, 1}));
  EXPECT_EQ(function_pages_for(3, kKindKeyboard), (FunctionPages{1, kLeavePage}));
  EXPECT_EQ(function_pages_for(8, kKindKeyboard), (FunctionPages{1, kLeavePage}));
  EXPECT_EQ(function_pages_for(5, kKindKeyboard), (FunctionPages{2, kLeavePage}));
  EXPECT_EQ(function_pages_for(7, kKindKeyboard), (FunctionPages{0, 2}));
  EXPECT_EQ(function_pages_for(4, kKindKeyboard), (FunctionPages{3, kLeavePage}));
  EXPECT_EQ(function_pages_for(4, kKindMouse), (FunctionPages{3, kLeavePage}));
  EXPECT_EQ(function_pages_for(4, kKindHeadset), (FunctionPages{0, 2}));
  EXPECT_EQ(function_pages_for(1, kKindKeyboard), (FunctionPages{0, 0}));
  EXPECT_EQ(function_pages_for(99, kKindMousePad), (FunctionPages{0, 0}));
}

}  // namespace
}  // namespace qxr::devices

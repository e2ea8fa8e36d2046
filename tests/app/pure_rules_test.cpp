// The rules of the device list, the power panel, game lighting and synchronised lighting.
#include <gtest/gtest.h>

#include "app/pages/device_models.h"
#include "app/pages/entry_rules.h"
#include "app/window/game_lighting.h"
#include "app/pages/power_view.h"
#include "app/window/sync_lighting.h"
#include "devices/lighting/keyboard_modes.h"
#include "devices/lighting/shared_tables.h"
#include "hid/supported_interfaces.h"

namespace qxr::app {
namespace {

// ---- device list ----

TEST(EntryRules, AfterHidingTheFirstOtherVisibleEntryIsChosen) {
  std::vector<EntryState> e(4);
  e[0] = {true, true, false};
  e[2] = {true, false, false};
  e[3] = {true, false, false};
  EXPECT_EQ(entry_after_hide(e, 0), 2);
  EXPECT_EQ(entry_after_hide(e, 2), 0);
}

TEST(EntryRules, WhenNoOtherEntryIsVisibleNoneIsChosen) {
  std::vector<EntryState> e(4);
  e[1] = {true, true, false};
  // An absent device's entry never comes back in its place.
  EXPECT_EQ(entry_after_hide(e, 1), -1);
  EXPECT_EQ(entry_after_hide(e, 0), 1);
}

TEST(EntryRules, NoticeSynchronisationAndMarks) {
  std::vector<EntryState> none(4);
  ListVerdict v = judge_entries(none);
  EXPECT_TRUE(v.show_notice);
  EXPECT_FALSE(v.several_visible);

  std::vector<EntryState> one(4);
  one[2] = {true, true, true};
  v = judge_entries(one);
  EXPECT_FALSE(v.show_notice);
  EXPECT_FALSE(v.several_visible);
  EXPECT_TRUE(v.clear_marks);  // a single mark synchronises nothing

  std::vector<EntryState> two(4);
  two[0] = {true, true, true};
  two[1] = {true, false, true};
  two[3] = {false, false, true};  // a hidden entry's mark does not count
  v = judge_entries(two);
  EXPECT_TRUE(v.several_visible);
  EXPECT_FALSE(v.clear_marks);
  two[1].synchro = false;
  EXPECT_TRUE(judge_entries(two).clear_marks);
}

TEST(EntryRules, FirstConnectedEntry) {
  std::vector<EntryState> e(4);
  EXPECT_EQ(first_connected_entry(e).index, -1);
  EXPECT_EQ(first_connected_entry(e).count, 0);
  e[3].visible = true;
  e[1].visible = true;
  EXPECT_EQ(first_connected_entry(e).index, 1);
  EXPECT_EQ(first_connected_entry(e).count, 2);
}

// ---- model table ----

TEST(DeviceModels, EntryImagesAndLines) {
  EXPECT_EQ(entry_image(entry_image_prefix(1, 0), EntryImage::Normal), "common/device_ico/kb_device_normal.png");
  EXPECT_EQ(entry_image(entry_image_prefix(6, 0), EntryImage::SynchroSelected),
            "common/device_ico/ms_device_synchro_selected.png");
  EXPECT_EQ(entry_image_prefix(3, 1), "soft_mp");
  EXPECT_EQ(entry_image_prefix(3, 0), "hard_mp");
  EXPECT_EQ(entry_image_prefix(7, 0), "hd");
  EXPECT_EQ(entry_image_prefix(4, 0), "unknow");
  EXPECT_EQ(entry_name_key("kb"), "kb_device_name_text");
  EXPECT_EQ(arrival_line(7), "添加一个鼠标垫设备");
  EXPECT_EQ(removal_line(6), "删除一个鼠标设备");
  EXPECT_TRUE(arrival_line(5).empty());
}

// ---- power panel ----

TEST(PowerView, FullBatteryAndTheNumberShown) {
  const uint8_t s[] = {100, 0, 0, 0, 0, 0};
  PowerView v = power_view(s, sizeof s, kPowerModeNone);
  EXPECT_EQ(v.progress, 0);
  EXPECT_EQ(v.value_text, "100%");
  EXPECT_EQ(v.status_image, "file='power/powered.png'");
  EXPECT_EQ(v.progress_visible, true);
  // Neither the wireless mark nor the phone is touched outside their modes.
  EXPECT_FALSE(v.wireless_logo.has_value());
  EXPECT_FALSE(v.phone_text.has_value());
}

TEST(PowerView, ChargingThroughTheReceiverHidesTheBar) {
  const uint8_t s[] = {40, kChargeCharging, 0, 1, 0, 0};
  PowerView v = power_view(s, sizeof s, kPowerModeReceiver);
  EXPECT_EQ(v.progress, 60);
  EXPECT_EQ(v.wireless_logo, true);
  EXPECT_EQ(v.progress_visible, false);
  EXPECT_EQ(v.status_image, "file='power/wuxian_powering.png'");
  const uint8_t wired[] = {40, kChargeCharging, 0, 0, 0, 0};
  v = power_view(wired, sizeof wired, kPowerModeReceiver);
  EXPECT_EQ(v.wireless_logo, false);
  EXPECT_EQ(v.progress_visible, true);
  EXPECT_EQ(v.status_image, "file='power/powering.png'");
}

TEST(PowerView, UnknownChargingStateChangesNothing) {
  const uint8_t s[] = {10, 9, 0, 0, 0, 0};
  PowerView v = power_view(s, sizeof s, kPowerModeNone);
  EXPECT_FALSE(v.status_image.has_value());
  EXPECT_FALSE(v.progress_visible.has_value());
  const uint8_t battery[] = {10, kChargeBattery};
  EXPECT_EQ(power_view(battery, sizeof battery, kPowerModeNone).status_image, "file='power/power.png'");
}

TEST(PowerView, PhoneTypesOnTheCharger) {
  struct Case {
    uint8_t type;
    const char* text;
  } cases[] = {{1, "Phone_type_iphone"}, {2, "Phone_type_samsung"}, {3, "Phone_type_other"},
               {0, "Phone_type_no_device"}, {4, "Phone_type_no_device"}, {255, "Phone_type_no_device"}};
  for (const Case& c : cases) {
    const uint8_t s[] = {0, 0, 0, 0, 0, c.type};
    PowerView v = power_view(s, sizeof s, kPowerModePhoneCharger);
    EXPECT_EQ(v.phone_text, c.text) << int{c.type};
    EXPECT_EQ(v.phone_image, std::string("file='power/") + c.text + ".png'");
  }
}

TEST(PowerView, ShortAndMissingStatusCountsAsZeros) {
  const uint8_t s[] = {55};
  PowerView v = power_view(s, sizeof s, kPowerModePhoneCharger);
  EXPECT_EQ(v.value_text, "55%");
  EXPECT_EQ(v.status_image, "file='power/powered.png'");  // charging byte missing: 0
  EXPECT_EQ(v.phone_text, "Phone_type_no_device");
  EXPECT_EQ(power_view(nullptr, 6, kPowerModeNone).value_text, "0%");
  // Bytes past 64 are never read, however long the buffer claims to be.
  std::vector<uint8_t> big(100, 0);
  big[kStatusPhone] = 2;
  EXPECT_EQ(power_view(big.data(), big.size(), kPowerModePhoneCharger).phone_text, "Phone_type_samsung");
}

// ---- game lighting ----

TEST(GameLighting, GroupsChangeTheirPartOfTheRecord) {
  LightInfo now;
  now.select_item = 3;
  now.light = 4;
  now.custom_group = 1;
  auto modes = game_light(now, kGroupModes, 9);
  ASSERT_TRUE(modes.has_value());
  EXPECT_EQ(modes->select_item, 9);
  EXPECT_EQ(modes->light, 4);
  auto custom = game_light(now, kGroupCustom, 2);
  ASSERT_TRUE(custom.has_value());
  EXPECT_EQ(custom->select_item, lighting::kModeCustom);
  EXPECT_EQ(custom->custom_group, 2);
  auto sub = game_light(now, kGroupSubMode, 4);
  ASSERT_TRUE(sub.has_value());
  EXPECT_EQ(sub->zzcc_led_mode, 4);
  EXPECT_EQ(sub->select_item, 3);
  EXPECT_FALSE(game_light(now, 3, 1).has_value());
  EXPECT_FALSE(game_light(now, kGroupModes, 256).has_value());
  EXPECT_FALSE(game_light(now, kGroupModes, -1).has_value());
}

// ---- synchronised lighting ----

TEST(SyncEffect, BlinkTogglesEveryThresholdTimes200AndStepsTheWheelBy14) {
  SyncEffect effect;
  SyncSettings s;
  s.mode = SyncMode::Blink;
  s.speed = 4;  // threshold 7: a toggle every 1400 ms
  effect.set_settings(s);
  const uint64_t t0 = 1000;
  devices::LedRecord first = effect.frame(t0);
  EXPECT_EQ(first.brightness, 255);
  EXPECT_EQ((lighting::Rgb{first.red, first.green, first.blue}), lighting::wheel_colour(0));
  EXPECT_EQ(effect.frame(t0 + 1399).brightness, 255);
  devices::LedRecord off = effect.frame(t0 + 1400);
  EXPECT_EQ(off.brightness, 0);
  devices::LedRecord on = effect.frame(t0 + 2800);
  EXPECT_EQ(on.brightness, 255);
  EXPECT_EQ((lighting::Rgb{on.red, on.green, on.blue}), lighting::wheel_colour(28));
}

TEST(SyncEffect, BlinkWheelIndexReturnsToZeroAt192) {
  SyncEffect effect;
  SyncSettings s;
  s.speed = 4;
  effect.set_settings(s);
  effect.frame(0);
  // 13 toggles move the index by 14 each: 182, then 196 -> 0 on the 14th.
  devices::LedRecord r = effect.frame(14 * 1400);
  EXPECT_EQ(r.brightness, 255);  // even number of toggles: on
  EXPECT_EQ((lighting::Rgb{r.red, r.green, r.blue}), lighting::wheel_colour(0));
}

TEST(SyncEffect, BreathingWalksTheWheelInThirteenColours) {
  SyncEffect effect;
  SyncSettings s;
  s.mode = SyncMode::Breathe;
  s.speed = 4;
  effect.set_settings(s);
  uint64_t t = 0;
  effect.frame(t);
  // One breath is 128 steps of 7 ms; each new breath takes the next colour: 0, 16, ... 192, 0.
  for (unsigned breath = 1; breath <= 26; ++breath) {
    t += 7 * 128;
    devices::LedRecord r = effect.frame(t);
    const unsigned index = (breath % 13) * 16;
    EXPECT_EQ((lighting::Rgb{r.red, r.green, r.blue}), lighting::wheel_colour(index)) << breath;
    EXPECT_EQ(r.brightness, 0) << breath;  // a breath starts dark
  }
}

TEST(SyncEffect, StaticAndOff) {
  SyncEffect effect;
  SyncSettings s;
  s.mode = SyncMode::Static;
  s.colour = {1, 2, 3};
  effect.set_settings(s);
  devices::LedRecord r = effect.frame(5);
  EXPECT_EQ(r.red, 1);
  EXPECT_EQ(r.blue, 3);
  EXPECT_EQ(r.brightness, 255);
  s.mode = SyncMode::Off;
  effect.set_settings(s);
  EXPECT_EQ(effect.frame(10).brightness, 0);
}

}  // namespace
}  // namespace qxr::app

// The mouse's tables and rules on their own: button positions, key table, settings block, DPI
// edit rules, Windows-style settings and the recoil image.
#include <gtest/gtest.h>
#include <json/value.h>

#include <cstring>

#include "devices/keyboard/macro_blob.h"
#include "devices/mouse/dpi_stages.h"
#include "devices/mouse/mouse_key_codes.h"
#include "devices/mouse/mouse_settings_block.h"
#include "devices/mouse/mouse_windows_settings.h"
#include "devices/mouse/recoil_blob.h"
#include "profile/json_file.h"
#include "profile/macro_files.h"
#include "tests/support/temp_folder.h"

namespace qxr::devices {
namespace {

std::vector<uint8_t> table_of(std::initializer_list<std::array<uint8_t, 3>> codes) {
  std::vector<uint8_t> t;
  for (const auto& c : codes) t.insert(t.end(), c.begin(), c.end());
  return t;
}

KeyAssignRecord assign(uint16_t key, uint8_t type, uint8_t d1, uint8_t d2) {
  KeyAssignRecord r;
  r.assignment = {key, type, d1, d2};
  r.default_assignment = r.assignment;
  return r;
}

TEST(MousePositionMap, EachButtonTakesTheFirstPositionWithItsCodeAndTheRestStayAbsent) {
  // Back before forward, the wheel function twice, no DPI cycle and no function key.
  const auto table = table_of({{0x10, 0x01, 0},
                               {0x10, 0x02, 0},
                               {0x10, 0x08, 0},
                               {0x10, 0x10, 0},
                               {0x16, 0x90, 1},
                               {0x16, 0x90, 1},
                               {0x13, 1, 0}});
  const MousePositionMap map = build_mouse_position_map(table);
  EXPECT_EQ(map[0], 0);
  EXPECT_EQ(map[1], 1);
  EXPECT_EQ(map[2], kNoMousePosition);  // no middle button on this one
  EXPECT_EQ(map[3], 3);                 // forward
  EXPECT_EQ(map[4], 2);                 // back
  EXPECT_EQ(map[5], 6);
  EXPECT_EQ(map[7], kNoMousePosition);
  EXPECT_EQ(map[9], 4);  // the first of the two positions
}

TEST(MousePositionMap, AShortTableLeavesEveryButtonItLacksAbsent) {
  // Two keys: the buttons past the mouse's key count must not point at position 0.
  const MousePositionMap map = build_mouse_position_map(table_of({{0x10, 0x02, 0}, {0x10, 0x01, 0}}));
  EXPECT_EQ(map[0], 1);
  EXPECT_EQ(map[1], 0);
  for (size_t b = 2; b < kMouseLogicalButtons; ++b) EXPECT_EQ(map[b], kNoMousePosition) << b;
}

TEST(MouseKeyTable, AssignmentsGoToTheirPositionsAndMacrosAreNotRenumbered) {
  const auto base = table_of({{0x10, 0x01, 0}, {0x10, 0x02, 0}, {0x10, 0x04, 0}});
  const MousePositionMap map = build_mouse_position_map(base);
  std::vector<KeyAssignRecord> keys;
  for (uint16_t i = 0; i < kMouseLogicalButtons; ++i) keys.push_back(assign(i, 0x10, 0x01, 0));
  keys[1] = assign(1, 0x70, 5, 0);  // macro 5 stays macro 5
  keys[2] = assign(2, 0x20, 0, 0x04);
  keys[7] = assign(7, 0x20, 0, 0x05);  // a button this mouse lacks: not sent
  const auto table = build_mouse_key_table(base, keys, map);
  EXPECT_EQ(table, table_of({{0x10, 0x01, 0}, {0x70, 5, 0}, {0x20, 0, 0x04}}));
  EXPECT_TRUE(build_mouse_key_table({}, keys, map).empty());
}

MouseSettingsInputs sample_inputs() {
  MouseSettingsInputs in;
  in.light.select_item = 5;
  in.light.light = 3;
  in.light.speed = 1;
  in.light.fx = 1;
  in.light.multi_color = 1;
  in.light.red = 10, in.light.green = 20, in.light.blue = 30;
  DpiStage a{}, b{};
  a.stage_active = 1;
  a.SetDpiX(16);
  a.SetDpiY(16);
  a.color_r = 255;
  b.stage_active = 0;
  b.stage_xy = 1;
  b.SetDpiX(300);  // beyond one byte
  b.SetDpiY(32);
  in.stages = {a, b};
  in.current_stage = 1;
  in.polling_option = 3;
  in.corrections = {{0, 0, 0, "off"}, {4, 16, 1, "light"}, {8, 64, 1, "strong"}};
  in.profile_byte = 0;
  in.third = 1;
  in.screen_width = 2560;
  in.screen_height = 1440;
  return in;
}

TEST(MouseSettingsBlock, EveryFieldAtItsPlace) {
  const MouseSettingsBlock b = encode_mouse_settings_block(sample_inputs());
  const uint8_t head[] = {0, 5, 3, 3, 1, 1, 10, 20, 30, 0, 0, 3, 1, 0};
  EXPECT_EQ(0, std::memcmp(b.data(), head, sizeof head));
  const uint8_t stages[] = {1, 0, 16, 0, 16, 0, 255, 0, 0, 0, 1, 44, 1, 32, 0, 0, 0, 0};
  EXPECT_EQ(0, std::memcmp(b.data() + kMouseBlockStages, stages, sizeof stages));
  for (size_t i = kMouseBlockStages + sizeof stages; i < kMouseBlockThird; ++i) EXPECT_EQ(b[i], 0) << i;
  const uint8_t tail[] = {1, 0x00, 0x0A, 0xA0, 0x05, 16, 4};
  EXPECT_EQ(0, std::memcmp(b.data() + kMouseBlockThird, tail, sizeof tail));
}

TEST(MouseSettingsBlock, ModesAboveEightPollingAndStageOutOfRangeAndNoCorrection) {
  MouseSettingsInputs in = sample_inputs();
  in.light.select_item = 8;
  EXPECT_EQ(encode_mouse_settings_block(in)[kMouseBlockMode], 8);
  in.light.select_item = 9;
  in.polling_option = 5;
  in.current_stage = 5;
  in.corrections = {{4, 16, 0, "light"}};
  const MouseSettingsBlock b = encode_mouse_settings_block(in);
  EXPECT_EQ(b[kMouseBlockMode], 0);
  EXPECT_EQ(b[kMouseBlockPolling], 0);
  EXPECT_EQ(b[kMouseBlockCurrentStage], 0);
  EXPECT_EQ(b[kMouseBlockCorrectMinSq], 0);
  EXPECT_EQ(b[kMouseBlockCorrectPixThresh], 0);
  in.polling_option = -1;
  EXPECT_EQ(encode_mouse_settings_block(in)[kMouseBlockPolling], 0);
  in.polling_option = 4;
  EXPECT_EQ(encode_mouse_settings_block(in)[kMouseBlockPolling], 4);
}

TEST(MouseSettingsBlock, ReadingBackTurnsTheSpeedAndKeepsTheDirection) {
  MouseBlockRead read{};
  read[kMouseBlockMode] = 2;
  read[kMouseBlockLight] = 1;
  read[kMouseBlockSpeed] = 3;
  read[kMouseBlockFx] = 0;
  read[kMouseBlockMultiColor] = 1;
  read[kMouseBlockBlue] = 77;
  LightInfo previous;
  previous.fx = 1;
  previous.custom_group = 4;
  const LightInfo l = light_from_mouse_block(read, previous);
  EXPECT_EQ(l.select_item, 2);
  EXPECT_EQ(l.light, 1);
  EXPECT_EQ(l.speed, 1);
  EXPECT_EQ(l.fx, 1);
  EXPECT_EQ(l.multi_color, 1);
  EXPECT_EQ(l.blue, 77);
  EXPECT_EQ(l.custom_group, 4);
}

DpiLimits mouse_limits() { return {50, 320, 100}; }

TEST(DpiEdits, EmptyUnreadableAndLowInputReadAsTheMinimum) {
  const DpiLimits l = mouse_limits();
  EXPECT_EQ(dpi_edit_value("", l), 100u);
  EXPECT_EQ(dpi_edit_value("abc", l), 100u);
  EXPECT_EQ(dpi_edit_value("60", l), 100u);
  EXPECT_EQ(dpi_edit_value("-800", l), 100u);
  EXPECT_EQ(dpi_edit_value("  1650dpi", l), 1650u);
  EXPECT_EQ(dpi_edit_value("", {50, 320, 0}), 0u);
}

TEST(DpiEdits, TypedValuesRoundDownToTheStepAndStayWithinTheSlider) {
  const DpiLimits l = mouse_limits();
  EXPECT_EQ(dpi_raw_for(1649, l), 32);
  EXPECT_EQ(dpi_edit_text(dpi_raw_for(1649, l), l), "1600");
  EXPECT_EQ(dpi_raw_for(dpi_edit_value("99999999999999999999999", l), l), 320);
  EXPECT_EQ(clamp_dpi_raw(0, l), 2);  // 100 DPI
  EXPECT_EQ(clamp_dpi_raw(400, l), 320);
  // A minimum between two steps rounds up, so no stage goes below it.
  const DpiLimits odd{50, 320, 130};
  EXPECT_EQ(dpi_raw_for(dpi_edit_value("", odd), odd), 3);
  // Before the mouse announced its slider there is no upper bound; a step of 0 counts as 1.
  EXPECT_EQ(clamp_dpi_raw(5000, {1, 0, 0}), 5000);
  std::array<uint8_t, 34> info{};
  info[kInfoDpiSliderMax] = 0x40, info[kInfoDpiSliderMax + 1] = 0x01;
  info[kInfoDpiMin] = 100;
  EXPECT_EQ(dpi_limits_from_info(info), (DpiLimits{1, 320, 100}));
}

TEST(DpiStageRules, TheLastActiveStageStaysOnAndItsCheckCannotBeClicked) {
  std::vector<DpiStage> stages(5);
  for (auto& s : stages) s.stage_active = 1;
  EXPECT_TRUE(may_switch_off(stages, 0));
  EXPECT_EQ(clickable_checks(stages), (std::array<bool, 5>{true, true, true, true, true}));
  for (size_t i = 1; i < 5; ++i) stages[i].stage_active = 0;
  EXPECT_EQ(active_stage_count(stages), 1u);
  EXPECT_FALSE(may_switch_off(stages, 0));
  EXPECT_TRUE(may_switch_off(stages, 3));  // already off
  EXPECT_FALSE(may_switch_off(stages, 7));
  EXPECT_EQ(clickable_checks(stages), (std::array<bool, 5>{false, true, true, true, true}));
  stages[2].stage_active = 1;
  EXPECT_EQ(clickable_checks(stages), (std::array<bool, 5>{true, true, true, true, true}));
}

TEST(MouseWindowsSettings, ValuesAndSwitchesAreStored) {
  MouseSystemStages s;
  apply_windows_setting(s, MouseWindowsSetting::PointerSpeed, 15);
  apply_windows_setting(s, MouseWindowsSetting::PointerPrecision, 7);
  apply_windows_setting(s, MouseWindowsSetting::DoubleClickTime, -3);
  apply_windows_setting(s, MouseWindowsSetting::WheelLines, 70000);
  EXPECT_EQ(s.mouse_speed, 15);
  EXPECT_EQ(s.pointer_precision, 1);
  EXPECT_EQ(s.double_click_time, 0);
  EXPECT_EQ(s.wheel_scroll_lines, 0xFFFF);
  EXPECT_EQ(windows_setting(s, MouseWindowsSetting::PointerSpeed), 15);
  EXPECT_EQ(double_click_inverse(3, 10), 8);
}

class RecoilFiles : public ::testing::Test {
 protected:
  void write_script(size_t n, size_t events) {
    Json::Value doc;
    doc["Events"] = Json::Value(Json::arrayValue);
    for (size_t e = 0; e < events; ++e) {
      Json::Value ev;
      ev["Action"] = e % 2 == 0 ? "down" : "up";
      ev["Button"] = static_cast<int>(e + 1);
      ev["Delay"] = static_cast<int>(10 * e);
      ev["Type"] = 4;
      doc["Events"].append(ev);
    }
    ASSERT_TRUE(WriteJsonFile(RecoilScriptPath(folder_.folder(), n), doc));
  }
  qxr::testing::TempFolder folder_;
};

TEST_F(RecoilFiles, MissingAndBrokenScriptsAreEmptyAndKeepTheirSlots) {
  write_script(0, 6);
  write_script(2, 3);
  {
    std::FILE* f = std::fopen(RecoilScriptPath(folder_.folder(), 3).c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("{ not json", f);
    std::fclose(f);
  }
  const auto scripts = ReadRecoilScripts(folder_.folder());
  ASSERT_EQ(scripts.size(), kRecoilScriptCount);
  EXPECT_EQ(scripts[0].size(), 6u);
  EXPECT_TRUE(scripts[1].empty());
  EXPECT_EQ(scripts[2].size(), 3u);
  EXPECT_TRUE(scripts[3].empty());
  const auto blob = build_recoil_blob(scripts);
  EXPECT_EQ(blob.size(), 16u + 4 * 6 + 4 * 9);
  EXPECT_EQ(RecoilScriptPath("/d/", 2), "/d/ShootData_2.Shoot");
}

}  // namespace
}  // namespace qxr::devices

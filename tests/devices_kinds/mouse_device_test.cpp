// The mouse device against the emulated mouse (whose ids are the mouse rows' 0/0), wired and
// through its receiver; the emulator's memories are checked afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "devices/mouse/mouse_device.h"
#include "devices/mouse/recoil_blob.h"
#include "profile/json_access.h"
#include "profile/json_file.h"
#include "profile/macro_files.h"
#include "tests/devices_kinds/kinds_fixture.h"

namespace qxr::devices::testing {
namespace {

using emu::DeviceType;
using emu::Memory;

constexpr DeviceType kMouse = DeviceType::Mouse;
// What the emulated mouse announces.
constexpr uint16_t kEmuDpiStep = 50;
constexpr uint16_t kEmuSliderMax = 320;

class MouseDeviceTest : public KindsTest {
 protected:
  static constexpr size_t kMouseLeds = 6;
  void SetUp() override {
    KindsTest::SetUp();
    ASSERT_TRUE(start({kMouse}));
    mouse_ = std::make_unique<CMarluneMouseDevice>(page_, mouse_page_);
    mouse_->set_profile_id(kTestProfileId);
    mouse_->set_led_count(kMouseLeds);
    mouse_->set_page_file("mousedevice.xml");
    mouse_->set_screen_size(1920, 1080);
  }
  void TearDown() override {
    mouse_.reset();
    KindsTest::TearDown();
  }
  int connect(bool receiver = false) {
    if (!mouse_->open_primary(path(kMouse), receiver)) return -1000;
    return mouse_->connect_now();
  }
  std::vector<uint8_t> block() const { return emu_->settings_block(kMouse, 0); }
  Json::Value stored_device() const { return ReadJsonFile(mouse_->profile_path())["Device"][0]; }
  // Commands that change the mouse or open a group since the counters were reset.
  uint32_t sends() const {
    uint32_t n = 0;
    for (uint8_t c : {protocol::CMD_BEGIN, protocol::CMD_WRITE_PARAMS, protocol::CMD_WRITE_KEYS,
                      protocol::CMD_WRITE_RECOIL, protocol::CMD_END, protocol::CMD_READ_PARAMS})
      n += emu_->exchanges(kMouse, c);
    return n;
  }

  RecordingMousePage mouse_page_;
  std::unique_ptr<CMarluneMouseDevice> mouse_;
};

TEST_F(MouseDeviceTest, ConnectMapsTheButtonsAndShowsTheDpiRanges) {
  ASSERT_EQ(connect(), 1);
  const MousePositionMap map = mouse_->position_map();
  EXPECT_EQ(map[0], 0);
  EXPECT_EQ(map[3], 4);  // this mouse reports forward after back
  EXPECT_EQ(map[4], 3);
  EXPECT_EQ(map[7], kNoMousePosition);
  EXPECT_EQ(map[9], kNoMousePosition);
  EXPECT_FALSE(emu_->in_transaction(kMouse));
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(mouse_page_.dpi(i).slider_max, kEmuSliderMax) << i;
    EXPECT_EQ(mouse_page_.dpi(i).edit_max, kEmuSliderMax * kEmuDpiStep) << i;
  }
  // The default profile's stages, the second one current.
  EXPECT_EQ(mouse_page_.dpi(1).raw, 32);
  EXPECT_EQ(mouse_page_.dpi(1).edit_text, "1600");
  EXPECT_TRUE(mouse_page_.dpi(1).current);
  EXPECT_FALSE(mouse_page_.dpi(0).current);
  EXPECT_TRUE(mouse_->light_thread_running());
  EXPECT_EQ(page_.polling_option(), 3);
}

TEST_F(MouseDeviceTest, WriteSettingsLeavesTheProfilesBlockInTheMouse) {
  ASSERT_EQ(connect(), 1);
  ASSERT_EQ(mouse_->write_settings_now(), 1);
  const std::vector<uint8_t> b = block();
  ASSERT_EQ(b.size(), kMouseBlockWriteSize);
  const Json::Value device = stored_device();
  const Json::Value& stages = device["DPIStages"]["StageDPIs"];
  for (Json::ArrayIndex i = 0; i < 5; ++i) {
    const uint8_t* s = &b[kMouseBlockStages + i * kDpiStageSize];
    EXPECT_EQ(s[0], ToInt(stages[i]["StageActive"])) << i;
    EXPECT_EQ(s[2] | s[3] << 8, ToInt(stages[i]["StageDPIX"])) << i;
    EXPECT_EQ(s[4] | s[5] << 8, ToInt(stages[i]["StageDPIY"])) << i;
    EXPECT_EQ(s[6], ToInt(stages[i]["StageColorR"])) << i;
  }
  EXPECT_EQ(b[kMouseBlockCurrentStage], ToInt(device["DPIStages"]["StageActive"]));
  EXPECT_EQ(b[kMouseBlockPolling], ToInt(device["ReportStages"]["StageActive"]));
  EXPECT_EQ(b[kMouseBlockMode], ToInt(device["LightInfo"]["SelectItem"]));
  EXPECT_EQ(b[kMouseBlockSpeed], 4 - ToInt(device["LightInfo"]["Speed"]));
  EXPECT_EQ(b[kMouseBlockThird], 1);
  EXPECT_EQ(b[kMouseBlockScreenWidth] | b[kMouseBlockScreenWidth + 1] << 8, 1920);
  EXPECT_EQ(b[kMouseBlockScreenHeight] | b[kMouseBlockScreenHeight + 1] << 8, 1080);
  EXPECT_FALSE(emu_->in_transaction(kMouse));
  EXPECT_EQ(emu_->counters(kMouse).unbracketed_writes, 0u);
}

TEST_F(MouseDeviceTest, AChangedScreenSizeReachesTheConnectedMouse) {
  ASSERT_EQ(connect(), 1);
  const uint32_t writes = emu_->exchanges(kMouse, protocol::CMD_WRITE_PARAMS);
  mouse_->set_screen_size(2560, 1440);
  mouse_->drain();
  const std::vector<uint8_t> b = block();
  EXPECT_EQ(b[kMouseBlockScreenWidth] | b[kMouseBlockScreenWidth + 1] << 8, 2560);
  EXPECT_EQ(b[kMouseBlockScreenHeight] | b[kMouseBlockScreenHeight + 1] << 8, 1440);
  EXPECT_EQ(page_.results(DeviceOperation::WriteSettings).back(), 1);
  // The same size again is nothing new for the mouse.
  const uint32_t after = emu_->exchanges(kMouse, protocol::CMD_WRITE_PARAMS);
  EXPECT_GT(after, writes);
  mouse_->set_screen_size(2560, 1440);
  mouse_->drain();
  EXPECT_EQ(emu_->exchanges(kMouse, protocol::CMD_WRITE_PARAMS), after);
}

TEST_F(MouseDeviceTest, TypedDpiIsReadWithItsRulesStoredSentAndShownAgain) {
  ASSERT_EQ(connect(), 1);
  // "" counts as 0 and is raised to the mouse's minimum (100 DPI = 2 units).
  ASSERT_EQ(mouse_->set_dpi_value_now(0, dpi_raw_for(dpi_edit_value("", mouse_->dpi_limits()), mouse_->dpi_limits())), 1);
  EXPECT_EQ(mouse_page_.dpi(0).edit_text, "100");
  EXPECT_EQ(block()[kMouseBlockStages + 2], 2);

  mouse_->set_dpi_edit_text(2, "1649");
  mouse_->set_dpi_edit_text(3, "40");
  mouse_->set_dpi_slider(4, 1000);
  mouse_->drain();
  EXPECT_EQ(mouse_page_.dpi(2).raw, 32);
  EXPECT_EQ(mouse_page_.dpi(2).edit_text, "1600");
  EXPECT_EQ(mouse_page_.dpi(3).edit_text, "100");
  EXPECT_EQ(mouse_page_.dpi(4).raw, kEmuSliderMax);
  const std::vector<uint8_t> b = block();
  EXPECT_EQ(b[kMouseBlockStages + 2 * kDpiStageSize + 2], 32);
  EXPECT_EQ(b[kMouseBlockStages + 3 * kDpiStageSize + 2], 2);
  EXPECT_EQ(b[kMouseBlockStages + 4 * kDpiStageSize + 2] | b[kMouseBlockStages + 4 * kDpiStageSize + 3] << 8,
            kEmuSliderMax);
  // Only X changes; the file has it too.
  const Json::Value stage2 = stored_device()["DPIStages"]["StageDPIs"][2];
  EXPECT_EQ(ToInt(stage2["StageDPIX"]), 32);
  EXPECT_EQ(ToInt(stage2["StageDPIY"]), 64);
  EXPECT_EQ(page_.results(DeviceOperation::WriteSettings), (std::vector<int>{1, 1, 1}));
}

TEST_F(MouseDeviceTest, TheLastActiveStageCannotBeSwitchedOff) {
  ASSERT_EQ(connect(), 1);
  for (int i = 1; i < 5; ++i) ASSERT_EQ(mouse_->set_dpi_stage_enabled_now(i, false), 1) << i;
  EXPECT_FALSE(mouse_page_.dpi(0).clickable);
  EXPECT_TRUE(mouse_page_.dpi(3).clickable);
  EXPECT_EQ(mouse_->set_dpi_stage_enabled_now(0, false), 0);
  EXPECT_TRUE(mouse_->dpi_stage_enabled(0));
  EXPECT_TRUE(mouse_page_.dpi(0).enabled);
  EXPECT_EQ(block()[kMouseBlockStages], 1);
  EXPECT_EQ(ToInt(stored_device()["DPIStages"]["StageDPIs"][0]["StageActive"]), 1);
  // Switching another one on makes every check clickable again.
  ASSERT_EQ(mouse_->set_dpi_stage_enabled_now(3, true), 1);
  EXPECT_TRUE(mouse_page_.dpi(0).clickable);
  EXPECT_EQ(block()[kMouseBlockStages + 3 * kDpiStageSize], 1);
  EXPECT_EQ(block()[kMouseBlockStages + 1 * kDpiStageSize], 0);
}

TEST_F(MouseDeviceTest, PollingOptionsOutsideTheFiveSelectTheFirst) {
  ASSERT_EQ(connect(), 1);
  ASSERT_EQ(mouse_->set_polling_rate_now(4), 1);
  EXPECT_EQ(block()[kMouseBlockPolling], 4);
  EXPECT_EQ(page_.polling_option(), 4);
  ASSERT_EQ(mouse_->set_polling_rate_now(5), 1);
  EXPECT_EQ(block()[kMouseBlockPolling], 0);
  EXPECT_EQ(page_.polling_option(), 0);
  EXPECT_EQ(ToInt(stored_device()["ReportStages"]["StageActive"]), 0);
  // A profile that holds an option out of range shows option 0.
  Json::Value file = ReadJsonFile(mouse_->profile_path());
  file["Device"][0]["ReportStages"]["StageActive"] = -1;
  ASSERT_TRUE(WriteJsonFile(mouse_->profile_path(), file));
  mouse_->load_profile_now();
  mouse_->apply_profile_to_page_now();
  EXPECT_EQ(page_.polling_option(), 0);
}

TEST_F(MouseDeviceTest, ThroughANotReadyReceiverNothingIsSentAndTheResultIsZero) {
  ASSERT_EQ(connect(true), 1);
  emu_->set_linked(kMouse, false);
  emu_->reset_counters(kMouse);
  EXPECT_EQ(mouse_->write_settings_now(), 0);
  EXPECT_EQ(mouse_->write_key_assignments_now(0, mouse_->key_list()), 0);
  EXPECT_EQ(mouse_->send_shoot_scripts_now(), 0);
  EXPECT_EQ(mouse_->refresh_from_device_now(nullptr), 0);
  EXPECT_EQ(sends(), 0u);
  EXPECT_GT(emu_->exchanges(kMouse, protocol::CMD_LINK_QUERY), 0u);
  // No light frames go through the receiver either.
  mouse_->lighting().step(0);
  mouse_->send_light_frame_now();
  EXPECT_EQ(emu_->counters(kMouse).light_frames, 0u);

  // Once the mouse answers again, the same block goes out.
  emu_->set_linked(kMouse, true);
  EXPECT_EQ(mouse_->write_settings_now(), 1);
  EXPECT_EQ(block()[kMouseBlockScreenWidth + 1], 1920 >> 8);
}

TEST_F(MouseDeviceTest, AWirelessConnectWhileTheMouseSleepsReadsNoTables) {
  emu_->set_linked(kMouse, false);
  EXPECT_EQ(connect(true), 0);
  EXPECT_EQ(emu_->exchanges(kMouse, protocol::CMD_READ_INFO), 0u);
  const MousePositionMap map = mouse_->position_map();
  EXPECT_TRUE(std::all_of(map.begin(), map.end(), [](uint8_t p) { return p == kNoMousePosition; }));
}

TEST_F(MouseDeviceTest, KeyAssignmentsLandAtTheButtonsPositionsUnrenumbered) {
  ASSERT_EQ(connect(), 1);
  const std::vector<uint8_t> before = memory(kMouse, Memory::kKeys);
  std::vector<KeyAssignRecord> keys = mouse_->key_list();
  ASSERT_EQ(keys.size(), kMouseLogicalButtons);
  keys[3].assignment = {3, 0x70, 6, 0};   // forward plays macro 6
  keys[0].assignment = {0, 0x10, 0x02, 0};  // left acts as right
  keys[8].assignment = {8, 0x20, 0, 0x04};  // a button this mouse lacks
  ASSERT_EQ(mouse_->write_key_assignments_now(0, keys), 1);
  const std::vector<uint8_t> after = memory(kMouse, Memory::kKeys);
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(std::vector<uint8_t>(after.begin() + 12, after.begin() + 15), (std::vector<uint8_t>{0x70, 6, 0}));
  EXPECT_EQ(std::vector<uint8_t>(after.begin(), after.begin() + 3), (std::vector<uint8_t>{0x10, 0x02, 0}));
  EXPECT_TRUE(std::equal(after.begin() + 3, after.begin() + 12, before.begin() + 3));
  EXPECT_TRUE(std::equal(after.begin() + 15, after.end(), before.begin() + 15));
  EXPECT_FALSE(emu_->in_transaction(kMouse));
}

TEST_F(MouseDeviceTest, RecoilScriptsReachTheMouseWithMissingFilesAsEmptyScripts) {
  ASSERT_EQ(connect(), 1);
  const std::string folder = mouse_->user_data_folder();
  Json::Value script;
  script["Events"] = Json::Value(Json::arrayValue);
  for (int e = 0; e < 4; ++e) {
    Json::Value ev;
    ev["Action"] = e == 0 ? "down" : "up";
    ev["Button"] = 1 + e;
    ev["Delay"] = 10 * (e + 1);
    ev["Type"] = e < 2 ? 1 : 5;
    script["Events"].append(ev);
  }
  ASSERT_TRUE(WriteJsonFile(RecoilScriptPath(folder, 1), script));
  ASSERT_EQ(mouse_->send_shoot_scripts_now(), 1);
  const emu::ImageInfo image = emu_->recoil_image(kMouse);
  ASSERT_EQ(image.state, emu::ImageState::kValid);
  ASSERT_EQ(image.records.size(), kRecoilScriptCount);
  EXPECT_EQ(image.records[0].event_count, 0);
  EXPECT_EQ(image.records[1].event_count, 4);
  EXPECT_EQ(image.records[2].event_count, 0);
  EXPECT_EQ(image.records[3].event_count, 0);
  // First event: delay 10 (little-endian), mouse-button type pressed, button 1.
  ASSERT_EQ(image.records[1].events.size(), 16u);
  EXPECT_EQ(image.records[1].events[0], 10);
  EXPECT_EQ(image.records[1].events[1], 0);
  EXPECT_EQ(image.records[1].events[2], 1 | kMacroEventDown);
  EXPECT_EQ(image.records[1].events[3], 1);
  EXPECT_EQ(image.announced, 16u + 24 + 16);
  EXPECT_FALSE(emu_->in_transaction(kMouse));
}

TEST_F(MouseDeviceTest, RefreshTurnsTheSpeedBackAndTakesTheCurrentStage) {
  ASSERT_EQ(connect(), 1);
  LightInfo light = mouse_->GetLightInfo();
  light.select_item = 5;
  light.speed = 1;
  light.fx = 1;
  mouse_->set_lighting_state(light);
  mouse_->drain();
  ASSERT_EQ(mouse_->write_settings_now(), 1);
  // The mouse's own button moves it to stage 3 and flips the direction byte, which is not read back.
  ASSERT_TRUE(emu_->poke(kMouse, Memory::kParams, kMouseBlockCurrentStage, {3}));
  ASSERT_TRUE(emu_->poke(kMouse, Memory::kParams, kMouseBlockFx, {0}));
  ASSERT_TRUE(emu_->poke(kMouse, Memory::kParams, kMouseBlockCleared, {0x77}));
  int profile = -1;
  ASSERT_EQ(mouse_->refresh_from_device_now(&profile), 1);
  EXPECT_EQ(profile, 0);
  const LightInfo back = mouse_->GetLightInfo();
  EXPECT_EQ(back.select_item, 5);
  EXPECT_EQ(back.speed, 1);
  EXPECT_EQ(back.fx, 1);
  EXPECT_EQ(mouse_->current_dpi_stage(), 3);
  EXPECT_EQ(mouse_->last_settings_block()[kMouseBlockCleared], 0);
  EXPECT_EQ(mouse_->lighting().current_effect(), LoopEffect::Zones);
  const Json::Value device = stored_device();
  EXPECT_EQ(ToInt(device["DPIStages"]["StageActive"]), 3);
  EXPECT_EQ(ToInt(device["LightInfo"]["Speed"]), 1);
}

TEST_F(MouseDeviceTest, WindowsSettingsAreKeptInTheProfileAndNeverSent) {
  ASSERT_EQ(connect(), 1);
  emu_->reset_counters(kMouse);
  mouse_->set_windows_setting_now(MouseWindowsSetting::PointerSpeed, 17);
  mouse_->set_windows_setting_now(MouseWindowsSetting::ScrollPage, 1);
  EXPECT_EQ(emu_->counters(kMouse).requests, 0u);
  EXPECT_EQ(mouse_page_.windows().mouse_speed, 17);
  EXPECT_EQ(mouse_->windows_setting_value(MouseWindowsSetting::ScrollPage), 1);
  const Json::Value stages = stored_device()["SystemStages"];
  EXPECT_EQ(ToInt(stages["MouseSpeed"]), 17);
  EXPECT_EQ(ToInt(stages["ScorllPage"]), 1);
}

TEST_F(MouseDeviceTest, LightFramesColourTheLogoAndReachAWiredMouse) {
  // Opened but not connected: no light thread sends frames behind the test's back.
  ASSERT_TRUE(mouse_->open_primary(path(kMouse), false));
  mouse_->set_lighting_state(static_colour(mouse_->GetLightInfo(), 0, 0, 255));
  mouse_->drain();
  mouse_->lighting().step(0);
  mouse_->set_selection(2);
  mouse_->send_light_frame_now();
  ASSERT_EQ(mouse_page_.logo_lights().size(), kMouseLeds);
  EXPECT_EQ(mouse_page_.logo_lights()[5], (IndicatorColour{0, 0, 255, 255}));
  ASSERT_TRUE(mouse_page_.logo_button().has_value());
  EXPECT_EQ(*mouse_page_.logo_button(), (IndicatorColour{0, 0, 255, 255}));
  EXPECT_EQ(mouse_page_.redraws(), 1);
  const std::vector<uint8_t> frame = memory(kMouse, Memory::kLightFrame);
  ASSERT_EQ(frame.size(), kMouseLeds * 3);
  EXPECT_EQ(frame[5 * 3 + 2], 254);
}

TEST_F(MouseDeviceTest, TabsFallBackToTheFirstAndTheFunctionSwitchHidesTheTip) {
  mouse_page_.set_tab_count(2);
  mouse_->bind_page_controls();
  EXPECT_EQ(mouse_page_.selected_tab(), 0);
  mouse_->SelectSettingsTab(1);
  EXPECT_EQ(mouse_page_.selected_tab(), 1);
  mouse_->SelectSettingsTab(2);
  EXPECT_EQ(mouse_page_.selected_tab(), 0);
  mouse_->set_function_switch(3);
  ASSERT_TRUE(mouse_page_.tip().has_value());
  EXPECT_FALSE(*mouse_page_.tip());
}

TEST_F(MouseDeviceTest, MacroAssignmentsToMissingMacrosRevertToTheirDefaults) {
  ASSERT_EQ(connect(), 1);
  std::vector<KeyAssignRecord> keys = mouse_->key_list();
  keys[2].assignment = {2, 0x70, 0, 0};  // macro 0, but the macro list is empty
  mouse_->store_key_list(keys);
  mouse_->drain();
  EXPECT_TRUE(mouse_->check_macro_keys_now());
  EXPECT_EQ(mouse_->key_list()[2].assignment, mouse_->key_list()[2].default_assignment);
}

}  // namespace
}  // namespace qxr::devices::testing

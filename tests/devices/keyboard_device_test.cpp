// The keyboard device against the emulated keyboard: the real transport, the real firmware
// model, the emulator's memories checked afterwards.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/debug_line.h"
#include "devices/keyboard/key_assignments.h"
#include "devices/keyboard/macro_blob.h"
#include "profile/data_paths.h"
#include "profile/json_file.h"
#include "profile/light_config.h"
#include "profile/macro_files.h"
#include "tests/devices/emulated_keyboard.h"

namespace qxr::devices::testing {
namespace {

using emu::DeviceType;
using emu::Memory;

constexpr DeviceType kKb = DeviceType::Keyboard;

KeyCode code_at(const std::vector<uint8_t>& table, size_t pos) {
  return {table[pos * 3], table[pos * 3 + 1], table[pos * 3 + 2]};
}

using KeyboardConnect = EmulatedKeyboardTest;

TEST_F(KeyboardConnect, MapsEveryLogicalKeyFromTheKeyboardsOwnTables) {
  ASSERT_EQ(connect(), 1);
  const std::vector<uint8_t> keys = memory(Memory::kKeys);
  const std::vector<uint8_t> leds = memory(Memory::kLedMap);
  const size_t count = memory(Memory::kInfo)[kInfoKeyCount];
  ASSERT_EQ(keys.size(), count * 3);
  KeyMaps maps = kb_->key_maps();
  for (size_t j = 0; j < kLogicalKeyCount; ++j) {
    size_t expected = kNoPosition;
    for (size_t k = 0; k < count && expected == kNoPosition; ++k)
      if (code_at(keys, k) == DefaultKeyCodes[j]) expected = k;
    EXPECT_EQ(maps.position[j], expected) << "logical key " << j;
    uint8_t expected_led =
        (expected == kNoPosition || expected == kPositionWithoutLed) ? kNoLed : leds[expected];
    EXPECT_EQ(maps.led[j], expected_led) << "logical key " << j;
  }
  // The group opened by the table read was closed again.
  EXPECT_FALSE(emu_->in_transaction(kKb));
}

TEST_F(KeyboardConnect, EdgeCasesOfTheMaps) {
  ASSERT_EQ(connect(), 1);
  KeyMaps maps = kb_->key_maps();
  const std::vector<uint8_t> keys = memory(Memory::kKeys);
  // A key this board lacks (its code is on no position) keeps 255 and no LED.
  size_t missing = 0;
  for (size_t j = 0; j < kLogicalKeyCount; ++j) {
    bool on_board = false;
    for (size_t k = 0; k < keys.size() / 3; ++k) on_board |= code_at(keys, k) == DefaultKeyCodes[j];
    if (!on_board) {
      ++missing;
      EXPECT_EQ(maps.position[j], kNoPosition) << j;
      EXPECT_EQ(maps.led[j], kNoLed) << j;
    }
  }
  EXPECT_GT(missing, 0u);
  // Keys with the same (empty) default code all take the first position holding it.
  ASSERT_EQ(DefaultKeyCodes[18], DefaultKeyCodes[104]);
  EXPECT_NE(maps.position[18], kNoPosition);
  EXPECT_EQ(maps.position[18], maps.position[104]);
  EXPECT_EQ(maps.position[18], maps.position[169]);
  // The key at position 71 has no LED although the keyboard's LED table names one.
  int at71 = maps.logical_key_at(kPositionWithoutLed);
  ASSERT_GE(at71, 0);
  EXPECT_NE(memory(Memory::kLedMap)[kPositionWithoutLed], kNoLed);
  EXPECT_EQ(maps.led[static_cast<size_t>(at71)], kNoLed);
}

TEST_F(KeyboardConnect, ClosedChannelReadsNothingAndKeepsMapsEmpty) {
  EXPECT_EQ(kb_->connect_now(), 0);
  KeyMaps maps = kb_->key_maps();
  EXPECT_TRUE(
      std::all_of(maps.position.begin(), maps.position.end(), [](uint8_t p) { return p == kNoPosition; }));
  EXPECT_EQ(emu_->exchanges(kKb, protocol::CMD_READ_INFO), 0u);
}

TEST_F(KeyboardConnect, OversizedKeyTableIsRefusedAndTheGroupStillEnds) {
  ASSERT_TRUE(emu_->poke(kKb, Memory::kInfo, kInfoKeyCount, {171}));  // 513 table bytes
  EXPECT_NE(connect(), 1);
  EXPECT_EQ(emu_->exchanges(kKb, protocol::CMD_READ_KEYS), 0u);
  EXPECT_FALSE(emu_->in_transaction(kKb));
  KeyMaps maps = kb_->key_maps();
  EXPECT_TRUE(
      std::all_of(maps.position.begin(), maps.position.end(), [](uint8_t p) { return p == kNoPosition; }));
}

using KeyboardSettings = EmulatedKeyboardTest;

TEST_F(KeyboardSettings, BlockBytesInDeviceMemory) {
  ASSERT_EQ(connect(), 1);
  LightInfo l = kb_->GetLightInfo();
  l.select_item = 5;
  l.light = 3;
  l.speed = 1;
  l.fx = 0;
  l.multi_color = 0;
  l.red = 11;
  l.green = 22;
  l.blue = 33;
  l.zzcc_led_mode = 2;
  l.custom_group = 3;
  kb_->set_lighting_state(l);
  kb_->set_system_setting(SystemSetting::PollingRate, 2);
  kb_->set_system_setting(SystemSetting::Key6, 1);
  kb_->set_system_setting(SystemSetting::WinLock, 1);
  kb_->drain();
  ASSERT_EQ(kb_->write_settings_now(), 1);
  std::vector<uint8_t> b = emu_->settings_block(kKb, 0);
  ASSERT_EQ(b.size(), kSettingsBlockSize);
  EXPECT_EQ(b[kBlockMode], 5);
  EXPECT_EQ(b[kBlockLight], 3);
  EXPECT_EQ(b[kBlockSpeed], 3);  // turned back: 4 - 1
  EXPECT_EQ(b[kBlockFx], 0);
  EXPECT_EQ(b[kBlockMultiColor], 0);
  EXPECT_EQ(b[kBlockRed], 11);
  EXPECT_EQ(b[kBlockGreen], 22);
  EXPECT_EQ(b[kBlockBlue], 33);
  EXPECT_EQ(b[kBlockZzccLedMode], 2);
  EXPECT_EQ(b[kBlockKey6Flag], 1);
  EXPECT_EQ(b[kBlockWinFlag], 1);
  EXPECT_EQ(b[kBlockPollingRate], 2);
  EXPECT_EQ(b[kBlockCustomGroup], 3);
  EXPECT_FALSE(emu_->in_transaction(kKb));
}

TEST_F(KeyboardSettings, StreamedModesGoToTheKeyboardAsUnchanged) {
  ASSERT_EQ(connect(), 1);
  for (uint8_t mode : {kMusicMode, kFedColourMode}) {
    LightInfo l = kb_->GetLightInfo();
    l.select_item = mode;
    kb_->set_lighting_state(l);
    kb_->drain();
    ASSERT_EQ(kb_->write_settings_now(), 1);
    EXPECT_EQ(emu_->settings_block(kKb, 0)[kBlockMode], kModeUnchanged) << int(mode);
  }
}

TEST_F(KeyboardSettings, ReadBackKeepsTheUsersSpeedAndMode) {
  ASSERT_EQ(connect(), 1);
  LightInfo l = kb_->GetLightInfo();
  l.select_item = 8;
  l.speed = 1;
  kb_->set_lighting_state(l);
  kb_->drain();
  ASSERT_EQ(kb_->write_settings_now(), 1);
  l.speed = 4;  // a stale local value, replaced by what the keyboard holds
  kb_->set_lighting_state(l);
  kb_->drain();
  int profile = -1;
  ASSERT_EQ(kb_->refresh_from_device_now(&profile), 1);
  EXPECT_EQ(profile, 0);
  EXPECT_EQ(kb_->GetLightInfo().speed, 1);
  EXPECT_EQ(kb_->GetLightInfo().select_item, 8);
  EXPECT_EQ(kb_->condensed_settings().speed, 1);
  EXPECT_EQ(kb_->condensed_settings().mode, 8);
}

TEST_F(KeyboardSettings, UnchangedModeByteKeepsThePreviousMode) {
  ASSERT_EQ(connect(), 1);
  LightInfo l = kb_->GetLightInfo();
  l.select_item = kFedColourMode;
  kb_->set_lighting_state(l);
  kb_->drain();
  ASSERT_EQ(kb_->write_settings_now(), 1);  // the keyboard now holds 0xFE
  ASSERT_EQ(kb_->refresh_from_device_now(nullptr), 1);
  EXPECT_EQ(kb_->GetLightInfo().select_item, kFedColourMode);
}

TEST_F(KeyboardSettings, FailedReadLeavesLightingAndProfileAlone) {
  ASSERT_EQ(connect(), 1);
  LightInfo before = kb_->GetLightInfo();
  emu_->set_fault(kKb, emu::FaultMode::kStatusFF, 1);
  EXPECT_EQ(kb_->refresh_from_device_now(nullptr), protocol::kResultStatusFF);
  EXPECT_EQ(kb_->GetLightInfo(), before);
}

TEST_F(KeyboardSettings, RefusedWriteIsReportedAsAFailure) {
  ASSERT_EQ(connect(), 1);
  emu_->set_fault(kKb, emu::FaultMode::kStatusFF);
  EXPECT_NE(kb_->write_settings_now(), 1);
  emu_->clear_faults(kKb);
  kb_->write_settings();
  kb_->drain();
  EXPECT_EQ(page_.results(DeviceOperation::WriteSettings).back(), 1);
}

using KeyboardKeys = EmulatedKeyboardTest;

TEST_F(KeyboardKeys, KeyTableCarriesSlotsNumberedByFirstUse) {
  ASSERT_EQ(connect(), 1);
  write_macros({2, 2, 2});
  std::vector<KeyAssignRecord> keys = kb_->key_list();
  ASSERT_GE(keys.size(), 40u);
  auto macro = [&](size_t key, uint8_t index) {
    keys[key].assignment.type = kAssignMacro;
    keys[key].assignment.d1 = index;
    keys[key].assignment.d2 = 1;
  };
  macro(10, 2);
  macro(22, 0);
  macro(30, 2);  // the same macro as key 10: one slot for both
  macro(35, 9);  // no such macro: the key's default goes out
  ASSERT_EQ(kb_->write_key_assignments_now(0, keys), 1);
  KeyMaps maps = kb_->key_maps();
  std::vector<uint8_t> table = memory(Memory::kKeys);
  EXPECT_EQ(code_at(table, maps.position[10]), (KeyCode{kAssignMacro, 0, 1}));
  EXPECT_EQ(code_at(table, maps.position[22]), (KeyCode{kAssignMacro, 1, 1}));
  EXPECT_EQ(code_at(table, maps.position[30]), (KeyCode{kAssignMacro, 0, 1}));
  const KeyAssignment& def = keys[35].default_assignment;
  EXPECT_EQ(code_at(table, maps.position[35]), (KeyCode{def.type, def.d1, def.d2}));
  // Untouched keys keep their code.
  EXPECT_EQ(code_at(table, maps.position[0]), DefaultKeyCodes[0]);
  EXPECT_FALSE(emu_->in_transaction(kKb));
}

TEST_F(KeyboardKeys, CollectedMacrosMatchTheSlotOrder) {
  ASSERT_EQ(connect(), 1);
  write_macros({1, 1, 1, 1});
  std::vector<KeyAssignRecord> keys = kb_->key_list();
  keys[50].assignment = {50, kAssignMacroRepeat, 3, 0};
  keys[12].assignment = {12, kAssignMacro, 1, 0};
  keys[60].assignment = {60, kAssignMacro, 3, 0};
  ASSERT_EQ(kb_->write_key_assignments_now(0, keys), 1);
  kb_->store_key_list(keys);  // as the key panel keeps a list
  kb_->SendProfileKeys(0);    // the profile's own list, sent through the executor
  kb_->send_macros();         // the macros those keys use
  kb_->drain();
  EXPECT_EQ(page_.results(DeviceOperation::WriteKeyAssignments).back(), 1);
  EXPECT_EQ(page_.results(DeviceOperation::WriteMacros).back(), 0);

  // Slots by first use in ascending key order: key 12's macro 1, then key 50's macro 3, which
  // key 60 shares. The image holds those macros in that order, the keys name their slots.
  const emu::ImageInfo image = emu_->macro_image(emu::DeviceType::Keyboard);
  ASSERT_EQ(image.state, emu::ImageState::kValid);
  ASSERT_EQ(image.records.size(), 2u);
  const std::optional<std::vector<MacroEntry>> list = ReadMacroList(user_folder() + kMacroConfigFile);
  ASSERT_TRUE(list && list->size() == 4u);
  for (size_t slot = 0; slot < 2; ++slot) {
    const size_t macro = slot == 0 ? 1 : 3;
    const std::vector<MacroEvent> events = ReadMacroEvents(MacroFilePath(user_folder(), (*list)[macro]));
    ASSERT_EQ(image.records[slot].event_count, events.size()) << slot;
    std::vector<uint8_t> expected(events.size() * kMacroEventSize);
    for (size_t e = 0; e < events.size(); ++e) encode_macro_event(events[e], &expected[e * kMacroEventSize]);
    EXPECT_EQ(image.records[slot].events, expected) << "slot " << slot << " should hold macro " << macro;
  }
  const KeyMaps maps = kb_->key_maps();
  const std::vector<uint8_t> table = memory(Memory::kKeys);
  EXPECT_EQ(code_at(table, maps.position[12]), (KeyCode{kAssignMacro, 0, 0}));
  EXPECT_EQ(code_at(table, maps.position[50]), (KeyCode{kAssignMacroRepeat, 1, 0}));
  EXPECT_EQ(code_at(table, maps.position[60]), (KeyCode{kAssignMacro, 1, 0}));
}

TEST_F(KeyboardKeys, TheSelectedKeyTakesAnAssignmentAndItsDefaultBack) {
  ASSERT_EQ(connect(), 1);
  KeyAssignments* keys = kb_->key_assignments();
  ASSERT_NE(keys, nullptr);
  keys->select_key(10);
  const std::optional<KeyAssignRecord> before = keys->selected_key_record();
  ASSERT_TRUE(before);
  const size_t position = kb_->key_maps().position[10];
  keys->assign_selected_key(0x20, 0x02, 0x04);
  kb_->drain();
  EXPECT_EQ(code_at(memory(Memory::kKeys), position), (KeyCode{0x20, 0x02, 0x04}));
  EXPECT_EQ(keys->selected_key_record()->assignment, (KeyAssignment{10, 0x20, 0x02, 0x04}));
  EXPECT_EQ(page_.results(DeviceOperation::WriteKeyAssignments).back(), 1);
  EXPECT_GE(page_.count("key_list_changed"), 1);
  // Stored: a keyboard made afresh on the same profile reads it back.
  {
    RecordingPage other_page;
    CMarluneKeyboardDevice other(other_page);
    other.set_profile_id("2024_01_02_03_04_05_006");
    other.load_profile_now();
    EXPECT_EQ(other.key_list().at(10).assignment, (KeyAssignment{10, 0x20, 0x02, 0x04}));
  }
  keys->restore_selected_key_default();
  kb_->drain();
  const KeyAssignment& factory = before->default_assignment;
  EXPECT_EQ(code_at(memory(Memory::kKeys), position), (KeyCode{factory.type, factory.d1, factory.d2}));
  EXPECT_EQ(keys->selected_key_record()->assignment, factory);
  // No key selected: nothing is stored or sent.
  keys->select_key(-1);
  EXPECT_FALSE(keys->selected_key_record());
  keys->assign_selected_key(0x20, 0, 5);
  kb_->drain();
  EXPECT_EQ(page_.results(DeviceOperation::WriteKeyAssignments).back(), protocol::kResultBadRequest);
}

TEST_F(KeyboardKeys, ClosedChannelSendsNothing) {
  EXPECT_EQ(kb_->write_key_assignments_now(0, {}), 0);
  EXPECT_EQ(emu_->exchanges(kKb, protocol::CMD_WRITE_KEYS), 0u);
}

using KeyboardMacros = EmulatedKeyboardTest;

TEST_F(KeyboardMacros, ImageOfExactCapacityIsAcceptedOneEventMoreIsCounted) {
  ASSERT_EQ(connect(), 1);
  const size_t capacity = size_t{memory(Memory::kInfo)[kInfoMacroCapacity]} * kMacroCapacityUnit;
  // Two macros: 16 + 2 x 6 + 4 x events bytes.
  const size_t events = (capacity - 16 - 12) / 4;
  ASSERT_EQ(16 + 12 + 4 * events, capacity);
  write_macros({events - 10, 10});
  EXPECT_EQ(kb_->write_macros_now({0, 1}), 0);
  emu::ImageInfo image = emu_->macro_image(kKb);
  EXPECT_EQ(image.state, emu::ImageState::kValid);
  EXPECT_EQ(image.announced, capacity);
  ASSERT_EQ(image.records.size(), 2u);
  EXPECT_FALSE(emu_->in_transaction(kKb));

  uint32_t sent = emu_->exchanges(kKb, protocol::CMD_WRITE_MACROS);
  write_macros({events - 10, 11});
  EXPECT_EQ(kb_->write_macros_now({0, 1}), macro_overflow_count(capacity + 4, capacity));
  EXPECT_EQ(emu_->exchanges(kKb, protocol::CMD_WRITE_MACROS), sent);
}

TEST_F(KeyboardMacros, NothingToSendGivesZeroWithoutTraffic) {
  ASSERT_EQ(connect(), 1);
  EXPECT_EQ(kb_->write_macros_now({0}), 0);  // no macro.config yet
  write_macros({3});
  EXPECT_EQ(kb_->write_macros_now({}), 0);
  EXPECT_EQ(emu_->exchanges(kKb, protocol::CMD_WRITE_MACROS), 0u);
}

TEST_F(KeyboardMacros, ARefusedImageIsNotReportedAsSent) {
  ASSERT_EQ(connect(), 1);
  write_macros({4});
  emu_->set_fault(kKb, emu::FaultMode::kStatusFF);
  EXPECT_EQ(kb_->write_macros_now({0}), protocol::kResultStatusFF);
  emu_->clear_faults(kKb);
  kb_->write_macros({0});
  kb_->drain();
  EXPECT_EQ(page_.results(DeviceOperation::WriteMacros).back(), 0);
}

TEST_F(KeyboardMacros, CheckMacroKeysReadsTheMacroListItChecksAgainst) {
  // Connected before any macro existed: the cached list is empty. Macros made since must not
  // count as missing, or every macro key would fall back to its default.
  ASSERT_EQ(connect(), 1);
  write_macros({1, 1});
  std::vector<KeyAssignRecord> keys = kb_->key_list();
  keys[5].assignment = {5, kAssignMacro, 1, 0};
  kb_->store_key_list(keys);
  kb_->drain();
  EXPECT_FALSE(kb_->check_macro_keys_now());
  EXPECT_EQ(kb_->key_list()[5].assignment, (KeyAssignment{5, kAssignMacro, 1, 0}));
}

TEST_F(KeyboardMacros, CheckMacroKeysRevertsKeysOfDeletedMacros) {
  ASSERT_EQ(connect(), 1);
  write_macros({1, 1});
  ASSERT_EQ(kb_->LoadLightConfig(), 1);
  ASSERT_EQ(kb_->light_config().macro_names.size(), 2u);
  std::vector<KeyAssignRecord> keys = kb_->key_list();
  keys[5].assignment = {5, kAssignMacro, 1, 0};
  keys[6].assignment = {6, kAssignMacroRepeat, 2, 0};  // macro 2 does not exist
  kb_->store_key_list(keys);
  kb_->drain();
  page_.clear();
  EXPECT_TRUE(kb_->check_macro_keys_now());
  std::vector<KeyAssignRecord> now = kb_->key_list();
  EXPECT_EQ(now[5].assignment.type, kAssignMacro);
  EXPECT_EQ(now[6].assignment, now[6].default_assignment);
  EXPECT_EQ(page_.count("key_list_changed"), 1);
  EXPECT_FALSE(kb_->check_macro_keys_now());
}

using KeyboardColours = EmulatedKeyboardTest;

TEST_F(KeyboardColours, CustomColourLandsAtTheGroupsOffset) {
  ASSERT_EQ(connect(), 1);
  LightInfo l = kb_->GetLightInfo();
  l.select_item = kCustomMode;
  l.custom_group = 2;
  l.red = 10;
  l.green = 200;
  l.blue = 77;
  kb_->set_lighting_state(l);
  kb_->drain();
  const size_t key = 30;
  ASSERT_EQ(kb_->set_custom_key_colour_now(static_cast<int>(key)), 1);
  KeyMaps maps = kb_->key_maps();
  ASSERT_NE(maps.led[key], kNoLed);
  std::vector<uint8_t> colours = memory(Memory::kKeyColours);
  size_t at = 2 * kCustomColourSlotSize + size_t{maps.led[key]} * 3;
  ASSERT_GT(colours.size(), at + 2);
  EXPECT_EQ(colours[at], 10);
  EXPECT_EQ(colours[at + 1], 200);
  EXPECT_EQ(colours[at + 2], 77);
  EXPECT_EQ(kb_->custom_colours()[key], (CustomColour{10, 200, 77, kb_->custom_colours()[key].alpha}));
}

TEST_F(KeyboardColours, OnlyTheCustomModeTakesKeyColours) {
  ASSERT_EQ(connect(), 1);
  LightInfo l = kb_->GetLightInfo();
  l.select_item = 6;
  kb_->set_lighting_state(l);
  kb_->drain();
  EXPECT_NE(kb_->set_custom_key_colour_now(3), 1);
  EXPECT_EQ(emu_->exchanges(kKb, protocol::CMD_WRITE_KEY_COLOURS), 0u);
}

using KeyboardEvents = EmulatedKeyboardTest;

TEST_F(KeyboardEvents, KeyPressesReachOnKeyEventUnknownPositionsDoNot) {
  ASSERT_EQ(connect(), 1);
  ASSERT_TRUE(kb_->StartSyncThread(emu_->hid_path(kKb, kConsumerCollection)));
  KeyMaps maps = kb_->key_maps();
  const size_t key = 44;
  ASSERT_NE(maps.position[key], kNoPosition);
  // A position no logical key uses.
  int unused = -1;
  for (int k = 0; k < 126 && unused < 0; ++k)
    if (maps.logical_key_at(static_cast<uint8_t>(k)) < 0) unused = k;
  ASSERT_GE(unused, 0);

  ASSERT_TRUE(emu_->press_key(kKb, static_cast<uint8_t>(unused)));
  ASSERT_TRUE(emu_->press_key(kKb, maps.position[key]));
  ASSERT_TRUE(emu_->release_key(kKb, maps.position[key]));
  ASSERT_TRUE(page_.wait_until([&] { return kb_->reactions().size() >= 2; }));
  auto r = kb_->reactions();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].key, key);
  EXPECT_EQ(r[0].state, kKeyPressed);
  EXPECT_EQ(r[1].key, key);
  EXPECT_EQ(r[1].state, kKeyReleased);
  EXPECT_EQ(kb_->StopSyncThread(), WorkerThread::StopOutcome::Ended);
}

TEST_F(KeyboardEvents, SyncRequestSchedulesARefresh) {
  ASSERT_EQ(connect(), 1);
  DebugCapture capture;
  ASSERT_TRUE(kb_->StartSyncThread(emu_->hid_path(kKb, kConsumerCollection)));
  ASSERT_TRUE(emu_->settings_changed(kKb, kEventSyncRequest));
  ASSERT_TRUE(page_.wait_until([&] { return !page_.refresh_requests().empty(); }));
  EXPECT_EQ(page_.refresh_requests().front(), kKeyboardSyncRefreshDelayMs);
  EXPECT_EQ(capture.count(kSyncRequestLine), 1);
  EXPECT_GE(capture.count(kSyncReportLine), 1);
  EXPECT_EQ(kb_->StopSyncThread(), WorkerThread::StopOutcome::Ended);
  EXPECT_EQ(capture.count(kEventThreadExitLine), 1);
}

TEST_F(KeyboardEvents, OnboardProfileChangeIsPickedUpByTheRefresh) {
  ASSERT_EQ(connect(), 1);
  LightInfo l = kb_->GetLightInfo();
  l.select_item = 9;
  kb_->set_lighting_state(l);
  kb_->drain();
  ASSERT_EQ(kb_->write_settings_now({.onboard_profile = 1, .profile_byte = 1}), 1);  // profile 1 now holds mode 9
  ASSERT_TRUE(kb_->StartSyncThread(emu_->hid_path(kKb, kConsumerCollection)));
  l.select_item = 3;
  kb_->set_lighting_state(l);
  kb_->drain();
  ASSERT_TRUE(emu_->set_active_profile(kKb, 1, true));
  ASSERT_TRUE(page_.wait_until([&] { return !page_.refresh_requests().empty(); }));
  // What the owner's read timer then runs:
  kb_->refresh_from_device();
  kb_->drain();
  EXPECT_EQ(kb_->GetLightInfo().select_item, 9);
  EXPECT_EQ(kb_->last_settings_block()[kBlockProfile], 1);
}

using KeyboardStream = EmulatedKeyboardTest;

TEST_F(KeyboardStream, FedColourModeStreamsTheFrameOthersDoNot) {
  ASSERT_EQ(connect(), 1);
  kb_->stop_light_thread();  // the frames are the test's alone
  LightInfo l = kb_->GetLightInfo();
  l.select_item = 6;
  l.light = 4;
  kb_->set_lighting_state(l);
  kb_->drain();
  kb_->send_light_frame_now();
  EXPECT_EQ(emu_->counters(kKb).light_frames, 0u);
  EXPECT_GE(page_.count("show_indicators"), 1);

  l.select_item = kFedColourMode;
  kb_->set_lighting_state(l);
  kb_->drain();
  const uint8_t levels[6] = {40, 80, 120, 0, 0, 0};
  kb_->FeedLevels(levels, 6);
  kb_->lighting().step(0);
  kb_->send_light_frame_now();
  EXPECT_GE(emu_->counters(kKb).light_frames, 1u);
  KeyMaps maps = kb_->key_maps();
  std::vector<IndicatorColour> shown = page_.last_indicators();
  ASSERT_EQ(shown.size(), kLogicalKeyCount);
  const size_t key = 44;
  const IndicatorColour& c = shown[key];
  EXPECT_EQ(c.red, 40);
  EXPECT_EQ(c.green, 80);
  EXPECT_EQ(c.blue, 120);
  size_t at = size_t{maps.led[key]} * 3;
  const std::vector<uint8_t> frame = memory(Memory::kLightFrame);
  ASSERT_GT(frame.size(), at + 2);
  EXPECT_EQ(frame[at], (40 * c.alpha) >> 8);
  EXPECT_EQ(frame[at + 1], (80 * c.alpha) >> 8);
  EXPECT_EQ(frame[at + 2], (120 * c.alpha) >> 8);
}

TEST_F(KeyboardStream, HostLightingOffSendsAndShowsNothing) {
  ASSERT_EQ(connect(), 1);
  LightInfo l = kb_->GetLightInfo();
  l.select_item = kFedColourMode;
  kb_->set_lighting_state(l);
  kb_->drain();
  kb_->set_host_lighting(false);
  page_.clear();
  kb_->send_light_frame();
  kb_->drain();
  EXPECT_EQ(page_.count("show_indicators"), 0);
  EXPECT_EQ(emu_->counters(kKb).light_frames, 0u);
  kb_->set_host_lighting(true);
  kb_->drain();
  EXPECT_TRUE(emu_->host_lighting(kKb));
}

TEST_F(KeyboardStream, UnplugDuringStreamingStopsTheThreadsInTime) {
  ASSERT_EQ(connect(), 1);
  ASSERT_TRUE(kb_->StartSyncThread(emu_->hid_path(kKb, kConsumerCollection)));
  LightInfo l = kb_->GetLightInfo();
  l.select_item = kFedColourMode;
  kb_->set_lighting_state(l);
  kb_->drain();
  ASSERT_TRUE(kb_->light_thread_running());
  std::atomic<bool> run{true};
  std::thread ui([&] {
    // A changing colour: an unchanged frame would not be streamed again.
    for (uint8_t level = 1; run; ++level) {
      const uint8_t levels[6] = {level, 0, 0, 0, 0, 0};
      kb_->FeedLevels(levels, 6);
      kb_->send_light_frame();
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  });
  ASSERT_TRUE(page_.wait_until([&] { return emu_->counters(kKb).light_frames >= 3; }));
  DebugCapture capture;
  ASSERT_TRUE(emu_->unplug(kKb));
  kb_->on_disconnected();
  run = false;
  ui.join();
  kb_->drain();
  EXPECT_FALSE(kb_->light_thread_running());
  EXPECT_FALSE(kb_->event_thread_running());
  EXPECT_EQ(capture.count(kThreadTimeoutLine), 0);
  EXPECT_EQ(capture.count(kThreadEndedLine), 2);
  EXPECT_EQ(capture.count(lighting::kKeyboardLightExitLine), 1);
  EXPECT_EQ(capture.count(kEventThreadExitLine), 1);
  EXPECT_FALSE(kb_->primary_channel().opened());
}

TEST_F(KeyboardStream, OutsideTheStreamedModesAFrameIsMadeOnlyWhileThePageIsSeen) {
  ASSERT_EQ(connect(), 1);
  kb_->stop_light_thread();
  LightInfo l = kb_->GetLightInfo();
  l.select_item = 1;  // the keyboard's own wave: the frame only feeds the page's picture
  kb_->set_lighting_state(l);
  kb_->drain();
  page_.set_indicators_visible(false);
  page_.clear();
  kb_->request_light_frame();
  kb_->send_light_frame();
  kb_->drain();
  EXPECT_EQ(page_.count("show_indicators"), 0);
  page_.set_indicators_visible(true);
  kb_->send_light_frame();
  // Shown by the calling thread: a frame for the picture alone takes no turn on the executor.
  EXPECT_EQ(page_.count("show_indicators"), 1);
  // Streamed, the frame is made whether or not anyone sees the page.
  l.select_item = kFedColourMode;
  kb_->set_lighting_state(l);
  kb_->drain();
  page_.set_indicators_visible(false);
  kb_->request_light_frame();
  kb_->send_light_frame();
  kb_->drain();
  EXPECT_EQ(page_.count("show_indicators"), 2);
  EXPECT_EQ(emu_->counters(kKb).light_frames, 1u);
}

TEST_F(KeyboardStream, StatusReadGoesToThePowerPanelAndTheOwner) {
  ASSERT_EQ(connect(), 1);
  emu_->set_battery(kKb, 77, 1);
  emu_->set_status_byte(kKb, 4, 9);
  kb_->read_device_status();
  kb_->drain();
  ASSERT_TRUE(page_.power_status().has_value());
  EXPECT_EQ((*page_.power_status())[0], 77);
  EXPECT_EQ((*page_.power_status())[3], 0);  // not through a receiver
  auto messages = page_.owner_messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().message, kMsgDeviceStatus);
  EXPECT_EQ(messages.back().first, 9);
}

using KeyboardPage = EmulatedKeyboardTest;

TEST_F(KeyboardPage, ConnectShowsTheProfileOnThePage) {
  ASSERT_EQ(connect(), 1);
  ASSERT_TRUE(page_.last_light_info().has_value());
  EXPECT_EQ(*page_.last_light_info(), kb_->GetLightInfo());
  KeyboardSystemStages s = kb_->system_stages();
  EXPECT_EQ(page_.polling_option(), system_option(s.polling_rate));
  EXPECT_EQ(page_.repeat_rate(), s.repeat);
  EXPECT_EQ(page_.repeat_delay_ms(), repeat_delay_ms(s.repeat_delay));
  EXPECT_GE(page_.count("key_list_changed"), 1);
  EXPECT_EQ(page_.custom_group(), kb_->GetLightInfo().custom_group);
  // The keyboard's own settings (read at connect) are in the saved profile.
  EXPECT_EQ(kb_->GetLightInfo().select_item, emu_->settings_block(kKb, 0)[kBlockMode]);
}

TEST_F(KeyboardPage, QuickSuccessiveLightingEditsBuildOnEachOther) {
  ASSERT_EQ(connect(), 1);
  // The panel reads the record, changes one field and gives it back, twice, before the
  // executor has stored the first change.
  LightInfo a = kb_->GetLightInfo();
  a.speed = 0;
  kb_->set_lighting_state(a);
  LightInfo b = kb_->GetLightInfo();
  b.light = 1;
  kb_->set_lighting_state(b);
  kb_->drain();
  EXPECT_EQ(kb_->GetLightInfo().speed, 0);
  EXPECT_EQ(kb_->GetLightInfo().light, 1);
  RecordingPage other_page;
  CMarluneKeyboardDevice other(other_page);
  other.set_profile_id("2024_01_02_03_04_05_006");
  other.load_profile_now();
  EXPECT_EQ(other.GetLightInfo().speed, 0);
  EXPECT_EQ(other.GetLightInfo().light, 1);
}

TEST_F(KeyboardPage, ColourPairBecomesTheMusicSettings) {
  ASSERT_EQ(connect(), 1);
  // first: visualisation 3, background (1, 2, 3); second: foreground (4, 5, 6), wheel flag.
  kb_->set_colour_pair(0x03020103u, 0x01060504u, 1);
  kb_->drain();
  AudioLightInfo m = kb_->audio_light_info();
  EXPECT_EQ(m.audio_mode, 3);
  EXPECT_EQ((std::array{m.bk_red, m.bk_green, m.bk_blue}), (std::array<uint8_t, 3>{1, 2, 3}));
  EXPECT_EQ((std::array{m.fg_red, m.fg_green, m.fg_blue}), (std::array<uint8_t, 3>{4, 5, 6}));
  EXPECT_EQ(m.seven_color_flags, 1);
  EXPECT_EQ(
      kb_->lighting().inspect([](const lighting::KeyboardEffects& e) { return e.music_style().visual; }), 3);
  RecordingPage other_page;
  CMarluneKeyboardDevice other(other_page);
  other.set_profile_id("2024_01_02_03_04_05_006");
  other.load_profile_now();
  EXPECT_EQ(other.audio_light_info().audio_mode, 3);
  EXPECT_EQ(other.audio_light_info().fg_green, 5);
}

TEST_F(KeyboardPage, ProgramModesLoadTheSelectedEffectsSteps) {
  ASSERT_EQ(connect(), 1);
  LightInfo l = kb_->GetLightInfo();
  l.select_item = 0;  // the first custom effect of the catalogue
  kb_->set_lighting_state(l);
  kb_->drain();
  const Json::Value catalogue = ReadJsonFile(CustomLightConfigPath(user_folder()));
  ASSERT_TRUE(catalogue.isObject());
  std::string guid = catalogue["LightInfo"][0][0]["Guid"].asString();
  const Json::Value effect = ReadJsonFile(DefaultDataFolder() + guid + kLightEffectExtension);
  ASSERT_TRUE(effect["LEDEffectList"].isArray());
  ASSERT_GT(effect["LEDEffectList"].size(), 0u);
  EXPECT_EQ(kb_->lighting().program().size(), effect["LEDEffectList"].size());
  // The default profile brings the factory lighting back.
  const Json::Value defaults = ReadJsonFile(kb_->default_profile_path());
  ASSERT_EQ(kb_->load_default_profile_now(), 1);
  EXPECT_EQ(kb_->GetLightInfo().select_item, defaults["Device"][0]["LightInfo"]["SelectItem"].asInt());
  EXPECT_NE(kb_->GetLightInfo().select_item, 0);
}

TEST_F(KeyboardPage, SystemSettingsAreStoredInTheProfile) {
  ASSERT_EQ(connect(), 1);
  kb_->set_system_setting(SystemSetting::RepeatDelay, 3);
  kb_->set_system_setting(SystemSetting::RepeatRate, 17);
  kb_->drain();
  // A fresh object reading the same profile file sees them.
  RecordingPage other_page;
  CMarluneKeyboardDevice other(other_page);
  other.set_profile_id("2024_01_02_03_04_05_006");
  other.load_profile_now();
  EXPECT_EQ(other.system_stages().repeat_delay, 3);
  EXPECT_EQ(other.system_stages().repeat, 17);
}

}  // namespace
}  // namespace qxr::devices::testing

// The key-assignment code space and the panel's rules, without a GUI: the tables row by row
// where a wrong row would go unnoticed elsewhere, showing and reading records in every group,
// captured keys, and the labels the picture writes on keys.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "editors/keys/key_capture.h"
#include "editors/keys/key_labels.h"
#include "editors/keys/key_panel_model.h"
#include "editors/keys/key_rows.h"
#include "editors/keys/key_tables.h"

namespace qxr::editors::keys {
namespace {

KeyFunction code(uint8_t type, uint8_t d1, uint8_t d2) { return {0, type, d1, d2}; }
bool same_code(const KeyFunction& a, const KeyFunction& b) { return a.type == b.type && a.d1 == b.d1 && a.d2 == b.d2; }

TEST(KeyTables, SmallTablesHoldTheirCodesInOrder) {
  const KeyFunction buttons[] = {code(0x10, 1, 0), code(0x10, 4, 0), code(0x10, 2, 0), code(0x10, 0x10, 0),
                                 code(0x10, 8, 0)};
  for (size_t i = 0; i < 5; ++i) EXPECT_TRUE(same_code(MouseButtonTable[i], buttons[i])) << i;
  for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(same_code(DpiFunctionTable[i], code(0x13, uint8_t(i + 1), 0))) << i;
  const uint8_t system[] = {1, 2, 4};
  for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(same_code(SystemKeyTable[i], code(0x40, system[i], 0))) << i;
  const uint16_t media[] = {0x0183, 0x00CD, 0x00B7, 0x00B6, 0x00B5, 0x00EA, 0x00E9, 0x00E2, 0x0223,
                            0x0227, 0x0226, 0x0224, 0x0225, 0x022A, 0x0221, 0x0194, 0x0192, 0x018A};
  for (size_t i = 0; i < 18; ++i) {
    EXPECT_TRUE(same_code(MediaKeyTable[i], code(0x30, uint8_t(media[i] & 0xFF), uint8_t(media[i] >> 8)))) << i;
  }
  const uint8_t combo[] = {0x12, 0x11, 0x1D, 0x16, 0x06, 0x1B, 0x19, 0x09, 0x04, 0x2D, 0x2E};
  for (size_t i = 0; i < 11; ++i) EXPECT_TRUE(same_code(ComboKeyTable[i], code(0x20, 0x01, combo[i]))) << i;
  for (size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(ShortcutKeyTable[i], (KeyFunction{uint16_t(0x21 + i), 0x22, 0, uint8_t(i)})) << i;
  }
  EXPECT_TRUE(same_code(MouseSpecialTable[5], code(0x14, 0x50, 0x02)));
  EXPECT_TRUE(same_code(MouseSpecialTable[7], code(0x20, 0x80, 0)));
  EXPECT_TRUE(same_code(MouseSpecialTable[14], code(0x23, 0, 0)));
}

TEST(KeyTables, TheKeyboardTableRowByRow) {
  ASSERT_EQ(KeyboardKeyTable.size(), 142u);
  const uint16_t modifier_vk[] = {0xA2, 0xA0, 0xA4, 0x5B, 0xA3, 0xA1, 0xA5, 0x5C};
  for (size_t k = 0; k < 8; ++k) EXPECT_EQ(KeyboardKeyTable[k], (KeyFunction{modifier_vk[k], 0x20, uint8_t(1 << k), 0}));
  // The ordinary keys' usages in table order, as their names list them.
  std::vector<uint8_t> usages;
  for (uint8_t u = 0x04; u <= 0x31; ++u) usages.push_back(u);  // A-Z, 1-0, Enter ... backslash
  for (uint8_t u = 0x33; u <= 0x63; ++u) usages.push_back(u);  // ; ... keypad decimal
  for (uint8_t u : {0x65, 0x64, 0x87, 0x89, 0x85, 0x8B, 0x8A, 0x88, 0x91, 0x90, 0x32}) usages.push_back(u);
  ASSERT_EQ(usages.size(), 106u);
  for (size_t i = 0; i < usages.size(); ++i) {
    const KeyFunction& e = KeyboardKeyTable[8 + i];
    EXPECT_EQ(e.type, 0x20) << i;
    EXPECT_EQ(e.d1, 0) << i;
    EXPECT_EQ(e.d2, usages[i]) << i;
  }
  EXPECT_EQ(KeyboardKeyTable[8].index, 'A');
  EXPECT_EQ(KeyboardKeyTable[91].index, 0x101);  // keypad Enter
  EXPECT_EQ(KeyboardKeyTable[106].index, 0xFF);  // K14 has no virtual key
  EXPECT_TRUE(same_code(KeyboardKeyTable[114], code(0x30, 0x92, 0x01)));
  EXPECT_TRUE(same_code(KeyboardKeyTable[131], code(0x30, 0x83, 0x01)));
  EXPECT_EQ(KeyboardKeyTable[133], (KeyFunction{0x104, 0x40, 0x02, 0}));
  for (uint8_t m = 1; m <= 5; ++m) EXPECT_TRUE(same_code(KeyboardKeyTable[134 + m], code(0xD0, 0xA2, m)));
  EXPECT_TRUE(same_code(KeyboardKeyTable[140], code(0xA0, 0x01, 0)));
  EXPECT_TRUE(same_code(KeyboardKeyTable[141], code(0xA0, 0x1B, 0)));
}

TEST(KeyTables, ScanCodesFollowTheKeys) {
  for (size_t k = 0; k < KeyScanTable.size(); ++k) EXPECT_EQ(KeyScanTable[k].virtual_key, KeyboardKeyTable[k].index) << k;
  const std::pair<size_t, KeyScan> rows[] = {
      {0, {0xA2, 0x1D, 0}},  {4, {0xA3, 0x1D, 1}},   {3, {0x5B, 0x5B, 1}},  {5, {0xA1, 0x36, 1}},
      {6, {0xA5, 0x38, 1}},  {8, {'A', 0x1E, 0}},    {44, {0x0D, 0x1C, 0}}, {71, {0x7A, 0x57, 0}},
      {73, {0x2C, 0x37, 1}}, {75, {0x13, 0x45, 0}},  {86, {0x90, 0x45, 1}}, {87, {0x6F, 0x35, 1}},
      {91, {0x101, 0x1C, 1}}, {103, {0x5D, 0x5D, 1}}, {105, {0xC1, 0x73, 0}}, {112, {0xFF, 0x72, 0}},
  };
  for (const auto& [k, scan] : rows) EXPECT_EQ(KeyScanTable[k], scan) << k;
  for (size_t k = 76; k <= 85; ++k) EXPECT_EQ(KeyScanTable[k].extended, 1) << "navigation key " << k;
}

TEST(KeyTables, NamesInOrderOneMoreThanTheKeyboardHasKeys) {
  EXPECT_EQ(KeyNameTable.size(), 205u);
  EXPECT_EQ(key_name(KeyTable::Gun, 3), "gun_4_txt");
  EXPECT_EQ(key_name(KeyTable::Shortcut, 0), "custem_cut");
  EXPECT_EQ(key_name(KeyTable::MouseSpecial, 9), "close_text");
  EXPECT_EQ(key_name(KeyTable::System, 2), "system_wake_up");
  EXPECT_EQ(key_name(KeyTable::Fire, 0), "mouse_key_fire_key");
  EXPECT_EQ(key_name(KeyTable::Media, 17), "media_mail");
  EXPECT_EQ(key_name(KeyTable::Dpi, 2), "mouse_key_DPI_loop");
  EXPECT_EQ(key_name(KeyTable::WheelSwing, kSwingRightName), "mouse_key_right_Swing");
  EXPECT_EQ(key_name(KeyTable::MouseButton, 2), "mouse_key_right");
  EXPECT_EQ(key_name(KeyTable::Keyboard, 0), "keyboard_key_LCtrl");
  EXPECT_EQ(key_name(KeyTable::Keyboard, 8), "keyboard_key_A");
  EXPECT_EQ(key_name(KeyTable::Keyboard, 57), "keyboard_key_<");
  EXPECT_EQ(key_name(KeyTable::Keyboard, 113), "keyboard_key_K42");
  EXPECT_EQ(key_name(KeyTable::Keyboard, 130), "wed_stop");
  EXPECT_EQ(key_name(KeyTable::Keyboard, 141), "keyboard_key_GM");
  EXPECT_EQ(key_name(KeyTable::Keyboard, 142), "keyboard_key_COLOR");
  EXPECT_TRUE(key_name(KeyTable::Keyboard, 143).empty());
  EXPECT_TRUE(key_name(KeyTable::Dpi, 3).empty());
}

// ---- showing and reading ----

constexpr KeyAssignment kDefault{7, 0x20, 0x00, 0x04};  // key 7, factory function: A

// What the panel reads after showing r as the key's current record.
KeyAssignment round_trip(const KeyAssignment& r, int macros = 3) {
  KeyPanelView view;
  KeyAssignment current = r;
  show_assignment(view, r, current, kDefault, macros);
  return read_assignment(view, current, kDefault, macros);
}

TEST(KeyPanelModel, EveryGroupReadsBackWhatItShowed) {
  const KeyAssignment records[] = {
      {7, 0x10, 0x10, 0},     {7, 0x11, 0x29, 0x85},   {7, 0x11, 0xFF, 0x7F}, {7, 0x11, 0x00, 0x00},
      {7, 0x12, 0x12, 0xFD},  {7, 0x12, 0x34, 0x80},   {7, 0x12, 0x00, 0x7F}, {7, 0x12, 0x00, 0x01},
      {7, 0x13, 2, 0},        {7, 0x14, 0xFF, 0xFF},   {7, 0x14, 0x00, 0x00}, {7, 0x20, 0x00, 0x29},
      {7, 0x20, 0x01, 0x04},  {7, 0x20, 0x08, 0x00},   {7, 0x30, 0xB5, 0x00}, {7, 0x40, 0x04, 0},
      {7, 0x70, 2, 3},        {7, 0x71, 1, 0},         {7, 0x71, 0, 255},     {7, 0x72, 3, 0},
  };
  for (const KeyAssignment& r : records) {
    EXPECT_EQ(round_trip(r), r) << std::hex << int(r.type) << " " << int(r.d1) << " " << int(r.d2);
  }
}

TEST(KeyPanelModel, TheTellingRecordsOfEachGroup) {
  KeyPanelView view;
  KeyAssignment current{7, 0x12, 0x00, 0xFD};
  show_assignment(view, current, current, kDefault, 0);
  EXPECT_EQ(view.group, kGroupWheel);
  EXPECT_EQ(view.wheel_direction, 1);
  EXPECT_EQ(view.wheel_count, "3");

  KeyPanelView swing;
  swing.group = kGroupSwing;
  swing.swing_direction = 1;
  swing.swing_count = "5";
  swing.swing_delay = "2";
  swing.swing_speed = "9";
  EXPECT_EQ(read_assignment(swing, current, kDefault, 0), (KeyAssignment{7, 0x11, 0x29, 0x85}));
  // Numbers read their leading digits and keep their field's width; a direction not chosen
  // leaves the count byte as it was.
  swing.swing_delay = "18x";
  swing.swing_speed = "abc";
  swing.swing_count = "200";
  swing.swing_direction = kNoItem;
  EXPECT_EQ(read_assignment(swing, {7, 0x11, 0, 0x42}, kDefault, 0), (KeyAssignment{7, 0x11, 0x20, 0x42}));

  // A record equal to the default opens the default group, whatever its type.
  KeyPanelView d;
  KeyAssignment same = kDefault;
  show_assignment(d, kDefault, same, kDefault, 0);
  EXPECT_EQ(d.group, kGroupDefault);
  EXPECT_EQ(read_assignment(d, {7, 0x10, 1, 0}, kDefault, 0), kDefault);
}

TEST(KeyPanelModel, KeyboardRecordsFoldModifiersAndDropWhatNoTableHolds) {
  KeyPanelView view;
  KeyAssignment current{7, 0x20, 0x10, 0x04};  // right Ctrl + A
  show_assignment(view, current, current, kDefault, 0);
  EXPECT_EQ(view.group, kGroupKeyboard);
  EXPECT_EQ(view.modifier_box, 1);
  EXPECT_EQ(view.key_name, "keyboard_key_A");
  EXPECT_EQ(read_assignment(view, current, kDefault, 0), (KeyAssignment{7, 0x20, 0x01, 0x04}));

  // Two modifier bits are no modifier of the table: the bits go, the key stays.
  KeyPanelView two;
  current = {7, 0x20, 0x03, 0x05};
  show_assignment(two, current, current, kDefault, 0);
  EXPECT_EQ(two.modifier_box, 0);
  EXPECT_EQ(current.d1, 0);
  EXPECT_EQ(two.key_name, "keyboard_key_B");

  // A usage outside the table: boxes and text cleared, the stored record zeroed.
  KeyPanelView none;
  current = {7, 0x20, 0x00, 0x00};
  show_assignment(none, current, current, kDefault, 0);
  EXPECT_EQ(none.modifier_box, kNoItem);
  EXPECT_TRUE(none.key_name.empty());
  current = {7, 0x20, 0x00, 0xE8};
  show_assignment(none, current, current, kDefault, 0);
  EXPECT_EQ(current, (KeyAssignment{7, 0x20, 0, 0}));

  // A modifier set above 128 is a combo key; choosing the keyboard group starts empty.
  KeyPanelView combo;
  current = {7, 0x20, 0x81, 0x04};
  show_assignment(combo, current, current, kDefault, 0);
  EXPECT_EQ(combo.group, kGroupCombo);
  EXPECT_EQ(combo.combo, kNoItem);
  enter_group(view, kGroupKeyboard);
  EXPECT_EQ(view.modifier_box, kNoItem);
  EXPECT_TRUE(view.key_name.empty());
}

TEST(KeyPanelModel, MacrosAndTypesWithoutAGroup) {
  KeyPanelView view;
  KeyAssignment current{7, 0x70, 5, 1};  // macro 5 of 3: gone
  show_assignment(view, current, current, kDefault, 3);
  EXPECT_EQ(view.group, kGroupMacro);
  EXPECT_EQ(view.macro, kNoItem);
  EXPECT_EQ(view.macro_mode, kNoItem);
  EXPECT_EQ(read_assignment(view, current, kDefault, 3), current);  // nothing chosen: unchanged
  current = {7, 0x71, 1, 9};
  show_assignment(view, current, current, kDefault, 3);
  EXPECT_TRUE(view.macro_repeat_shown);
  EXPECT_EQ(view.macro_mode, kMacroRepeatItem);
  EXPECT_EQ(view.macro_repeat, "9");
  // A macro chosen without a play mode plays in the first one.
  view.macro_mode = kNoItem;
  EXPECT_EQ(read_assignment(view, current, kDefault, 3), (KeyAssignment{7, 0x70, 1, 0}));

  for (uint8_t stored : {0x15, 0x21, 0x50, 0x60, 0xC0, 0xA0, 0xD0, 0x16, 0x22, 0x23}) {
    KeyPanelView v;
    KeyAssignment r{7, stored, 1, 1};
    show_assignment(v, r, r, kDefault, 3);
    EXPECT_EQ(v.group, kNoGroup) << int(stored);
  }
  KeyPanelView b0;
  KeyAssignment r{7, 0xB0, 1, 1};
  show_assignment(b0, r, r, kDefault, 3);
  EXPECT_EQ(b0.group, kGroupCombo);
  EXPECT_EQ(b0.combo, kNoItem);
  EXPECT_EQ(read_assignment(b0, r, kDefault, 3), r);  // no combo item: not taken from outside the table
}

// ---- capture ----

TEST(KeyCapture, NativeCodesFindTheirKeysAndTheRecordFollowsTheBoxes) {
  auto entry = [](uint32_t input_code) { return captured_entry(input_code + kNativeScanCodeOffset); };
  EXPECT_EQ(entry(28), 44u);   // Enter
  EXPECT_EQ(entry(1), 45u);    // Esc
  EXPECT_EQ(entry(15), 47u);   // Tab
  EXPECT_EQ(entry(29), 0u);    // left Ctrl
  EXPECT_EQ(entry(97), 4u);    // right Ctrl
  EXPECT_EQ(entry(54), 5u);    // right Shift
  EXPECT_EQ(entry(125), 3u);   // left Win
  EXPECT_EQ(entry(79), 92u);   // keypad 1
  EXPECT_EQ(entry(96), 91u);   // keypad Enter
  EXPECT_EQ(entry(69), 86u);   // Num Lock
  EXPECT_EQ(entry(119), 75u);  // Pause
  EXPECT_EQ(entry(86), 104u);  // K45
  EXPECT_EQ(entry(123), 111u); // K150
  EXPECT_EQ(entry(43), 53u);   // backslash, also what K42 reports
  EXPECT_FALSE(entry(113));    // mute: no keyboard key of the table
  EXPECT_FALSE(captured_entry(3));
  // Every key of the scan table but K42's twin is reachable.
  std::set<size_t> reached;
  for (uint32_t c = 0; c < 256; ++c) {
    if (auto k = captured_entry(c)) reached.insert(*k);
  }
  EXPECT_EQ(reached.size(), kScannedKeyCount);

  KeyPanelView view;
  view.group = kGroupKeyboard;
  const KeyAssignment current{7, 0x20, 0, 0};
  EXPECT_EQ(capture_key(view, 44, current, kDefault, 0), (KeyAssignment{7, 0x20, 0, 0x28}));
  EXPECT_EQ(view.modifier_box, 0);
  // A modifier alone: its own box, no key text; what Apply reads is the modifier alone.
  const KeyAssignment rctrl = capture_key(view, 4, current, kDefault, 0);
  EXPECT_EQ(rctrl, (KeyAssignment{7, 0x20, 0x10, 0}));
  EXPECT_EQ(read_assignment(view, rctrl, kDefault, 0), (KeyAssignment{7, 0x20, 0x01, 0}));
  // With the Ctrl box chosen, a key comes with Ctrl.
  EXPECT_EQ(capture_key(view, 92, rctrl, kDefault, 0), (KeyAssignment{7, 0x20, 0x01, 0x59}));
  EXPECT_EQ(view.key_name, "keyboard_key_Num 1");
}

// ---- labels ----

std::vector<std::string_view> names_of(const KeyAssignment& r) {
  const std::vector<std::string> macros = {"burst", "reload"};
  auto label = key_label(r, macros);
  return label ? label->names : std::vector<std::string_view>{"(unchanged)"};
}

TEST(KeyLabels, EachTypeFindsItsName) {
  using V = std::vector<std::string_view>;
  EXPECT_EQ(names_of({0, 0x20, 0x00, 0x04}), V{"keyboard_key_A"});
  EXPECT_EQ(names_of({0, 0x20, 0x01, 0x04}), (V{"keyboard_key_LCtrl", "keyboard_key_A"}));
  EXPECT_EQ(names_of({0, 0x20, 0x00, 0x00}), V{"close_text"});
  EXPECT_EQ(names_of({0, 0x10, 0x04, 0x00}), V{"mouse_key_middle"});
  EXPECT_EQ(names_of({0, 0x11, 0x00, 0x85}), V{"mouse_key_right_Swing"});
  EXPECT_EQ(names_of({0, 0x12, 0x00, 0x03}), V{"mouse_key_up_Swing"});
  EXPECT_EQ(names_of({0, 0x13, 0x03, 0x00}), V{"mouse_key_DPI_loop"});
  EXPECT_EQ(names_of({0, 0x14, 0x20, 0x05}), V{"mouse_key_fire_key"});
  EXPECT_EQ(names_of({0, 0x16, 0x00, 0x00}), V{"mouse_key_DPI_shift"});
  EXPECT_EQ(names_of({0, 0x22, 0x00, 0x02}), V{"custem_paste"});
  EXPECT_EQ(names_of({0, 0x30, 0xE2, 0x00}), V{"media_mute"});
  EXPECT_EQ(names_of({0, 0x40, 0x02, 0x00}), V{"system_sleep"});
  EXPECT_EQ(names_of({0, 0x72, 0x01, 0x00}), V{"gun_2_txt"});
  EXPECT_EQ(names_of({0, 0xA0, 0x02, 0x00}), V{"mouse_key_smart_key"});
  EXPECT_EQ(names_of({0, 0xA0, 0x01, 0x00}), V{"keyboard_key_FN"});
  EXPECT_EQ(names_of({0, 0xD0, 0xA2, 0x03}), V{"keyboard_key_M3"});
  for (uint8_t unknown : {0x15, 0x21, 0x50, 0x60, 0xB0, 0xC0}) {
    EXPECT_EQ(names_of({0, unknown, 1, 1}), V{"(unchanged)"}) << int(unknown);
  }
  const std::vector<std::string> macros = {"burst", "reload"};
  EXPECT_EQ(key_label({0, 0x71, 1, 4}, macros)->macro_name, "reload");
  EXPECT_FALSE(key_label({0, 0x70, 2, 0}, macros));
}

TEST(KeyLabels, TheLastLeftButtonIsGuarded) {
  std::vector<KeyAssignRecord> keys(3);
  keys[0].assignment = {0, 0x10, 0x01, 0};
  keys[1].assignment = {1, 0x10, 0x02, 0};
  EXPECT_TRUE(is_last_left_button(keys, 0));
  EXPECT_FALSE(is_last_left_button(keys, 1));
  keys[2].assignment = {2, 0x10, 0x01, 0};
  EXPECT_FALSE(is_last_left_button(keys, 0));
}

TEST(KeyRows, EveryRowFindsItsAction) {
  for (const KeyNotificationRow& row : key_notification_table()) {
    EXPECT_EQ(find_key_action(row.type, row.name), row.action) << row.name;
  }
  EXPECT_EQ(find_key_action("click", "key_butt_prosave"), KeyAction::WriteProfile);
  EXPECT_FALSE(find_key_action("click", "keyset_function_combo"));
}

}  // namespace
}  // namespace qxr::editors::keys

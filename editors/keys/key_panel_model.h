#pragma once
// The key-assignment panel as plain values, and the two ways between it and an assignment:
// showing a record sets the controls of its function group, reading the controls builds a
// record. The Qt panel only copies these values to and from its widgets, so every rule of the
// panel is here and tested without a GUI.
#include <cstdint>
#include <string>
#include <string_view>

#include "editors/keys/key_tables.h"
#include "profile/records.h"

namespace qxr::editors::keys {

// Function groups; the id is also the page of the panel's group switch.
enum KeyGroup : int {
  kGroupDefault = 0,
  kGroupMouseButton = 1,
  kGroupSwing = 2,
  kGroupWheel = 3,
  kGroupDpi = 4,
  kGroupFire = 5,
  kGroupKeyboard = 6,
  kGroupMedia = 7,
  kGroupSystem = 8,
  kGroupMacro = 9,
  kGroupGun = 10,
  kGroupCombo = 11,
};
inline constexpr int kGroupCount = 12;
inline constexpr int kNoGroup = -1;
inline constexpr int kNoItem = -1;
// Modifier boxes: none, Ctrl, Shift, Alt, Win.
inline constexpr int kModifierBoxCount = 5;
// The macro play-mode item that asks for a repeat count.
inline constexpr int kMacroRepeatItem = 4;
inline constexpr int kGunSlotCount = 4;

// What the controls hold. Combos are item indices (kNoItem: none selected); edits are their text.
struct KeyPanelView {
  int group = kNoGroup;
  int mouse_button = kNoItem;
  int swing_direction = kNoItem;  // 0 left, 1 right
  std::string swing_delay, swing_speed, swing_count;
  int wheel_direction = kNoItem;  // 0 up, 1 down
  std::string wheel_delay, wheel_speed, wheel_count;
  int dpi = kNoItem;
  std::string fire_interval, fire_count;
  int modifier_box = kNoItem;
  std::string key_name;  // the display-name key the key text shows; empty: no text
  int media = kNoItem;
  int system = kNoItem;
  int macro = kNoItem;
  int macro_mode = kNoItem;
  bool macro_repeat_shown = false;
  std::string macro_repeat;
  int gun = kNoItem;
  int combo = kNoItem;
  bool operator==(const KeyPanelView&) const = default;
};

// The box of keyboard-table modifier entry k: the right-hand modifiers fold onto the boxes of
// the left-hand ones.
constexpr int modifier_box_of_entry(size_t k) { return static_cast<int>((k + 1) % 5 + (k + 1) / 5); }
// The modifier bit a box stands for (0 for the "none" box and for no box).
constexpr uint8_t modifier_bit_of_box(int box) { return box >= 1 ? static_cast<uint8_t>(1u << (box - 1)) : 0; }

// The leading decimal digits of text, as the field keeps them (mask); anything else is 0.
uint8_t edit_value(std::string_view text, uint8_t mask = 0xFF);

// Sets the controls of the record's group. A record equal to the default opens group 0. Where
// the record cannot be shown as it is, current (the panel's stored record) is corrected the
// way the panel does it: a keyboard key that is in no table loses its code, a modifier that is
// none of the eight loses it. macro_count: the items of the macro list.
void show_assignment(KeyPanelView& view, const KeyAssignment& record, KeyAssignment& current,
                     const KeyAssignment& defaults, int macro_count);

// The record the controls stand for, built on current (whose key index stays). Groups that take
// a table entry and have none selected leave the record as it was.
KeyAssignment read_assignment(const KeyPanelView& view, const KeyAssignment& current,
                              const KeyAssignment& defaults, int macro_count);

// Choosing a group clears what would be stale in it (the keyboard group's key text and boxes).
void enter_group(KeyPanelView& view, int group);

// A key captured (or picked by name) while the keyboard group is open: keyboard-table entry k
// sets the boxes and the key text, and the record to store as current is returned.
KeyAssignment capture_key(KeyPanelView& view, size_t k, const KeyAssignment& current,
                          const KeyAssignment& defaults, int macro_count);

}  // namespace qxr::editors::keys

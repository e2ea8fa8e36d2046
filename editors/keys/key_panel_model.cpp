#include "editors/keys/key_panel_model.h"

namespace qxr::editors::keys {
namespace {

constexpr uint8_t kNibble = 0x0F;
constexpr uint8_t kSevenBits = 0x7F;
constexpr uint8_t kDirectionBit = 0x80;
constexpr int kWheelRange = 128;
constexpr int kLastModifierValue = 128;

bool same_code(const KeyAssignment& a, const KeyAssignment& b) { return a.type == b.type && a.d1 == b.d1 && a.d2 == b.d2; }

int item_of(std::optional<size_t> entry) { return entry ? static_cast<int>(*entry) : kNoItem; }

std::string number(int v) { return std::to_string(v); }

// The table entry at item, if the combo has one selected that the table holds.
std::optional<KeyFunction> entry_at(std::span<const KeyFunction> table, int item) {
  if (item < 0 || static_cast<size_t>(item) >= table.size()) return std::nullopt;
  return table[static_cast<size_t>(item)];
}

void take_entry(KeyAssignment& r, std::optional<KeyFunction> e) {
  if (!e) return;
  r.type = e->type;
  r.d1 = e->d1;
  r.d2 = e->d2;
}

uint8_t delay_speed(const std::string& delay, const std::string& speed) {
  return static_cast<uint8_t>((edit_value(delay, kNibble) << 4) | edit_value(speed, kNibble));
}

void show_delay_speed(uint8_t d1, std::string& delay, std::string& speed) {
  delay = number(d1 >> 4);
  speed = number(d1 & kNibble);
}

void show_keyboard_key(KeyPanelView& view, const KeyAssignment& record, KeyAssignment& current) {
  if (record.d1 == 0) {
    if (const auto e = find_entry(KeyboardKeyTable, 0, record.d2)) {
      view.modifier_box = 0;
      view.key_name = std::string(key_name(KeyTable::Keyboard, *e));
    } else {
      view.modifier_box = kNoItem;
      view.key_name.clear();
      current.d1 = current.d2 = 0;
    }
    return;
  }
  std::optional<size_t> modifier;
  for (size_t k = 0; k < kModifierCount; ++k) {
    if (KeyboardKeyTable[k].d1 == record.d1) {
      modifier = k;
      break;
    }
  }
  if (modifier) {
    view.modifier_box = modifier_box_of_entry(*modifier);
  } else {
    current.d1 = 0;
    view.modifier_box = 0;
  }
  for (size_t k = kFirstOrdinaryKey; k < KeyboardKeyTable.size(); ++k) {
    const KeyFunction& e = KeyboardKeyTable[k];
    if (e.type == kTypeKeyboard && e.d1 == 0 && e.d2 == record.d2) {
      view.key_name = std::string(key_name(KeyTable::Keyboard, k));
      break;
    }
  }
}

void show_macro(KeyPanelView& view, const KeyAssignment& record, int macro_count) {
  const bool exists = record.d1 < macro_count;
  view.macro = exists ? record.d1 : kNoItem;
  view.macro_repeat_shown = false;
  if (!exists) {
    view.macro_mode = kNoItem;
    return;
  }
  if (record.type == kTypeMacroRepeat) {
    view.macro_repeat_shown = true;
    view.macro_repeat = number(record.d2);
    view.macro_mode = kMacroRepeatItem;
  } else {
    view.macro_mode = record.d2 <= kMacroRepeatItem ? record.d2 : kNoItem;
  }
}

}  // namespace

uint8_t edit_value(std::string_view text, uint8_t mask) {
  uint32_t v = 0;  // wraps on absurd input; only the low bits are kept anyway
  for (char c : text) {
    if (c < '0' || c > '9') break;
    v = v * 10 + static_cast<uint32_t>(c - '0');
  }
  return static_cast<uint8_t>(v & mask);
}

void show_assignment(KeyPanelView& view, const KeyAssignment& record, KeyAssignment& current,
                     const KeyAssignment& defaults, int macro_count) {
  const uint8_t type = same_code(record, defaults) ? kTypeNone : record.type;
  int group = kNoGroup;
  switch (type) {
    case kTypeNone:
      group = kGroupDefault;
      break;
    case kTypeMouseButton:
      group = kGroupMouseButton;
      view.mouse_button = item_of(find_entry(MouseButtonTable, record.d1, record.d2));
      break;
    case kTypeSwing:
      group = kGroupSwing;
      show_delay_speed(record.d1, view.swing_delay, view.swing_speed);
      view.swing_direction = (record.d2 & kDirectionBit) ? 1 : 0;
      view.swing_count = number((record.d2 & kDirectionBit) ? record.d2 & kSevenBits : record.d2);
      break;
    case kTypeWheel:
      group = kGroupWheel;
      show_delay_speed(record.d1, view.wheel_delay, view.wheel_speed);
      view.wheel_direction = (record.d2 & kDirectionBit) ? 1 : 0;
      view.wheel_count = number((record.d2 & kDirectionBit) ? kWheelRange - (record.d2 & kSevenBits) : record.d2);
      break;
    case kTypeDpi:
      group = kGroupDpi;
      view.dpi = item_of(find_entry(DpiFunctionTable, record.d1, record.d2));
      break;
    case kTypeFire:
      group = kGroupFire;
      view.fire_interval = number(record.d1);
      view.fire_count = number(record.d2);
      break;
    case kTypeKeyboard:
      if (record.d1 > kLastModifierValue) {
        group = kGroupCombo;
        view.combo = item_of(find_entry(ComboKeyTable, record.d1, record.d2));
      } else {
        group = kGroupKeyboard;
        show_keyboard_key(view, record, current);
      }
      break;
    case kTypeConsumer:
      group = kGroupMedia;
      view.media = item_of(find_entry(MediaKeyTable, record.d1, record.d2));
      break;
    case kTypeSystem:
      group = kGroupSystem;
      view.system = item_of(find_entry(SystemKeyTable, record.d1, record.d2));
      break;
    case kTypeMacro:
    case kTypeMacroRepeat:
      group = kGroupMacro;
      show_macro(view, record, macro_count);
      break;
    case kTypeGun:
      group = kGroupGun;
      view.gun = record.d1 < kGunSlotCount ? record.d1 : kNoItem;
      break;
    case kTypeOpensComboGroup:
      group = kGroupCombo;
      view.combo = kNoItem;
      break;
    default:
      break;
  }
  view.group = group;
}

KeyAssignment read_assignment(const KeyPanelView& view, const KeyAssignment& current,
                              const KeyAssignment& defaults, int macro_count) {
  KeyAssignment r = current;
  switch (view.group) {
    case kGroupMouseButton:
      take_entry(r, entry_at(MouseButtonTable, view.mouse_button));
      break;
    case kGroupSwing: {
      r.type = kTypeSwing;
      r.d1 = delay_speed(view.swing_delay, view.swing_speed);
      const uint8_t n = edit_value(view.swing_count, kSevenBits);
      if (view.swing_direction == 1) r.d2 = n | kDirectionBit;
      if (view.swing_direction == 0) r.d2 = n;
      break;
    }
    case kGroupWheel: {
      r.type = kTypeWheel;
      r.d1 = delay_speed(view.wheel_delay, view.wheel_speed);
      const int n = edit_value(view.wheel_count);
      if (view.wheel_direction == 1) r.d2 = static_cast<uint8_t>(((kWheelRange - n) & kSevenBits) | kDirectionBit);
      if (view.wheel_direction == 0) r.d2 = static_cast<uint8_t>(n & kSevenBits);
      break;
    }
    case kGroupDpi:
      take_entry(r, entry_at(DpiFunctionTable, view.dpi));
      break;
    case kGroupFire:
      r.type = kTypeFire;
      r.d1 = edit_value(view.fire_interval);
      r.d2 = edit_value(view.fire_count);
      break;
    case kGroupKeyboard:
      r.type = kTypeKeyboard;
      r.d1 = modifier_bit_of_box(view.modifier_box);
      if (view.key_name.empty()) r.d2 = 0;
      break;
    case kGroupMedia:
      take_entry(r, entry_at(MediaKeyTable, view.media));
      break;
    case kGroupSystem:
      take_entry(r, entry_at(SystemKeyTable, view.system));
      break;
    case kGroupMacro:
      if (view.macro >= 0 && view.macro < macro_count) {
        r.d1 = static_cast<uint8_t>(view.macro);
        if (view.macro_mode == kMacroRepeatItem) {
          r.type = kTypeMacroRepeat;
          r.d2 = edit_value(view.macro_repeat);
        } else {
          // Without a play mode chosen the first one is meant; a mode of 0xFF is no mode.
          r.type = kTypeMacro;
          r.d2 = static_cast<uint8_t>(view.macro_mode > 0 ? view.macro_mode : 0);
        }
      }
      break;
    case kGroupGun:
      if (view.gun >= 0 && view.gun < kGunSlotCount) {
        r.type = kTypeGun;
        r.d1 = static_cast<uint8_t>(view.gun);
        r.d2 = 0;
      }
      break;
    case kGroupCombo:
      take_entry(r, entry_at(ComboKeyTable, view.combo));
      break;
    default:
      r.type = defaults.type;
      r.d1 = defaults.d1;
      r.d2 = defaults.d2;
      break;
  }
  return r;
}

void enter_group(KeyPanelView& view, int group) {
  view.group = group;
  if (group == kGroupKeyboard) {
    view.key_name.clear();
    view.modifier_box = kNoItem;
  }
}

KeyAssignment capture_key(KeyPanelView& view, size_t k, const KeyAssignment& current,
                          const KeyAssignment& defaults, int macro_count) {
  const KeyFunction& entry = KeyboardKeyTable[k];
  KeyAssignment stored = current;
  stored.type = kTypeKeyboard;
  if (k < kModifierCount) {
    view.modifier_box = modifier_box_of_entry(k);
    view.key_name.clear();
    stored.d1 = entry.d1;
    stored.d2 = 0;
    return stored;
  }
  if (view.modifier_box == kNoItem) {
    view.modifier_box = 0;
    stored.d1 = 0;
  } else {
    stored.d1 = read_assignment(view, current, defaults, macro_count).d1;
  }
  view.key_name = std::string(key_name(KeyTable::Keyboard, k));
  stored.d2 = entry.d2;
  return stored;
}

}  // namespace qxr::editors::keys

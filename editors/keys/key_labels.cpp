#include "editors/keys/key_labels.h"

#include "editors/keys/key_tables.h"

namespace qxr::editors::keys {
namespace {

constexpr uint8_t kDirectionBit = 0x80;
constexpr uint8_t kLeftButton = 0x01;
constexpr size_t kFireName = 0;

KeyLabel named(std::string_view name) { return KeyLabel{{name}, {}}; }

std::optional<KeyLabel> by_code(KeyTable table, const KeyAssignment& r) {
  if (const auto e = find_entry(table_entries(table), r.d1, r.d2)) return named(key_name(table, *e));
  return std::nullopt;
}

// The first entry of table matching type and d1 (and d2 when asked).
std::optional<KeyLabel> by_type(KeyTable table, const KeyAssignment& r, bool with_d1, bool with_d2) {
  const auto entries = table_entries(table);
  for (size_t i = 0; i < entries.size(); ++i) {
    const KeyFunction& e = entries[i];
    if (e.type == r.type && (!with_d1 || e.d1 == r.d1) && (!with_d2 || e.d2 == r.d2)) return named(key_name(table, i));
  }
  return std::nullopt;
}

std::optional<KeyLabel> keyboard_label(const KeyAssignment& r) {
  if (auto exact = by_code(KeyTable::Keyboard, r)) return exact;
  if (r.d1 == 0 && r.d2 == 0) return named("close_text");
  KeyLabel joined;
  for (size_t i = 0; i < KeyboardKeyTable.size(); ++i) {
    const KeyFunction& e = KeyboardKeyTable[i];
    if (e.type == r.type && (e.d1 == r.d1 || e.d2 == r.d2)) joined.names.push_back(key_name(KeyTable::Keyboard, i));
  }
  if (joined.names.empty()) return std::nullopt;
  return joined;
}

}  // namespace

std::optional<KeyLabel> key_label(const KeyAssignment& r, std::span<const std::string> macro_names) {
  switch (r.type) {
    case kTypeNone:
    case kTypeKeyboard:
      return keyboard_label(r);
    case kTypeMouseButton:
      return by_type(KeyTable::MouseButton, r, true, false);
    case kTypeDpi:
      return by_type(KeyTable::Dpi, r, true, false);
    case kTypeSwing:
      return named(key_name(KeyTable::WheelSwing, (r.d2 & kDirectionBit) ? kSwingRightName : kSwingLeftName));
    case kTypeWheel:
      return named(key_name(KeyTable::WheelSwing, (r.d2 & kDirectionBit) ? kWheelDownName : kWheelUpName));
    case kTypeFire:
      return named(key_name(KeyTable::Fire, kFireName));
    case kTypeDpiShift:
      return by_type(KeyTable::MouseSpecial, r, false, false);
    case kTypeShowWindow:
      return by_type(KeyTable::MouseSpecial, r, true, true);
    case kTypeShortcut:
      return by_code(KeyTable::Shortcut, r);
    case kTypeConsumer:
      return by_code(KeyTable::Media, r);
    case kTypeSystem:
      return by_code(KeyTable::System, r);
    case kTypeMacro:
    case kTypeMacroRepeat:
      if (r.d1 >= macro_names.size()) return std::nullopt;
      return KeyLabel{{}, macro_names[r.d1]};
    case kTypeGun:
      if (key_name(KeyTable::Gun, r.d1).empty()) return std::nullopt;
      return named(key_name(KeyTable::Gun, r.d1));
    case kTypeSpecial:
    case kTypeMKey:
      if (auto special = by_type(KeyTable::MouseSpecial, r, true, false)) return special;
      return by_type(KeyTable::Keyboard, r, true, true);
    default:
      return std::nullopt;
  }
}

bool is_last_left_button(std::span<const KeyAssignRecord> keys, size_t key) {
  auto left = [](const KeyAssignment& a) { return a.type == kTypeMouseButton && a.d1 == kLeftButton && a.d2 == 0; };
  if (key >= keys.size() || !left(keys[key].assignment)) return false;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (i != key && left(keys[i].assignment)) return false;
  }
  return true;
}

}  // namespace qxr::editors::keys

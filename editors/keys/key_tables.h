#pragma once
// The code space of key assignments: what each function type means, the tables that give every
// assignable function its three-byte code, the set-1 scan codes of the keyboard keys, and the
// display-name key of every table entry. All constant data.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace qxr::editors::keys {

// Function types (byte "type" of an assignment).
inline constexpr uint8_t kTypeNone = 0x00;
inline constexpr uint8_t kTypeMouseButton = 0x10;
inline constexpr uint8_t kTypeSwing = 0x11;
inline constexpr uint8_t kTypeWheel = 0x12;
inline constexpr uint8_t kTypeDpi = 0x13;
inline constexpr uint8_t kTypeFire = 0x14;
inline constexpr uint8_t kTypeDpiShift = 0x16;
inline constexpr uint8_t kTypeKeyboard = 0x20;
inline constexpr uint8_t kTypeShortcut = 0x22;
inline constexpr uint8_t kTypeShowWindow = 0x23;
inline constexpr uint8_t kTypeConsumer = 0x30;
inline constexpr uint8_t kTypeSystem = 0x40;
inline constexpr uint8_t kTypeMacro = 0x70;
inline constexpr uint8_t kTypeMacroRepeat = 0x71;
inline constexpr uint8_t kTypeGun = 0x72;
inline constexpr uint8_t kTypeSpecial = 0xA0;
inline constexpr uint8_t kTypeMKey = 0xD0;
// Found in stored profiles without a function of their own here.
inline constexpr std::array<uint8_t, 6> kUnknownStoredTypes = {0x15, 0x21, 0x50, 0x60, 0xB0, 0xC0};
inline constexpr uint8_t kTypeOpensComboGroup = 0xB0;

// Modifier bits of a keyboard-key assignment's d1, in HID order.
inline constexpr uint8_t kModLCtrl = 0x01, kModLShift = 0x02, kModLAlt = 0x04, kModLWin = 0x08;
inline constexpr uint8_t kModRCtrl = 0x10, kModRShift = 0x20, kModRAlt = 0x40, kModRWin = 0x80;

// One table entry: its index (for the keyboard table the key's Windows virtual-key code) and
// the function's code.
struct KeyFunction {
  uint16_t index = 0;
  uint8_t type = 0;
  uint8_t d1 = 0;
  uint8_t d2 = 0;
  bool operator==(const KeyFunction&) const = default;
};

extern const std::array<KeyFunction, 5> MouseButtonTable;
extern const std::array<KeyFunction, 3> DpiFunctionTable;
extern const std::array<KeyFunction, 3> SystemKeyTable;
extern const std::array<KeyFunction, 18> MediaKeyTable;
extern const std::array<KeyFunction, 11> ComboKeyTable;
extern const std::array<KeyFunction, 9> ShortcutKeyTable;
extern const std::array<KeyFunction, 15> MouseSpecialTable;
extern const std::array<KeyFunction, 142> KeyboardKeyTable;

// Entries 0-7 of the keyboard table are the modifiers, 8-113 the ordinary keys.
inline constexpr size_t kModifierCount = 8;
inline constexpr size_t kFirstOrdinaryKey = 8;
inline constexpr size_t kLastOrdinaryKey = 113;

// The set-1 scan code of keyboard-table entries 0-112.
struct KeyScan {
  uint16_t virtual_key = 0;
  uint8_t scan = 0;
  uint8_t extended = 0;
  bool operator==(const KeyScan&) const = default;
};
inline constexpr size_t kScannedKeyCount = 113;
extern const std::array<KeyScan, kScannedKeyCount> KeyScanTable;

// The display-name keys, one array: the four gun names, then the names of the shortcut, mouse
// special, system, fire, media, DPI, wheel and swing, mouse button and keyboard tables.
inline constexpr size_t kKeyNameCount = 205;
extern const std::array<std::string_view, kKeyNameCount> KeyNameTable;

enum class KeyTable { Gun, Shortcut, MouseSpecial, System, Fire, Media, Dpi, WheelSwing, MouseButton, Keyboard };
// The display-name key of entry i of a table; empty past the table's names.
std::string_view key_name(KeyTable table, size_t i);
std::span<const KeyFunction> table_entries(KeyTable table);

// Names of the wheel and swing directions (KeyTable::WheelSwing).
inline constexpr size_t kWheelUpName = 0, kWheelDownName = 1, kSwingLeftName = 2, kSwingRightName = 3;

// The first entry of table whose d1 and d2 equal the code's (the type is not compared).
std::optional<size_t> find_entry(std::span<const KeyFunction> table, uint8_t d1, uint8_t d2);

}  // namespace qxr::editors::keys

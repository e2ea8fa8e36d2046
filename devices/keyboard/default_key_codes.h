#pragma once
// The code every logical key of the keyboard reports by default. The keyboard's own key table
// is matched against it at connect to learn where each logical key sits.
#include <array>
#include <cstddef>
#include <cstdint>

namespace qxr::devices {

inline constexpr size_t kLogicalKeyCount = 170;

// A key's three-byte code as the keyboard stores it: (type, code 1, code 2).
struct KeyCode {
  uint8_t type = 0;
  uint8_t code1 = 0;
  uint8_t code2 = 0;
  bool operator==(const KeyCode&) const = default;
};

inline constexpr uint8_t kKeyTypeKeyboard = 0x20;  // code 1 = modifier mask, code 2 = HID usage
inline constexpr uint8_t kKeyTypeFunction = 0xA0;  // the keyboard's own function codes
inline constexpr uint8_t kKeyTypeMedia = 0xD0;

extern const std::array<KeyCode, kLogicalKeyCount> DefaultKeyCodes;

}  // namespace qxr::devices

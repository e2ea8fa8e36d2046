#pragma once
// Where each logical key sits on the connected keyboard. The keyboard reports a key code
// table (one 3-byte code per key position) and an LED table (one LED index per position);
// matching the codes against DefaultKeyCodes gives each logical key its position and LED.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "devices/keyboard/default_key_codes.h"

namespace qxr::devices {

inline constexpr uint8_t kNoPosition = 255;
inline constexpr uint8_t kNoLed = 255;
// The key position that carries no LED of its own.
inline constexpr uint8_t kPositionWithoutLed = 71;
inline constexpr size_t kKeyCodeSize = 3;
// The key table travels in one 512-byte data area, so 170 positions at most.
inline constexpr size_t kMaxKeyTableBytes = 512;
inline constexpr size_t kMaxKeyPositions = kMaxKeyTableBytes / kKeyCodeSize;

struct KeyMaps {
  std::array<uint8_t, kLogicalKeyCount> position{};  // logical key -> position, 255 when none
  std::array<uint8_t, kLogicalKeyCount> led{};       // logical key -> LED index, 255 when none

  KeyMaps() { clear(); }
  void clear() {
    position.fill(kNoPosition);
    led.fill(kNoLed);
  }
  // The first logical key at position k, or -1: several keys may share one position.
  int logical_key_at(uint8_t k) const;
};

// key_table holds key_count x 3 bytes, led_table key_count bytes. A key count whose table
// would not fit 512 bytes yields maps that are all 255.
KeyMaps build_key_maps(std::span<const uint8_t> key_table, std::span<const uint8_t> led_table,
                       size_t key_count);

}  // namespace qxr::devices

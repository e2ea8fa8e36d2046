#include "devices/keyboard/key_maps.h"

namespace qxr::devices {

int KeyMaps::logical_key_at(uint8_t k) const {
  if (k == kNoPosition) return -1;
  for (size_t j = 0; j < kLogicalKeyCount; ++j)
    if (position[j] == k) return static_cast<int>(j);
  return -1;
}

KeyMaps build_key_maps(std::span<const uint8_t> key_table, std::span<const uint8_t> led_table,
                       size_t key_count) {
  KeyMaps maps;
  if (key_count > kMaxKeyPositions || key_table.size() < key_count * kKeyCodeSize) return maps;
  for (size_t j = 0; j < kLogicalKeyCount; ++j) {
    for (size_t k = 0; k < key_count; ++k) {
      const uint8_t* code = &key_table[k * kKeyCodeSize];
      if (KeyCode{code[0], code[1], code[2]} == DefaultKeyCodes[j]) {
        maps.position[j] = static_cast<uint8_t>(k);
        break;
      }
    }
    uint8_t pos = maps.position[j];
    if (pos != kNoPosition && pos != kPositionWithoutLed && pos < led_table.size())
      maps.led[j] = led_table[pos];
  }
  return maps;
}

}  // namespace qxr::devices

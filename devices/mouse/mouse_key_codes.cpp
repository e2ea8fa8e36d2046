#include "devices/mouse/mouse_key_codes.h"

#include <algorithm>

namespace qxr::devices {

MousePositionMap build_mouse_position_map(std::span<const uint8_t> key_table) {
  MousePositionMap map;
  // All ten start absent, also those beyond the mouse's key count: a button the mouse lacks
  // must never point at a real position.
  map.fill(kNoMousePosition);
  const size_t positions = key_table.size() / kMouseKeyCodeSize;
  for (size_t button = 0; button < kMouseLogicalButtons; ++button) {
    for (size_t k = 0; k < positions && k < kNoMousePosition; ++k) {
      const uint8_t* code = key_table.data() + k * kMouseKeyCodeSize;
      if (std::equal(MouseDefaultKeyCodes[button].begin(), MouseDefaultKeyCodes[button].end(), code)) {
        map[button] = static_cast<uint8_t>(k);
        break;
      }
    }
  }
  return map;
}

std::vector<uint8_t> build_mouse_key_table(std::span<const uint8_t> base_table,
                                           std::span<const KeyAssignRecord> keys, const MousePositionMap& map) {
  if (base_table.empty()) return {};
  std::vector<uint8_t> table(base_table.begin(), base_table.end());
  const size_t buttons = std::min(keys.size(), map.size());
  for (size_t button = 0; button < buttons; ++button) {
    const size_t at = size_t{map[button]} * kMouseKeyCodeSize;
    if (map[button] == kNoMousePosition || at + kMouseKeyCodeSize > table.size()) continue;
    const KeyAssignment& a = keys[button].assignment;
    table[at] = a.type;
    table[at + 1] = a.d1;
    table[at + 2] = a.d2;
  }
  return table;
}

}  // namespace qxr::devices

#pragma once
// Where the mouse's logical buttons sit: the default code of each logical button, the map from
// logical button to the mouse's key position (found by that code in the key table the mouse
// reports), and the key table sent back with the user's assignments in place.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "profile/records.h"

namespace qxr::devices {

inline constexpr size_t kMouseLogicalButtons = 10;
inline constexpr size_t kMouseKeyCodeSize = 3;
// A logical button the mouse does not have (the keyboard's maps use 255 for this).
inline constexpr uint8_t kNoMousePosition = 126;

// Type, code 1, code 2 of logical buttons 0-9, in the key assignment's codes (0x10 mouse
// buttons: left, right, middle, forward, back; 0x13 DPI functions; then two function codes).
inline constexpr std::array<std::array<uint8_t, kMouseKeyCodeSize>, kMouseLogicalButtons> MouseDefaultKeyCodes = {{
    {0x10, 0x01, 0},
    {0x10, 0x02, 0},
    {0x10, 0x04, 0},
    {0x10, 0x10, 0},
    {0x10, 0x08, 0},
    {0x13, 1, 0},
    {0x13, 2, 0},
    {0x13, 3, 0},
    {0xA0, 0x1B, 0},
    {0x16, 0x90, 1},
}};

using MousePositionMap = std::array<uint8_t, kMouseLogicalButtons>;

// key_table: the mouse's codes, 3 bytes per key position. Every logical button starts absent
// and takes the first position holding its default code.
MousePositionMap build_mouse_position_map(std::span<const uint8_t> key_table);
// base_table with the current assignment of every present logical button at its position.
// Element i of keys is logical button i. Macro assignments go as they stand. Empty when the
// mouse's table was never read.
std::vector<uint8_t> build_mouse_key_table(std::span<const uint8_t> base_table,
                                           std::span<const KeyAssignRecord> keys, const MousePositionMap& map);

}  // namespace qxr::devices

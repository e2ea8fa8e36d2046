#pragma once
// Turning the profile's key list into the table the keyboard stores. Macro assignments name
// a macro by its index in the user's macro list; on the keyboard they name a slot of the
// macro image, and only the macros some key uses are sent. So macro indices are renumbered
// by first use, and collect_macro_slots gives the macros to send in that same order.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "devices/keyboard/key_maps.h"
#include "profile/records.h"

namespace qxr::devices {

inline constexpr uint8_t kAssignMacro = 0x70;
inline constexpr uint8_t kAssignMacroRepeat = 0x71;

inline bool is_macro_assignment(const KeyAssignment& a) {
  return a.type == kAssignMacro || a.type == kAssignMacroRepeat;
}

// Distinct macro indices in order of first use by ascending logical key, counting only keys
// the keyboard has (a position) and macros that exist (index below macro_count).
std::vector<int> collect_macro_slots(std::span<const KeyAssignRecord> keys, const KeyMaps& maps,
                                     size_t macro_count);

// The key table to send: base_table (the keyboard's own, key_count x 3 bytes) with every
// logical key that has a position overwritten by its assignment. Macro indices become slot
// numbers; an assignment to a macro that no longer exists sends the key's default instead.
std::vector<uint8_t> build_key_table(std::span<const uint8_t> base_table,
                                     std::span<const KeyAssignRecord> keys, const KeyMaps& maps,
                                     size_t macro_count);

// Gives every key whose macro no longer exists its default assignment back. True when any
// key changed.
bool revert_missing_macros(std::vector<KeyAssignRecord>& keys, size_t macro_count);

}  // namespace qxr::devices

#include "devices/keyboard/key_assignments.h"

#include <algorithm>

namespace qxr::devices {

namespace {

// The logical keys the keyboard has, in ascending order, with their positions.
template <typename F>
void for_each_present_key(std::span<const KeyAssignRecord> keys, const KeyMaps& maps, F&& f) {
  size_t n = std::min(keys.size(), kLogicalKeyCount);
  for (size_t i = 0; i < n; ++i) {
    uint8_t pos = maps.position[i];
    if (pos != kNoPosition) f(keys[i], pos);
  }
}

int slot_of(std::vector<int>& slots, int macro) {
  auto it = std::find(slots.begin(), slots.end(), macro);
  if (it != slots.end()) return static_cast<int>(it - slots.begin());
  slots.push_back(macro);
  return static_cast<int>(slots.size() - 1);
}

}  // namespace

std::vector<int> collect_macro_slots(std::span<const KeyAssignRecord> keys, const KeyMaps& maps,
                                     size_t macro_count) {
  std::vector<int> slots;
  for_each_present_key(keys, maps, [&](const KeyAssignRecord& r, uint8_t) {
    if (is_macro_assignment(r.assignment) && r.assignment.d1 < macro_count)
      slot_of(slots, r.assignment.d1);
  });
  return slots;
}

std::vector<uint8_t> build_key_table(std::span<const uint8_t> base_table,
                                     std::span<const KeyAssignRecord> keys, const KeyMaps& maps,
                                     size_t macro_count) {
  std::vector<uint8_t> table(base_table.begin(), base_table.end());
  std::vector<int> slots;
  for_each_present_key(keys, maps, [&](const KeyAssignRecord& r, uint8_t pos) {
    KeyAssignment a = r.assignment;
    if (is_macro_assignment(a)) {
      if (a.d1 < macro_count)
        a.d1 = static_cast<uint8_t>(slot_of(slots, a.d1));
      else
        a = r.default_assignment;
    }
    size_t at = size_t{pos} * kKeyCodeSize;
    if (at + kKeyCodeSize > table.size()) return;
    table[at] = a.type;
    table[at + 1] = a.d1;
    table[at + 2] = a.d2;
  });
  return table;
}

bool revert_missing_macros(std::vector<KeyAssignRecord>& keys, size_t macro_count) {
  bool changed = false;
  for (KeyAssignRecord& r : keys) {
    if (is_macro_assignment(r.assignment) && r.assignment.d1 >= macro_count) {
      uint16_t index = r.assignment.key_index;
      r.assignment = r.default_assignment;
      r.assignment.key_index = index;
      changed = true;
    }
  }
  return changed;
}

}  // namespace qxr::devices

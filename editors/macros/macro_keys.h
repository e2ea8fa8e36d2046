#pragma once
// Keys play macros by their index in the macro list, so deleting macro m must move every key
// that played a later macro down by one, and give the keys that played m their default back.
#include <cstddef>
#include <span>
#include <vector>

#include "profile/records.h"

namespace qxr::editors::macros {

// Whether any key currently plays macro m.
bool keys_play_macro(std::span<const KeyAssignRecord> keys, size_t m);
// The key list after macro m is deleted; true when any key changed.
bool renumber_keys_after_delete(std::vector<KeyAssignRecord>& keys, size_t m);

}  // namespace qxr::editors::macros

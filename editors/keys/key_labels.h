#pragma once
// What the device picture writes on a key for its current assignment: display-name keys
// (joined with "+" where a keyboard record is a modifier with a key), or the name of the macro
// it plays. Nothing for the stored types this program does not know: their label stays.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "profile/records.h"

namespace qxr::editors::keys {

struct KeyLabel {
  std::vector<std::string_view> names;  // display-name keys, shown joined with "+"
  std::string macro_name;               // for a macro: the macro's own name, shown as it is
  bool operator==(const KeyLabel&) const = default;
};

std::optional<KeyLabel> key_label(const KeyAssignment& record, std::span<const std::string> macro_names);

// A mouse's last key carrying the left button cannot be selected, so it cannot lose it.
bool is_last_left_button(std::span<const KeyAssignRecord> keys, size_t key);

}  // namespace qxr::editors::keys

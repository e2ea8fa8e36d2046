#pragma once
// Indexed names: a prefix followed by a decimal index ("key_12", "DPI_slider_3"), the way
// indexed controls are named and notifications are routed.
#include <optional>
#include <string_view>

namespace qxr {

struct IndexedNameView {
  std::string_view prefix;  // everything before the trailing digits, e.g. "key_"
  int index = 0;
  bool operator==(const IndexedNameView&) const = default;
};

// Splits off the trailing ASCII digits. Nothing when the name has no trailing digits, is only
// digits, or the index does not fit an int.
std::optional<IndexedNameView> split_indexed_name(std::string_view name);

}  // namespace qxr

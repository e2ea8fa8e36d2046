#include "core/indexed_name.h"

#include <charconv>

namespace qxr {

std::optional<IndexedNameView> split_indexed_name(std::string_view name) {
  size_t start = name.size();
  while (start > 0 && name[start - 1] >= '0' && name[start - 1] <= '9') --start;
  if (start == name.size() || start == 0) return std::nullopt;
  int index = 0;
  const auto [end, ec] = std::from_chars(name.data() + start, name.data() + name.size(), index);
  if (ec != std::errc() || end != name.data() + name.size()) return std::nullopt;
  return IndexedNameView{name.substr(0, start), index};
}

}  // namespace qxr

#include "core/indexed_name.h"

#include "core/whole_number.h"

namespace qxr {

std::optional<IndexedNameView> split_indexed_name(std::string_view name) {
  size_t start = name.size();
  while (start > 0 && name[start - 1] >= '0' && name[start - 1] <= '9') --start;
  if (start == name.size() || start == 0) return std::nullopt;
  const std::optional<int> index = whole_number<int>(name.substr(start));
  if (!index) return std::nullopt;
  return IndexedNameView{name.substr(0, start), *index};
}

}  // namespace qxr

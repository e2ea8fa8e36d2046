#pragma once
// Indexed control names: a prefix followed by a decimal index ("key_12", "DPI_slider_3").
#include <QString>

#include <optional>

namespace qxr::ui {

struct IndexedName {
  QString prefix;  // everything before the trailing digits, e.g. "key_"
  int index = 0;
  bool operator==(const IndexedName&) const = default;
};

// Splits off the trailing decimal digits. Nothing when the name has no trailing digits, is
// only digits, or the index does not fit an int.
std::optional<IndexedName> split_indexed_name(const QString& name);

// prefix + index, as "%s%d" builds it.
QString indexed_name(const QString& prefix, int index);

// The index when name is prefix followed by an index (prefix compared with the given case
// sensitivity), otherwise nothing.
std::optional<int> index_after_prefix(const QString& name, const QString& prefix,
                                      Qt::CaseSensitivity cs = Qt::CaseSensitive);

}  // namespace qxr::ui

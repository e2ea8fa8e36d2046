#include "ui/indexed_name.h"

#include <limits>

namespace qxr::ui {

std::optional<IndexedName> split_indexed_name(const QString& name) {
  qsizetype start = name.size();
  while (start > 0 && name.at(start - 1).isDigit() && name.at(start - 1).unicode() < 0x80) --start;
  if (start == name.size() || start == 0) return std::nullopt;
  bool ok = false;
  const qlonglong index = QStringView(name).mid(start).toLongLong(&ok);
  if (!ok || index > std::numeric_limits<int>::max()) return std::nullopt;
  return IndexedName{name.left(start), static_cast<int>(index)};
}

QString indexed_name(const QString& prefix, int index) { return prefix + QString::number(index); }

std::optional<int> index_after_prefix(const QString& name, const QString& prefix, Qt::CaseSensitivity cs) {
  const auto split = split_indexed_name(name);
  if (!split || split->prefix.compare(prefix, cs) != 0) return std::nullopt;
  return split->index;
}

}  // namespace qxr::ui

#include "ui/indexed_name.h"

#include "core/indexed_name.h"

namespace qxr::ui {

std::optional<IndexedName> split_indexed_name(const QString& name) {
  const QByteArray utf8 = name.toUtf8();
  const auto split = qxr::split_indexed_name(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
  if (!split) return std::nullopt;
  // The digits are ASCII: as many characters as bytes.
  const qsizetype digits = utf8.size() - static_cast<qsizetype>(split->prefix.size());
  return IndexedName{name.left(name.size() - digits), split->index};
}

QString indexed_name(const QString& prefix, int index) { return prefix + QString::number(index); }

std::optional<int> index_after_prefix(const QString& name, const QString& prefix, Qt::CaseSensitivity cs) {
  const auto split = split_indexed_name(name);
  if (!split || split->prefix.compare(prefix, cs) != 0) return std::nullopt;
  return split->index;
}

}  // namespace qxr::ui

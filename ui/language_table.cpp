#include "ui/language_table.h"

#include <QFile>
#include <QXmlStreamReader>

#include "core/debug_line.h"

namespace qxr::ui {

std::optional<LanguageTable> LanguageTable::load(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return parse(file.readAll());
}

std::optional<LanguageTable> LanguageTable::parse(const QByteArray& xml_text) {
  LanguageTable table;
  QXmlStreamReader xml(xml_text);
  bool seen_root = false;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (!seen_root) {
      if (xml.name() != QLatin1String("Language")) {
        xml.raiseError(QStringLiteral("root element is not <Language>"));
        break;
      }
      seen_root = true;
      table.name_ = xml.attributes().value(QLatin1String("name")).toString();
      continue;
    }
    if (xml.name() != QLatin1String("Text")) continue;
    const QString key = xml.attributes().value(QLatin1String("key")).toString();
    const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
    if (key.isEmpty()) continue;
    if (table.texts_.contains(key)) {
      table.duplicates_.push_back(key);
      continue;
    }
    table.texts_.insert(key, text);
  }
  if (xml.hasError() || !seen_root) {
    debug_fmt("language file: {} (line {})", xml.hasError() ? xml.errorString().toStdString() : "empty",
              xml.lineNumber());
    return std::nullopt;
  }
  return table;
}

void LanguageTable::merge_missing(const LanguageTable& other) {
  for (auto it = other.texts_.constBegin(); it != other.texts_.constEnd(); ++it) {
    if (!texts_.contains(it.key())) texts_.insert(it.key(), it.value());
  }
}

std::optional<QString> LanguageTable::text(const QString& key) const {
  const auto it = texts_.constFind(key);
  if (it == texts_.constEnd()) return std::nullopt;
  return *it;
}

}  // namespace qxr::ui

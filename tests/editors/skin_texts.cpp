#include "tests/editors/skin_texts.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <optional>

#include "ui/language_config.h"
#include "ui/language_table.h"
#include "ui/skin_resources.h"

namespace qxr::testing {
namespace {

QString skin_file(const QString& name) { return ui::SkinResources::global().file_path(name); }

}  // namespace

std::set<QString> skin_text_keys(const QString& skin_name) {
  static const QRegularExpression kKey(QStringLiteral("^[A-Za-z][A-Za-z0-9]*(_[A-Za-z0-9]+)+$"));
  std::set<QString> keys;
  QFile file(skin_file(skin_name));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << skin_name.toStdString();
  QXmlStreamReader xml(&file);
  QString property;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.name() == QLatin1String("property")) {
      property = xml.attributes().value(QLatin1String("name")).toString();
    } else if (xml.isStartElement() && xml.name() == QLatin1String("string") &&
               (property == QLatin1String("text") || property == QLatin1String("toolTip") ||
                property == QLatin1String("placeholderText"))) {
      const QString text = xml.readElementText();
      if (kKey.match(text).hasMatch()) keys.insert(text);
    }
  }
  EXPECT_FALSE(xml.hasError()) << skin_name.toStdString();
  return keys;
}

void expect_texts_in_every_language(const QString& panel_prefix, const std::set<QString>& used) {
  const auto entries = ui::read_language_config(
      QDir(QStringLiteral(QXR_TEST_SOURCE_DIR)).filePath(QStringLiteral("DefaultData/Language.config")));
  ASSERT_GE(entries.size(), 2u);
  std::optional<ui::LanguageTable> first;
  for (const ui::LanguageEntry& e : entries) {
    const std::optional<ui::LanguageTable> ours = ui::LanguageTable::load(skin_file(panel_prefix + e.file));
    const std::optional<ui::LanguageTable> base = ui::LanguageTable::load(skin_file(e.file));
    ASSERT_TRUE(ours && base) << e.file.toStdString();
    EXPECT_TRUE(ours->duplicates().isEmpty()) << e.file.toStdString();
    for (const QString& key : used) {
      EXPECT_TRUE(ours->contains(key) || base->contains(key)) << e.file.toStdString() << " lacks " << key.toStdString();
    }
    if (!first) {
      first = ours;
    } else {
      const QStringList mine = ours->keys(), theirs = first->keys();
      EXPECT_EQ(QSet<QString>(mine.begin(), mine.end()), QSet<QString>(theirs.begin(), theirs.end()))
          << e.file.toStdString();
    }
  }
}

}  // namespace qxr::testing

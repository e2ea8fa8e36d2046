// The key-assignment names: every display-name key of the function tables has a text in every
// language, so no label or list item ever shows a raw key.
#include <gtest/gtest.h>

#include <QDir>

#include "editors/keys/key_tables.h"
#include "ui/language_config.h"
#include "ui/language_table.h"
#include "ui/skin_resources.h"

using namespace qxr;

TEST(KeyTexts, EveryFunctionNameHasATextInEveryLanguage) {
  const auto entries = ui::read_language_config(
      QDir(QStringLiteral(QXR_TEST_SOURCE_DIR)).filePath(QStringLiteral("DefaultData/Language.config")));
  ASSERT_GE(entries.size(), 2u);
  for (const ui::LanguageEntry& e : entries) {
    const auto table = ui::LanguageTable::load(ui::SkinResources::global().file_path(e.file));
    ASSERT_TRUE(table) << e.file.toStdString();
    for (std::string_view name : editors::keys::KeyNameTable) {
      const QString key = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
      EXPECT_TRUE(table->contains(key)) << e.file.toStdString() << " lacks " << key.toStdString();
    }
  }
}

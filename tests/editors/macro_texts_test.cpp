// The macro panel's texts: every key its skin, its event names, its menu and its messages put
// on screen exists in every language.
#include <gtest/gtest.h>

#include "editors/macros/macro_rows.h"
#include "editors/macros/macro_tables.h"
#include "editors/macros/macro_texts.h"
#include "editors/macros/register_macros.h"
#include "tests/editors/skin_texts.h"

using namespace qxr::editors;

TEST(MacroTexts, EveryKeyShownExistsInEveryLanguage) {
  std::set<QString> used = qxr::testing::skin_text_keys(QStringLiteral("MacroControl.ui"));
  EXPECT_TRUE(used.count(QStringLiteral("macro_start_text")));  // the scan does find keys
  const auto add = [&used](std::string_view key) {
    if (!key.empty()) used.insert(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())));
  };
  for (const macros::MacroMouseEntry& e : macros::MacroMouseTable) add(e.name);
  for (const macros::MacroNotificationRow& row : macros::macro_notification_table()) add(row.text);
  for (std::string_view key : macros::texts::kAll) add(key);
  qxr::testing::expect_texts_in_every_language(QString::fromLatin1(kMacroTextPrefix), used);
}

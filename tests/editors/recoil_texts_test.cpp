// The recoil panel's texts: every key its skin and its messages put on screen exists in every
// language.
#include <gtest/gtest.h>

#include "editors/recoil/recoil_texts.h"
#include "editors/recoil/register_recoil.h"
#include "tests/editors/skin_texts.h"

using namespace qxr::editors;

TEST(RecoilTexts, EveryKeyShownExistsInEveryLanguage) {
  std::set<QString> used = qxr::testing::skin_text_keys(QStringLiteral("ShootControl.ui"));
  EXPECT_TRUE(used.count(QStringLiteral("shoot_send_text")));  // the scan does find keys
  EXPECT_TRUE(used.count(QStringLiteral("gun_4_txt")));
  for (std::string_view key : recoil::texts::kAll) {
    used.insert(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())));
  }
  qxr::testing::expect_texts_in_every_language(QString::fromLatin1(kRecoilTextPrefix), used);
}

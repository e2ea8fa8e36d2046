// The lighting panel's texts: every key its skins and its layout put on screen exists in every
// language, and a language loaded later gets them too.
#include <gtest/gtest.h>

#include <QLabel>

#include <set>

#include "editors/lighting/light_control_names.h"
#include "editors/lighting/light_control_ui.h"
#include "editors/lighting/light_layout.h"
#include "editors/lighting/light_texts.h"
#include "ui/language.h"
#include "tests/editors/skin_texts.h"

using namespace qxr;
using namespace qxr::editors;

TEST(LightTexts, EveryKeyShownExistsInEveryLanguage) {
  std::set<QString> used;
  for (const char* skin : {"LightControl.ui", "LightControlBasic.ui"}) {
    const std::set<QString> k = qxr::testing::skin_text_keys(QString::fromLatin1(skin));
    used.insert(k.begin(), k.end());
  }
  EXPECT_TRUE(used.count(QStringLiteral("light_seven_colour_text")));  // the scan does find keys
  for (const DirectionLabels& labels :
       {kLabelsRightLeft, kLabelsClockwise, kLabelsDownUp, kLabelsOutsideIn, kLabelsUpDown}) {
    used.insert(QString::fromLatin1(labels.first.data(), qsizetype(labels.first.size())));
    used.insert(QString::fromLatin1(labels.second.data(), qsizetype(labels.second.size())));
  }
  qxr::testing::expect_texts_in_every_language(QString::fromLatin1(kLightTextPrefix), used);
}

TEST(LightTexts, ALanguageLoadedLaterGetsThePanelsTexts) {
  ui::Language& language = ui::Language::instance();
  ASSERT_TRUE(language.load(QStringLiteral("lan_cn.xml")));
  EXPECT_EQ(language.text(QStringLiteral("light_effect_text")), QStringLiteral("灯效"));
  EXPECT_EQ(language.text(QStringLiteral("msg_confirm_text")), QStringLiteral("确定"));  // the toolkit's own stay
  QLabel shown;
  language.set_text(&shown, QStringLiteral("light_speed_text"));
  ASSERT_TRUE(language.load(QStringLiteral("lan_en.xml")));
  EXPECT_EQ(shown.text(), QStringLiteral("Speed"));
  EXPECT_FALSE(merge_light_texts());  // nothing left to merge
}

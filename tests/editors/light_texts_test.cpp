// The lighting panel's texts: every key its skins and its layout put on screen exists in every
// language, and a language loaded later gets them too.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <set>

#include "editors/lighting/light_control_names.h"
#include "editors/lighting/light_control_ui.h"
#include "editors/lighting/light_layout.h"
#include "editors/lighting/light_texts.h"
#include "ui/language.h"
#include "ui/language_config.h"
#include "ui/language_table.h"
#include "ui/skin_resources.h"

using namespace qxr;
using namespace qxr::editors;

namespace {

QString skin_file(const QString& name) { return ui::SkinResources::global().file_path(name); }

// Texts and tips of a skin written as language keys.
std::set<QString> keys_of(const QString& ui_file) {
  static const QRegularExpression kKey(QStringLiteral("^[A-Za-z][A-Za-z0-9]*(_[A-Za-z0-9]+)+$"));
  std::set<QString> keys;
  QFile file(ui_file);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << ui_file.toStdString();
  QXmlStreamReader xml(&file);
  QString property;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.name() == QLatin1String("property")) {
      property = xml.attributes().value(QLatin1String("name")).toString();
    } else if (xml.isStartElement() && xml.name() == QLatin1String("string") &&
               (property == QLatin1String("text") || property == QLatin1String("toolTip"))) {
      const QString text = xml.readElementText();
      if (kKey.match(text).hasMatch()) keys.insert(text);
    }
  }
  EXPECT_FALSE(xml.hasError()) << ui_file.toStdString();
  return keys;
}

std::vector<ui::LanguageEntry> languages() {
  const QString config = QDir(QStringLiteral(QXR_TEST_SOURCE_DIR)).filePath(QStringLiteral("DefaultData/Language.config"));
  return ui::read_language_config(config);
}

}  // namespace

TEST(LightTexts, EveryKeyShownExistsInEveryLanguage) {
  std::set<QString> used;
  for (const char* skin : {"LightControl.ui", "LightControlBasic.ui"}) {
    const std::set<QString> k = keys_of(skin_file(QString::fromLatin1(skin)));
    used.insert(k.begin(), k.end());
  }
  EXPECT_TRUE(used.count(QStringLiteral("light_seven_colour_text")));  // the scan does find keys
  for (const DirectionLabels& labels :
       {kLabelsRightLeft, kLabelsClockwise, kLabelsDownUp, kLabelsOutsideIn, kLabelsUpDown}) {
    used.insert(QString::fromLatin1(labels.first.data(), qsizetype(labels.first.size())));
    used.insert(QString::fromLatin1(labels.second.data(), qsizetype(labels.second.size())));
  }
  const std::vector<ui::LanguageEntry> entries = languages();
  ASSERT_GE(entries.size(), 2u);
  std::optional<ui::LanguageTable> first;
  for (const ui::LanguageEntry& e : entries) {
    std::optional<ui::LanguageTable> ours =
        ui::LanguageTable::load(skin_file(QString::fromLatin1(kLightTextPrefix) + e.file));
    ASSERT_TRUE(ours) << e.file.toStdString();
    EXPECT_TRUE(ours->duplicates().isEmpty()) << e.file.toStdString();
    for (const QString& key : used) EXPECT_TRUE(ours->contains(key)) << e.file.toStdString() << " lacks " << key.toStdString();
    if (!first) {
      first = ours;
    } else {
      const QStringList mine = ours->keys(), theirs = first->keys();
      EXPECT_EQ(QSet<QString>(mine.begin(), mine.end()), QSet<QString>(theirs.begin(), theirs.end()))
          << e.file.toStdString();
    }
  }
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

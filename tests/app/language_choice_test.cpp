#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/window/app_style.h"
#include "app/window/language_choice.h"
#include "profile/data_paths.h"
#include "ui/language.h"
#include "ui/language_table.h"
#include "ui/skin_resources.h"

namespace qxr::app {
namespace {

class LanguageChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    settings_ = std::make_unique<AppSettings>(dir_.filePath(QStringLiteral("settings.ini")));
    config_ = QString::fromStdString(DefaultDataFolder()) + QStringLiteral("Language.config");
  }
  void TearDown() override {
    ui::Language::instance().set_table(ui::LanguageTable{});
    set_interface_font(QString());
  }
  int index_of(const char* name, const LanguageChoice& choice) {
    for (size_t i = 0; i < choice.entries().size(); ++i) {
      if (choice.entries()[i].name == QLatin1String(name)) return static_cast<int>(i);
    }
    return -1;
  }

  QTemporaryDir dir_;
  std::unique_ptr<AppSettings> settings_;
  QString config_;
};

TEST_F(LanguageChoiceTest, ApplyingLoadsTheTextsAndKeepsTheChoice) {
  LanguageChoice choice(*settings_, config_);
  ASSERT_GE(choice.entries().size(), 2u);
  const int en = index_of("en_US", choice);
  const int cn = index_of("zh_CN", choice);
  ASSERT_GE(en, 0);
  ASSERT_GE(cn, 0);
  EXPECT_FALSE(choice.stored_index().has_value());
  ASSERT_TRUE(choice.apply(en));
  EXPECT_EQ(choice.current(), en);
  // The toolkit's texts and the program's own are both there.
  EXPECT_EQ(ui::Language::instance().text(QStringLiteral("message_text_5")).isEmpty(), false);
  EXPECT_NE(ui::Language::instance().text(QStringLiteral("message_text_5")), QStringLiteral("message_text_5"));
  EXPECT_EQ(ui::Language::instance().text(QStringLiteral("tab_light_text")), QStringLiteral("Lighting"));
  EXPECT_EQ(settings_->language_id(), choice.entries()[static_cast<size_t>(en)].id);

  LanguageChoice again(*settings_, config_);
  EXPECT_EQ(again.stored_index(), en);
  EXPECT_EQ(again.start_index(), en);
  ASSERT_TRUE(again.apply(cn));
  EXPECT_EQ(ui::Language::instance().text(QStringLiteral("tab_light_text")), QStringLiteral("灯光"));
  // The fonts follow the language.
  EXPECT_EQ(interface_font(), QStringLiteral("汉仪菱心体简"));
}

TEST_F(LanguageChoiceTest, SameIndexAgainDoesNothingAndBadIndicesAreRefused) {
  LanguageChoice choice(*settings_, config_);
  // The start's own pick is applied but not stored.
  ASSERT_TRUE(choice.apply(1, LanguageChoice::Remember::No));
  EXPECT_EQ(choice.current(), 1);
  EXPECT_FALSE(QFile::exists(settings_->file()));
  ASSERT_TRUE(choice.apply(0));
  EXPECT_EQ(settings_->language_id(), choice.entries()[0].id);
  QFile::remove(settings_->file());
  EXPECT_TRUE(choice.apply(0));
  // Nothing was done, so nothing was written.
  EXPECT_FALSE(QFile::exists(settings_->file()));
  EXPECT_FALSE(choice.apply(-1));
  EXPECT_FALSE(choice.apply(static_cast<int>(choice.entries().size())));
  EXPECT_EQ(choice.current(), 0);
}

TEST_F(LanguageChoiceTest, AStoredIdThatIsNotOfferedIsIgnored) {
  ASSERT_TRUE(settings_->set_language_id(9999));
  LanguageChoice choice(*settings_, config_);
  EXPECT_FALSE(choice.stored_index().has_value());
  EXPECT_GE(choice.start_index(), 0);
}

TEST_F(LanguageChoiceTest, AMissingConfigurationOffersNothing) {
  LanguageChoice choice(*settings_, dir_.filePath(QStringLiteral("none.config")));
  EXPECT_TRUE(choice.entries().empty());
  EXPECT_EQ(choice.start_index(), kNoLanguage);
  EXPECT_FALSE(choice.apply(0));
}

TEST_F(LanguageChoiceTest, TheToolkitsTextWinsWhereBothHaveAKey) {
  const ui::SkinResources original = ui::SkinResources::global();
  QDir skin(dir_.path());
  ASSERT_TRUE(skin.mkpath(QStringLiteral("skin")));
  auto write = [&](const char* name, const char* xml) {
    QFile f(skin.filePath(QStringLiteral("skin/") + QLatin1String(name)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(xml);
  };
  write("res.xml", "<Res/>");
  write("lan_x.xml", "<Language name='x'><Text key='a'>toolkit</Text></Language>");
  write("app_lan_x.xml", "<Language name='x'><Text key='a'>ours</Text><Text key='b'>only ours</Text></Language>");
  auto resources = ui::SkinResources::open(skin.filePath(QStringLiteral("skin")));
  ASSERT_TRUE(resources.has_value());
  ui::SkinResources::install(*resources);
  const bool loaded = LanguageChoice::load_texts(QStringLiteral("lan_x.xml"));
  const QString a = ui::Language::instance().text(QStringLiteral("a"));
  const QString b = ui::Language::instance().text(QStringLiteral("b"));
  const bool missing = LanguageChoice::load_texts(QStringLiteral("lan_none.xml"));
  ui::SkinResources::install(original);
  EXPECT_TRUE(loaded);
  EXPECT_EQ(a, QStringLiteral("toolkit"));
  EXPECT_EQ(b, QStringLiteral("only ours"));
  EXPECT_FALSE(missing);
}

}  // namespace
}  // namespace qxr::app

// Language tables, live re-translation, the hidden-label lookup, and that every key shown
// exists in every language.
#include <gtest/gtest.h>

#include <json/json.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "ui/language.h"
#include "ui/language_config.h"
#include "ui/skin_loader.h"
#include "ui/text_keys.h"
#include "ui_test_support.h"

using namespace qxr::ui;
using namespace qxr::ui::testing;

TEST(LanguageTable, ReadsKeysAndTexts) {
  const auto table = LanguageTable::parse(
      "<Language name=\"en_US\"><Text key=\"a_text\">Alpha</Text><Text key=\"b_text\"> spaced </Text>"
      "<Text>no key</Text><Text key=\"a_text\">Again</Text><Text key=\"amp_text\">A &amp; B</Text></Language>");
  ASSERT_TRUE(table);
  EXPECT_EQ(table->name(), QStringLiteral("en_US"));
  EXPECT_EQ(table->text(QStringLiteral("a_text")), QStringLiteral("Alpha"));  // the first wins
  EXPECT_EQ(table->text(QStringLiteral("b_text")), QStringLiteral(" spaced "));
  EXPECT_EQ(table->text(QStringLiteral("amp_text")), QStringLiteral("A & B"));
  EXPECT_EQ(table->duplicates(), QStringList{QStringLiteral("a_text")});
  EXPECT_EQ(table->size(), 3);
  EXPECT_FALSE(table->text(QStringLiteral("c_text")));

  auto merged = *table;
  merged.merge_missing(*LanguageTable::parse(
      "<Language><Text key=\"a_text\">Other</Text><Text key=\"c_text\">Gamma</Text></Language>"));
  EXPECT_EQ(merged.text(QStringLiteral("a_text")), QStringLiteral("Alpha"));
  EXPECT_EQ(merged.text(QStringLiteral("c_text")), QStringLiteral("Gamma"));
  EXPECT_EQ(merged.size(), 4);
}

TEST(LanguageTable, RefusesWhatIsNotALanguageFile) {
  EXPECT_FALSE(LanguageTable::parse("<Language><Text key=\"a\">x</Language>"));
  EXPECT_FALSE(LanguageTable::parse("<Res><Skin/></Res>"));
  EXPECT_FALSE(LanguageTable::parse(""));
  EXPECT_FALSE(LanguageTable::load(QStringLiteral("/no/such/lan.xml")));
  // A failed load keeps the language in force.
  use_language(QStringLiteral("lan_en.xml"));
  EXPECT_FALSE(Language::instance().load(QStringLiteral("lan_none.xml")));
  EXPECT_EQ(Language::instance().file_name(), QStringLiteral("lan_en.xml"));
  EXPECT_EQ(Language::instance().text(QStringLiteral("msg_confirm_text")), QStringLiteral("OK"));
}

namespace {

class LanguageSwitchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    use_language(QStringLiteral("lan_en.xml"));
    resources_ = SkinResources::open(test_skin_dir());
    ASSERT_TRUE(resources_);
    SkinLoader loader(ControlFactory::global(), *resources_);
    root_.reset(loader.load_skin(QStringLiteral("XML_CONTROLS")));
    ASSERT_NE(root_, nullptr);
  }
  void TearDown() override { use_language(QStringLiteral("lan_en.xml")); }

  template <typename T>
  T* find(const char* name) {
    return root_->findChild<T*>(QString::fromLatin1(name));
  }

  std::optional<SkinResources> resources_;
  std::unique_ptr<QWidget> root_;
};

}  // namespace

TEST_F(LanguageSwitchTest, SkinTextsShowTranslatedAndFollowASwitch) {
  auto* title = find<QLabel>("title_label");
  auto* button = find<QPushButton>("plain_btn");
  auto* combo = find<QComboBox>("light_combo_modeSelect");
  auto* edit = find<QLineEdit>("deng_edit_R");
  EXPECT_EQ(title->text(), QStringLiteral("About"));
  EXPECT_EQ(Language::instance().text_key(title), QStringLiteral("about_title_text"));
  EXPECT_EQ(button->text(), QStringLiteral("OK"));
  EXPECT_EQ(button->toolTip(), QStringLiteral("Close"));
  EXPECT_EQ(combo->itemText(1), QStringLiteral("Breathing"));
  EXPECT_EQ(edit->placeholderText(), QStringLiteral("Notice"));
  EXPECT_EQ(find<QLabel>("literal_label")->text(), QStringLiteral("Plain words stay"));

  use_language(QStringLiteral("lan_cn.xml"));
  EXPECT_EQ(title->text(), QStringLiteral("关于"));
  EXPECT_EQ(button->text(), QStringLiteral("确定"));
  EXPECT_EQ(button->toolTip(), QStringLiteral("关闭"));
  EXPECT_EQ(combo->itemText(1), QStringLiteral("呼吸"));
  EXPECT_EQ(edit->placeholderText(), QStringLiteral("提示"));
  EXPECT_EQ(find<QLabel>("literal_label")->text(), QStringLiteral("Plain words stay"));

  use_language(QStringLiteral("lan_en.xml"));
  EXPECT_EQ(title->text(), QStringLiteral("About"));
  EXPECT_EQ(combo->itemText(1), QStringLiteral("Breathing"));
}

TEST_F(LanguageSwitchTest, TextsThePageReplacedAreNotOverwritten) {
  auto* title = find<QLabel>("title_label");
  title->setText(QStringLiteral("My profile"));  // e.g. a profile name put there directly
  auto* button = find<QPushButton>("plain_btn");
  Language::instance().set_text(button, QStringLiteral("msg_cancel_text"));
  EXPECT_EQ(button->text(), QStringLiteral("Cancel"));
  use_language(QStringLiteral("lan_cn.xml"));
  EXPECT_EQ(title->text(), QStringLiteral("My profile"));
  EXPECT_EQ(button->text(), QStringLiteral("取消"));
  // A key put there directly is picked up by the next switch.
  title->setText(QStringLiteral("msg_title_text"));
  use_language(QStringLiteral("lan_en.xml"));
  EXPECT_EQ(title->text(), QStringLiteral("Notice"));
  EXPECT_EQ(Language::instance().text_key(title), QStringLiteral("msg_title_text"));
}

TEST_F(LanguageSwitchTest, HiddenLabelLookupResolvesKeys) {
  EXPECT_EQ(localized_text(root_.get(), QStringLiteral("keyboard_key_Space")), QStringLiteral("Space"));
  EXPECT_EQ(find<QLabel>("text_test")->text(), QStringLiteral("Space"));
  EXPECT_FALSE(find<QLabel>("text_test")->isVisibleTo(root_.get()));
  use_language(QStringLiteral("lan_cn.xml"));
  EXPECT_EQ(localized_text(root_.get(), QStringLiteral("keyboard_key_Space")), QStringLiteral("空格"));
  EXPECT_EQ(localized_text(root_.get(), QStringLiteral("keyboard_key_Num *")), QStringLiteral("小键盘 *"));
  // Unknown keys come back as they are; without a hidden label the table answers.
  EXPECT_EQ(localized_text(root_.get(), QStringLiteral("no_such_key")), QStringLiteral("no_such_key"));
  QWidget bare;
  EXPECT_EQ(localized_text(&bare, QStringLiteral("message_text_25")), QStringLiteral("名称不能为空。"));
  EXPECT_EQ(localized_text(nullptr, QStringLiteral("message_text_25")), QStringLiteral("名称不能为空。"));
}

namespace {

QString skin_dir() { return QDir(source_dir()).filePath(QStringLiteral("skin")); }

// Every language key a skin puts on screen: text-like properties and item texts written as a
// key (letters, digits and underscores, at least one underscore), less those marked
// notr="true". Other texts ("A", "1000 Hz") are shown as they stand.
std::set<QString> keys_used_by(const QString& ui_file) {
  static const QStringList kTextProperties = {QStringLiteral("text"),        QStringLiteral("toolTip"),
                                              QStringLiteral("windowTitle"), QStringLiteral("title"),
                                              QStringLiteral("placeholderText"), QStringLiteral("statusTip")};
  static const QRegularExpression kKey(QStringLiteral("^[A-Za-z][A-Za-z0-9]*(_[A-Za-z0-9]+)+$"));
  std::set<QString> keys;
  QFile file(ui_file);
  if (!file.open(QIODevice::ReadOnly)) return keys;
  QXmlStreamReader xml(&file);
  QString property;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.name() == QLatin1String("property")) {
      property = xml.attributes().value(QLatin1String("name")).toString();
    } else if (xml.isStartElement() && xml.name() == QLatin1String("string") && kTextProperties.contains(property)) {
      const bool untranslated = xml.attributes().value(QLatin1String("notr")) == QLatin1String("true");
      const QString text = xml.readElementText();
      if (!untranslated && kKey.match(text).hasMatch()) keys.insert(text);
    }
  }
  EXPECT_FALSE(xml.hasError()) << ui_file.toStdString();
  return keys;
}

// The language files of Language.config by language name. With companions: each merged with
// the files of the skin folder named "<part>_<file>" (a program's own texts beside ours).
std::map<QString, LanguageTable> language_files(bool with_companions = false) {
  std::map<QString, LanguageTable> tables;
  const auto entries = read_language_config(QDir(source_dir()).filePath(QStringLiteral("DefaultData/Language.config")));
  EXPECT_GE(entries.size(), 2u);
  for (const LanguageEntry& e : entries) {
    auto table = LanguageTable::load(QDir(skin_dir()).filePath(e.file));
    EXPECT_TRUE(table) << e.file.toStdString();
    if (!table) continue;
    if (with_companions) {
      const QStringList companions = QDir(skin_dir()).entryList({QStringLiteral("*_") + e.file}, QDir::Files);
      for (const QString& companion : companions) {
        auto extra = LanguageTable::load(QDir(skin_dir()).filePath(companion));
        EXPECT_TRUE(extra) << companion.toStdString();
        if (extra) table->merge_missing(*extra);
      }
    }
    tables.emplace(e.name, std::move(*table));
  }
  return tables;
}

}  // namespace

TEST(LanguageFiles, EveryKeyUsedExistsInEveryLanguage) {
  std::set<QString> used;
  const QStringList skins = QDir(skin_dir()).entryList({QStringLiteral("*.ui")}, QDir::Files);
  ASSERT_FALSE(skins.isEmpty());
  for (const QString& skin : skins) {
    const auto keys = keys_used_by(QDir(skin_dir()).filePath(skin));
    used.insert(keys.begin(), keys.end());
  }
  for (const char* key : code_text_keys()) used.insert(QString::fromUtf8(key));
  EXPECT_TRUE(used.count(QStringLiteral("msg_confirm_text")));  // the scan does find skin keys
  const auto tables = language_files(true);
  ASSERT_FALSE(tables.empty());
  for (const auto& [name, table] : tables) {
    for (const QString& key : used) EXPECT_TRUE(table.contains(key)) << name.toStdString() << " lacks " << key.toStdString();
  }
}

TEST(LanguageFiles, AllLanguagesHaveTheSameKeysOnceEach) {
  for (bool with_companions : {false, true}) {
    const auto tables = language_files(with_companions);
    ASSERT_GE(tables.size(), 2u);
    const LanguageTable& first = tables.begin()->second;
    for (const auto& [name, table] : tables) {
      const std::string lang = name.toStdString();
      EXPECT_TRUE(table.duplicates().isEmpty()) << lang << ": " << table.duplicates().join(u' ').toStdString();
      for (const QString& key : first.keys()) EXPECT_TRUE(table.contains(key)) << lang << " lacks " << key.toStdString();
      for (const QString& key : table.keys()) {
        EXPECT_TRUE(first.contains(key)) << "only " << lang << " has " << key.toStdString();
        EXPECT_FALSE(table.text(key)->isEmpty()) << lang << " " << key.toStdString();
      }
    }
  }
}

TEST(LanguageFiles, TheDataTextsAreMergedUnchanged) {
  std::ifstream in(QDir(source_dir()).filePath(QStringLiteral("DefaultData/language_keys.json")).toStdString());
  ASSERT_TRUE(in);
  Json::Value root;
  Json::CharReaderBuilder builder;
  std::string errors;
  ASSERT_TRUE(Json::parseFromStream(builder, in, &root, &errors)) << errors;
  const auto tables = language_files();
  // language_keys.json names its languages "zh_CN" and "en"; Language.config "zh_CN" and "en_US".
  const std::pair<const char*, const char*> columns[] = {{"zh_CN", "zh_CN"}, {"en", "en_US"}};
  ASSERT_GT(root.size(), 0u);
  for (const auto& [column, language] : columns) {
    const auto it = tables.find(QString::fromLatin1(language));
    ASSERT_NE(it, tables.end()) << language;
    for (const std::string& key : root.getMemberNames()) {
      const QString expected = QString::fromStdString(root[key][column].asString());
      EXPECT_EQ(it->second.text(QString::fromStdString(key)).value_or(QStringLiteral("<missing>")), expected)
          << language << " " << key;
    }
  }
}

TEST(LanguageFiles, TheMessageWithACodeCanBeFormatted) {
  for (const auto& [name, table] : language_files()) {
    EXPECT_EQ(table.text(QStringLiteral("message_text_16"))->count(QStringLiteral("%d")), 1) << name.toStdString();
  }
}

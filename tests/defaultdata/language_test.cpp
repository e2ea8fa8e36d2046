// The interface languages and the texts of every language key the default data introduces.
#include <gtest/gtest.h>

#include <set>

#include "tests/defaultdata/default_data.h"

namespace qxr::test {
namespace {

TEST(Languages, ChineseFirstWithItsFileAndAnEnglishChoice) {
  const Json::Value languages = ReadDefaultDocument("Language.config")["Language"];
  ASSERT_TRUE(languages.isArray());
  ASSERT_GE(languages.size(), 2u);
  // The window loads "lan_cn.xml" before any choice, and index 0 selects the Chinese font.
  EXPECT_EQ(languages[0]["Language_file"].asString(), "lan_cn.xml");

  std::set<int> ids;
  std::set<std::string> files;
  bool english = false;
  for (const Json::Value& l : languages) {
    ASSERT_TRUE(l["Language_ID"].isInt());
    ids.insert(l["Language_ID"].asInt());
    const std::string file = l["Language_file"].asString();
    files.insert(file);
    EXPECT_TRUE(file.size() > 4 && file.ends_with(".xml")) << file;
    EXPECT_FALSE(l["Language_name"].asString().empty());
    EXPECT_FALSE(l["Language_text"].asString().empty());
    english = english || l["Language_name"].asString().starts_with("en");
  }
  EXPECT_EQ(ids.size(), languages.size()) << "the remembered id must find one language";
  EXPECT_EQ(files.size(), languages.size());
  EXPECT_TRUE(english);
}

TEST(Languages, EveryKeyOfTheDataHasEnglishAndChineseTexts) {
  const Json::Value texts = ReadDefaultDocument("language_keys.json");
  const std::set<std::string> used = LanguageKeysInData();
  ASSERT_GE(used.size(), 30u) << "modes, areas, effects and corrections should all be named";
  for (const std::string& key : used) {
    ASSERT_TRUE(texts.isMember(key)) << key;
    EXPECT_FALSE(texts[key]["en"].asString().empty()) << key;
    EXPECT_FALSE(texts[key]["zh_CN"].asString().empty()) << key;
  }
  // No orphans: the GUI merges every listed key, so each must be in use.
  for (const std::string& key : texts.getMemberNames()) {
    EXPECT_TRUE(used.count(key)) << key << " is listed but unused";
  }
}

}  // namespace
}  // namespace qxr::test

#pragma once
// "Language.config": the languages the program offers, in file order.
#include <string>
#include <vector>

namespace qxr {

struct LanguageConfigEntry {
  int id = 0;        // "Language_ID", the value kept in the user's settings
  std::string name;  // "Language_name"
  std::string file;  // "Language_file", a language file of the skin folder
  std::string text;  // "Language_text", what the language list shows
};

// The entries of the array "Language". Empty for text that is not such a document; members
// missing from an entry read as 0 or empty.
std::vector<LanguageConfigEntry> ParseLanguageConfig(const std::string& json_text);

}  // namespace qxr

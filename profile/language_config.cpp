#include "profile/language_config.h"

#include "profile/json_access.h"
#include "profile/json_file.h"

namespace qxr {

std::vector<LanguageConfigEntry> ParseLanguageConfig(const std::string& json_text) {
  std::vector<LanguageConfigEntry> entries;
  const Json::Value root = ParseJsonText(json_text);
  const Json::Value& list = Member(root, "Language");
  if (!list.isArray()) return entries;
  for (const Json::Value& item : list) {
    if (!item.isObject()) continue;
    const Json::Value& id = item["Language_ID"];
    auto text = [&](const char* name) {
      const Json::Value& v = item[name];
      return v.isString() ? v.asString() : std::string();
    };
    entries.push_back({id.isInt() ? id.asInt() : 0, text("Language_name"), text("Language_file"), text("Language_text")});
  }
  return entries;
}

}  // namespace qxr

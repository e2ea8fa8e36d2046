#include "profile/keyboard_profile_data.h"

#include <algorithm>

#include "profile/json_access.h"
#include "profile/record_json.h"

namespace qxr {

namespace {
constexpr char kCustomLightMode[] = "CustomLightMode";
constexpr char kLightColorInfo[] = "LightColorInfo";
constexpr char kGroupIndex[] = "CustomLightModeGroupIndex";
// Bounds on what a caller may make the profile hold (a keyboard has about 170 cells).
constexpr int kMaxCustomGroup = 255;
constexpr int kMaxCustomCells = 1024;

uint16_t word_of(const Json::Value& object, const char* key) {
  return static_cast<uint16_t>(ToInt(Member(object, key)));
}
}  // namespace

KeyboardSystemStages CKeyboardProfiledata::GetSystemStages() const {
  const Json::Value& o = Member(device(), "SystemStages");
  KeyboardSystemStages s;
  s.repeat = word_of(o, "Repeat");
  s.repeat_delay = word_of(o, "RepeatDelay");
  s.key6_flag = word_of(o, "Key6Flag");
  s.polling_rate = word_of(o, "PollingRate");
  s.w_flag = word_of(o, "WFlag");
  s.win_flag = word_of(o, "WinFlag");
  return s;
}

void CKeyboardProfiledata::SetSystemStages(const KeyboardSystemStages& s) {
  Json::Value& o = WritableMember(device(), "SystemStages");
  WritableMember(o, "Repeat") = s.repeat;
  o["RepeatDelay"] = s.repeat_delay;
  o["Key6Flag"] = s.key6_flag;
  o["PollingRate"] = s.polling_rate;
  o["WFlag"] = s.w_flag;
  o["WinFlag"] = s.win_flag;
}

std::vector<CustomColour> CKeyboardProfiledata::GetCustomColours(int group, int count) {
  count = std::clamp(count, 0, kMaxCustomCells);
  colour_cache_.assign(static_cast<std::size_t>(count), CustomColour{});
  if (group < 0 || group > kMaxCustomGroup || device().isNull()) return colour_cache_;
  const auto g = static_cast<Json::ArrayIndex>(group);
  const Json::Value& mode = Member(device(), kCustomLightMode);
  const Json::Value& groups = Member(mode, kLightColorInfo);
  const Json::Value& cells = Element(groups, g);
  if (cells.isNull()) {
    // Fill the group only where nothing of another shape would be overwritten.
    if (CanHoldMembers(mode) && CanHoldElements(groups)) {
      Json::Value zeros(Json::arrayValue);
      for (int i = 0; i < count; ++i) zeros.append(CustomColourToJson({}));
      WritableElement(WritableMember(WritableMember(device(), kCustomLightMode), kLightColorInfo),
                      g) = std::move(zeros);
    }
    return colour_cache_;
  }
  if (!cells.isArray()) return colour_cache_;
  Json::Value& stored = device()[kCustomLightMode][kLightColorInfo][g];
  for (int i = 0; i < count; ++i) {
    const auto index = static_cast<Json::ArrayIndex>(i);
    const Json::Value& e = Element(stored, index);
    if (e.isNull()) {
      stored[index] = CustomColourToJson({});
    } else {
      colour_cache_[static_cast<std::size_t>(i)] = CustomColourFromJson(e);
    }
  }
  return colour_cache_;
}

void CKeyboardProfiledata::SetCustomColours(const std::vector<CustomColour>& list, int group) {
  colour_cache_ = list;
  if (group < 0 || group > kMaxCustomGroup) return;
  Json::Value& groups = WritableMember(WritableMember(device(), kCustomLightMode), kLightColorInfo);
  Json::Value& cells = WritableElement(groups, static_cast<Json::ArrayIndex>(group));
  Json::ArrayIndex i = 0;
  for (const CustomColour& c : list) WritableElement(cells, i++) = CustomColourToJson(c);
}

int CKeyboardProfiledata::GetCustomGroupIndex() const {
  return ToInt(Member(Member(device(), kCustomLightMode), kGroupIndex));
}

void CKeyboardProfiledata::SetCustomGroupIndex(int index) {
  WritableMember(WritableMember(device(), kCustomLightMode), kGroupIndex) = index;
}

}  // namespace qxr

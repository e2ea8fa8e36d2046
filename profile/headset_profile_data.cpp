#include "profile/headset_profile_data.h"

#include <algorithm>

#include "profile/json_access.h"

namespace qxr {

namespace {
constexpr char kSystemSetStages[] = "SystemSetStages";
constexpr char kEqPresets[] = "EQHzValueInfo";
constexpr char kCustomEqs[] = "CustomEQHzValueInfo";
constexpr char kCustomEqNames[] = "CustomEQNameInfo";
constexpr char kBandValue[] = "value";
// The headset keeps at most 20 custom equalisers; the bound only keeps a wild index from
// growing the document.
constexpr int kMaxCustomEqIndex = 255;

int preset_of(int type) {
  return type >= kEqFirstPreset && type <= kEqLastPreset ? type : kEqFirstPreset;
}

Json::Value& band_value(Json::Value& device, const char* member, Json::ArrayIndex index, int band) {
  Json::Value& bands = WritableElement(WritableMember(device, member), index);
  return WritableMember(WritableElement(bands, static_cast<Json::ArrayIndex>(band)), kBandValue);
}

// The gains of entry index of member; a missing entry is filled with zero gains where
// nothing of another shape would be overwritten.
std::vector<int> read_bands(Json::Value& device, const char* member, int index) {
  std::vector<int> values(kEqBandCount, 0);
  if (device.isNull()) return values;
  const auto i = static_cast<Json::ArrayIndex>(index);
  const Json::Value& all = Member(device, member);
  const Json::Value& bands = Element(all, i);
  if (bands.isNull()) {
    if (device.isObject() && CanHoldElements(all)) {
      for (int b = 0; b < kEqBandCount; ++b) band_value(device, member, i, b) = 0;
    }
    return values;
  }
  for (int b = 0; b < kEqBandCount; ++b) {
    values[static_cast<std::size_t>(b)] =
        ToInt(Member(Element(bands, static_cast<Json::ArrayIndex>(b)), kBandValue));
  }
  return values;
}

void write_bands(Json::Value& device, const char* member, int index, const std::vector<int>& list) {
  const int n = std::min(static_cast<int>(list.size()), kEqBandCount);
  for (int b = 0; b < n; ++b) {
    band_value(device, member, static_cast<Json::ArrayIndex>(index), b) =
        list[static_cast<std::size_t>(b)];
  }
}

bool custom_index_ok(int index) { return index >= 0 && index <= kMaxCustomEqIndex; }
}  // namespace

HeadsetSystemSetStages CZo6533Profiledata::GetSystemSetStages() const {
  const Json::Value& o = Member(device(), kSystemSetStages);
  HeadsetSystemSetStages s;
  s.magic_enable = ToInt(Member(o, "MagicEnable"));
  s.magic_type = ToInt(Member(o, "MagicType"));
  s.eq_type = ToInt(Member(o, "EqType"));
  s.custom_eq_select_index = ToInt(Member(o, "CustomEqSeletIndex"));
  s.mic_in_select = ToInt(Member(o, "MicInSelect"));
  s.mic_in_value = ToInt(Member(o, "MicInValue"));
  s.mic_monitor_select = ToInt(Member(o, "MicMoniterSelect"));
  s.mic_monitor_value = ToInt(Member(o, "MicMoniterValue"));
  s.virtual_surround = ToInt(Member(o, "VirtualSurround"));
  return s;
}

void CZo6533Profiledata::SetSystemSetStages(const HeadsetSystemSetStages& s) {
  Json::Value& o = WritableMember(device(), kSystemSetStages);
  WritableMember(o, "MagicEnable") = s.magic_enable;
  o["MagicType"] = s.magic_type;
  o["EqType"] = s.eq_type;
  o["CustomEqSeletIndex"] = s.custom_eq_select_index;
  o["MicInSelect"] = s.mic_in_select;
  o["MicInValue"] = s.mic_in_value;
  o["MicMoniterSelect"] = s.mic_monitor_select;
  o["MicMoniterValue"] = s.mic_monitor_value;
  o["VirtualSurround"] = s.virtual_surround;
}

std::vector<int> CZo6533Profiledata::GetEqValues(int type) {
  if (type == kEqCustomType) return {};
  eq_cache_ = read_bands(device(), kEqPresets, preset_of(type));
  return eq_cache_;
}

void CZo6533Profiledata::SetEqValues(const std::vector<int>& list, int type) {
  if (type == kEqCustomType) return;
  eq_cache_ = list;
  write_bands(device(), kEqPresets, preset_of(type), list);
}

std::vector<int> CZo6533Profiledata::GetCustomEqValues(int index) {
  if (!custom_index_ok(index)) return std::vector<int>(kEqBandCount, 0);
  eq_cache_ = read_bands(device(), kCustomEqs, index);
  return eq_cache_;
}

void CZo6533Profiledata::SetCustomEqValues(const std::vector<int>& list, int index) {
  if (!custom_index_ok(index)) return;
  eq_cache_ = list;
  write_bands(device(), kCustomEqs, index, list);
}

std::vector<std::string> CZo6533Profiledata::GetCustomEqNames() const {
  std::vector<std::string> names;
  const Json::Value& list = Member(device(), kCustomEqNames);
  if (!list.isArray()) return names;
  for (const Json::Value& e : list) names.push_back(ToString(Member(e, "Name")));
  return names;
}

void CZo6533Profiledata::SetCustomEqNames(const std::vector<std::string>& list) {
  Json::Value names(Json::arrayValue);
  for (const std::string& name : list) {
    Json::Value entry(Json::objectValue);
    entry["Name"] = name;
    names.append(std::move(entry));
  }
  WritableMember(device(), kCustomEqNames) = std::move(names);
}

}  // namespace qxr

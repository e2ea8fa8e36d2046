#include "profile/profile_data.h"

#include <sys/stat.h>

#include "core/debug_line.h"
#include "profile/json_access.h"
#include "profile/json_file.h"
#include "profile/light_config.h"
#include "profile/record_json.h"

namespace qxr {

namespace {

constexpr char kDevice[] = "Device";

bool is_regular_file(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string folder_of(const std::string& path) {
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Puts device into "Device"[index] of a document read from path and writes it. An
// original that could not be used as it stands is moved aside first, never overwritten.
bool store_into(const std::string& path, JsonFileForUpdate file, Json::ArrayIndex index,
                const Json::Value& device) {
  if (file.state == JsonFileState::kUnreadable && file.set_aside.empty()) {
    file.set_aside = SetAsideFile(path);
    if (file.set_aside.empty()) return false;
  }
  Json::Value document = file.state == JsonFileState::kReadable ? std::move(file.document)
                                                                : Json::Value(Json::objectValue);
  const Json::Value& devices = Member(document, kDevice);
  if (!CanHoldElements(devices) || !CanHoldMembers(Element(devices, index))) {
    // "Device" of another shape would be lost by the write: keep the file as it was.
    if (SetAsideFile(path).empty()) return false;
  }
  WritableElement(WritableMember(document, kDevice), index) = device;
  return WriteJsonFile(path, document);
}

}  // namespace

void CBasicProfiledata::SetProfilePath(const std::string& path) {
  if (!path.empty()) profile_path_ = path;
}

void CBasicProfiledata::SetDefaultPath(const std::string& path) {
  if (!path.empty()) default_path_ = path;
}

void CBasicProfiledata::SetConfigPath(const std::string& path) {
  if (!path.empty()) config_path_ = path;
}

void CBasicProfiledata::SetDeviceIndex(int index) {
  if (index >= 0) device_index_ = index;
}

bool CBasicProfiledata::LoadProfile(const std::string& path) {
  const auto index = static_cast<Json::ArrayIndex>(device_index_);
  JsonFileForUpdate file = InspectJsonFile(path);
  const Json::Value& stored = Element(Member(file.document, kDevice), index);
  if (stored.isObject()) {
    device_ = stored;
    return true;
  }
  const Json::Value default_file = ReadJsonFile(default_path_);
  const Json::Value& defaults = Element(Member(default_file, kDevice), index);
  device_ = defaults.isObject() ? defaults : Json::Value();
  // Without defaults there is nothing better to write: the file stays as it is.
  if (device_.isNull()) return false;
  if (path.empty()) return true;
  debug_fmt("profile recreated from the default profile: {}", path);
  store_into(path, std::move(file), index, device_);
  return true;
}

bool CBasicProfiledata::LoadConfig(const std::string& path) {
  config_ = ReadJsonFile(path);
  return !config_.isNull();
}

LightInfo CBasicProfiledata::GetLightInfo() {
  const Json::Value& o = Member(device_, "LightInfo");
  light_cache_ = o.isNull() ? default_light_ : LightInfoFromJson(o);
  return light_cache_;
}

void CBasicProfiledata::SetLightInfo(const LightInfo& info) {
  light_cache_ = info;
  WritableMember(device_, "LightInfo") = LightInfoToJson(info);
}

AudioLightInfo CBasicProfiledata::GetAudioLightInfo() {
  const Json::Value& o = Member(device_, "AudioLightInfo");
  audio_cache_ = o.isObject() ? AudioLightInfoFromJson(o) : AudioLightInfo{};
  return audio_cache_;
}

void CBasicProfiledata::SetAudioLightInfo(const AudioLightInfo& info) {
  audio_cache_ = info;
  WritableMember(device_, "AudioLightInfo") = AudioLightInfoToJson(info);
}

std::vector<PerLedRecord> CBasicProfiledata::GetLightList() const {
  std::vector<PerLedRecord> list;
  const Json::Value& a = Member(device_, "LightList");
  if (!a.isArray()) return list;
  list.reserve(a.size());
  for (const Json::Value& e : a) list.push_back(PerLedRecordFromJson(e));
  return list;
}

std::vector<LightEffectStep> CBasicProfiledata::GetLightEffectList() const {
  std::vector<LightEffectStep> steps;
  if (config_.isNull()) return steps;
  const Json::Value& row = Element(Member(config_, "LightInfo"),
                                   static_cast<Json::ArrayIndex>(device_index_));
  const std::string guid = ToString(Member(Element(row, light_cache_.select_item), "Guid"));
  if (guid.empty()) return steps;
  std::string path = guid + kLightEffectExtension;
  // A relative name is looked for beside the catalogue first: the working folder of a
  // desktop program is arbitrary.
  if (path.front() != '/' && !config_path_.empty()) {
    std::string beside = folder_of(config_path_) + path;
    if (is_regular_file(beside)) path = beside;
  }
  const Json::Value effect_file = ReadJsonFile(path);
  const Json::Value& list = Member(effect_file, "LEDEffectList");
  if (!list.isArray()) return steps;
  steps.reserve(list.size());
  for (const Json::Value& e : list) steps.push_back(LightEffectStepFromJson(e));
  return steps;
}

std::vector<KeyAssignRecord> CBasicProfiledata::GetKeyList() {
  key_cache_.clear();
  const Json::Value& a = Member(device_, "KeyList");
  if (a.isArray()) {
    key_cache_.reserve(a.size());
    Json::ArrayIndex i = 0;
    for (const Json::Value& e : a) {
      key_cache_.push_back(KeyAssignRecordFromJson(e, static_cast<uint16_t>(i++)));
    }
  }
  return key_cache_;
}

void CBasicProfiledata::SetKeyList(const std::vector<KeyAssignRecord>& list) {
  key_cache_ = list;
  Json::ArrayIndex k = 0;
  for (const KeyAssignRecord& r : list) {
    Json::Value& keys = WritableMember(device_, "KeyList");
    WritableMember(WritableElement(keys, k++), "Assignment") = r.assignment.code();
  }
}

bool CBasicProfiledata::Save() {
  if (profile_path_.empty()) return false;
  return StoreDeviceObject(device_, profile_path_);
}

bool CBasicProfiledata::StoreDeviceObject(const Json::Value& value, const std::string& path) {
  if (path.empty()) return false;
  return store_into(path, ReadJsonFileForUpdate(path),
                    static_cast<Json::ArrayIndex>(device_index_), value);
}

bool CBasicProfiledata::WriteDocument(const Json::Value& value, const std::string& path) {
  if (path.empty()) return false;
  return WriteJsonFile(path, value);
}

}  // namespace qxr

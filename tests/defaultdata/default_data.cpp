#include "tests/defaultdata/default_data.h"

#include "profile/data_paths.h"
#include "profile/json_file.h"

namespace qxr::test {

std::string DefaultDataFile(const std::string& name) { return DefaultDataFolder() + name; }

Json::Value ReadDefaultDocument(const std::string& name) {
  return ReadJsonFile(DefaultDataFile(name));
}

Json::Value LoadFirstProfile(CBasicProfiledata& profile, const std::string& model_folder,
                             const testing::TempFolder& scratch) {
  const std::string path = scratch.file("2024_01_01_00_00_00_000.Json");
  profile.SetDefaultPath(DefaultProfilePath(model_folder));
  profile.SetProfilePath(path);
  profile.SetDeviceIndex(0);
  profile.LoadProfile(path);
  return profile.GetDeviceObject();
}

std::set<std::string> MemberNames(const Json::Value& object) {
  std::set<std::string> names;
  if (!object.isObject()) return names;
  for (const std::string& n : object.getMemberNames()) names.insert(n);
  return names;
}

namespace {

void AddNames(std::set<std::string>& keys, const Json::Value& rows, const char* member) {
  for (const Json::Value& row : rows) {
    for (const Json::Value& e : row) keys.insert(e[member].asString());
  }
}

}  // namespace

std::set<std::string> LanguageKeysInData() {
  std::set<std::string> keys;
  const Json::Value catalogue = ReadDefaultDocument("default_light.json");
  for (const std::string& model : catalogue.getMemberNames()) {
    AddNames(keys, catalogue[model]["DefaultLightName"], "LightName");
    AddNames(keys, catalogue[model]["AreaLightName"], "LightName");
  }
  AddNames(keys, ReadDefaultDocument("kelto_light.config")["LightInfo"], "LightName");
  const Json::Value mouse = ReadDefaultDocument("mouse.Json");
  for (const Json::Value& e : mouse["Device"][0]["CorrectInfo"]) {
    keys.insert(e["CorrectName"].asString());
  }
  return keys;
}

}  // namespace qxr::test

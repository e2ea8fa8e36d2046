#include "profile/light_config.h"

#include <sys/stat.h>

#include "profile/data_paths.h"
#include "profile/json_access.h"
#include "profile/json_file.h"
#include "profile/macro_files.h"

namespace qxr {

namespace {
bool is_regular_file(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string last_component(std::string folder) {
  while (!folder.empty() && folder.back() == '/') folder.pop_back();
  auto slash = folder.find_last_of('/');
  return slash == std::string::npos ? folder : folder.substr(slash + 1);
}

const Json::Value& model_section(const Json::Value& catalogue, const std::string& model) {
  if (model.empty()) return catalogue;
  const Json::Value& section = Member(catalogue, model.c_str());
  return section.isObject() ? section : catalogue;
}
}  // namespace

std::string CustomLightConfigPath(const std::string& device_folder) {
  std::string own = device_folder + kCustomLightConfigFile;
  if (is_regular_file(own)) return own;
  // The catalogue ships with the program; a device folder gets its own copy only when
  // someone puts one there.
  std::string shipped = DefaultDataFolder() + kCustomLightConfigFile;
  return is_regular_file(shipped) ? shipped : own;
}

LightConfigFiles LightConfigFilesFor(bool keeps_macros, const std::string& device_folder) {
  LightConfigFiles files;
  files.macro_config = device_folder + (keeps_macros ? kMacroConfigFile : kKeltoMacroConfigFile);
  files.default_light = DefaultDataFolder() + kDefaultLightFile;
  files.custom_light = CustomLightConfigPath(device_folder);
  files.model = last_component(device_folder);
  return files;
}

void LoadLightConfig(LightConfigLists& lists, const LightConfigFiles& files, int variant,
                     bool with_mode_values) {
  const auto row = static_cast<Json::ArrayIndex>(variant < 0 ? 0 : variant);

  lists.macro_names.clear();
  for (const MacroEntry& m : ReadMacroList(files.macro_config).value_or(std::vector<MacroEntry>{}))
    lists.macro_names.push_back(m.name);

  const Json::Value catalogue_file = ReadJsonFile(files.default_light);
  const Json::Value& catalogue = model_section(catalogue_file, files.model);
  if (!catalogue_file.isNull()) {
    const Json::Value& modes = Element(Member(catalogue, "DefaultLightName"), row);
    if (modes.isArray()) {
      lists.mode_names.clear();
      lists.mode_visible.clear();
      lists.mode_values.clear();
      for (const Json::Value& m : modes) {
        lists.mode_names.push_back(ToString(Member(m, "LightName")));
        lists.mode_visible.push_back(ToBool(Member(m, "visible")));
        if (with_mode_values) lists.mode_values.push_back(ToInt(Member(m, "value")));
      }
    }
    const Json::Value& areas = Element(Member(catalogue, "AreaLightName"), row);
    if (areas.isArray()) {
      lists.area_names.clear();
      for (const Json::Value& a : areas) lists.area_names.push_back(ToString(Member(a, "LightName")));
    }
  }

  const Json::Value custom = ReadJsonFile(files.custom_light);
  const Json::Value& effects = Element(Member(custom, "LightInfo"), row);
  if (effects.isArray()) {
    lists.custom_effect_names.clear();
    for (const Json::Value& e : effects) {
      lists.custom_effect_names.push_back(ToString(Member(e, "LightName")));
    }
  }
}

}  // namespace qxr

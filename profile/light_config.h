#pragma once
// The configuration files that all profiles of a device share: the macro list, the
// lighting-mode catalogue of the model and the catalogue of custom effects.
#include <string>
#include <vector>

namespace qxr {

inline constexpr char kMacroConfigFile[] = "macro.config";
inline constexpr char kKeltoMacroConfigFile[] = "kelto_macro.config";
inline constexpr char kDefaultLightFile[] = "default_light.json";
inline constexpr char kCustomLightConfigFile[] = "kelto_light.config";
inline constexpr char kLightEffectExtension[] = ".light";

// The name lists a device keeps and its editors show.
struct LightConfigLists {
  std::vector<std::string> macro_names;
  std::vector<std::string> mode_names;
  std::vector<bool> mode_visible;
  std::vector<int> mode_values;  // keyboard only
  std::vector<std::string> area_names;
  std::vector<std::string> custom_effect_names;
};

struct LightConfigFiles {
  std::string macro_config;   // device folder + "macro.config" or "kelto_macro.config"
  std::string default_light;  // DefaultData + "default_light.json"
  std::string custom_light;   // see CustomLightConfigPath
  // Model folder name ("keyboard", "mouse", "MousePad", "HD"). The shipped mode catalogue keeps
  // one section per model, because the models' variant rows would otherwise collide (most
  // models are variant 0); a catalogue without such a section is read as it stands.
  std::string model;
};

// "kelto_light.config" of the device folder; the copy in DefaultData when the device
// folder has none.
std::string CustomLightConfigPath(const std::string& device_folder);

// The files of a device: kinds whose keys play macros read "macro.config", the others
// "kelto_macro.config". The model is the device folder's last component.
LightConfigFiles LightConfigFilesFor(bool keeps_macros, const std::string& device_folder);

// Refills the lists. The macro list is always cleared first; a catalogue section that is
// missing keeps the previous list of that section. variant selects the catalogue row;
// mode values are read only when with_mode_values is set (the keyboard).
void LoadLightConfig(LightConfigLists& lists, const LightConfigFiles& files, int variant,
                     bool with_mode_values);

}  // namespace qxr

// The lighting configuration files of a device folder: the mode catalogue, the custom-effect
// catalogue, the macro list beside them, and a custom effect (".light") the catalogue names.
// The input is each of them in turn; the shipped effect files lie beside it, so a real
// catalogue finds its effects.
#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz/scratch_folder.h"
#include "profile/keyboard_profile_data.h"
#include "profile/light_config.h"

using namespace qxr;

namespace {

constexpr int kVariants = 2;
constexpr int kModes = 8;

// The shipped ".light" files, copied once.
const std::string& folder() {
  static const std::string f = [] {
    std::string dir = fuzz::scratch_folder();
    for (const auto& e : std::filesystem::directory_iterator(QXR_FUZZ_SOURCE_DIR "/DefaultData")) {
      if (e.path().extension() == kLightEffectExtension)
        std::filesystem::copy_file(e.path(), dir + e.path().filename().string(),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    return dir;
  }();
  return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LightConfigFiles files;
  files.macro_config = folder() + kMacroConfigFile;
  files.default_light = folder() + kDefaultLightFile;
  files.custom_light = folder() + kCustomLightConfigFile;
  files.model = "keyboard";
  for (const std::string* path : {&files.macro_config, &files.default_light, &files.custom_light})
    fuzz::write_file(*path, data, size);
  // A catalogue entry with the "Guid" "fuzz" finds the input as its effect file.
  fuzz::write_file(folder() + "fuzz" + kLightEffectExtension, data, size);

  for (int variant = 0; variant < kVariants; ++variant) {
    LightConfigLists lists;
    LoadLightConfig(lists, files, variant, variant == 0);
  }

  CKeyboardProfiledata profile;
  profile.SetConfigPath(files.custom_light);
  if (profile.LoadConfig(files.custom_light)) {
    for (int mode = 0; mode < kModes; ++mode) {
      LightInfo info;
      info.select_item = static_cast<uint8_t>(mode);
      profile.SetLightInfo(info);
      (void)profile.GetLightEffectList();
    }
  }
  return 0;
}

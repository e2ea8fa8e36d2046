#include "devices/mouse/recoil_blob.h"

#include "profile/json_file.h"

namespace qxr::devices {

namespace {
constexpr const char* kRecoilFilePrefix = "ShootData_";
constexpr const char* kRecoilFileExtension = ".Shoot";
}  // namespace

std::string recoil_script_path(const std::string& folder, size_t script) {
  return folder + kRecoilFilePrefix + std::to_string(script) + kRecoilFileExtension;
}

std::vector<std::vector<MacroEvent>> read_recoil_scripts(const std::string& folder) {
  std::vector<std::vector<MacroEvent>> scripts;
  scripts.reserve(kRecoilScriptCount);
  for (size_t i = 0; i < kRecoilScriptCount; ++i)
    scripts.push_back(macro_events_from_document(ReadJsonFile(recoil_script_path(folder, i))));
  return scripts;
}

std::vector<uint8_t> build_recoil_blob(const std::vector<std::vector<MacroEvent>>& scripts) {
  return build_macro_blob(scripts);
}

}  // namespace qxr::devices

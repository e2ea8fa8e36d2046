#pragma once
// The recoil image the mouse plays its four recoil scripts from: the macro image layout with
// one record per script, each script read from "ShootData_<n>.Shoot" in the device folder.
#include <cstddef>
#include <string>
#include <vector>

#include "devices/keyboard/macro_blob.h"

namespace qxr::devices {

inline constexpr size_t kRecoilScriptCount = 4;

std::string recoil_script_path(const std::string& folder, size_t script);
// The events of the four scripts; a file that is missing or cannot be read is a script with
// no events, so the other scripts keep their slots.
std::vector<std::vector<MacroEvent>> read_recoil_scripts(const std::string& folder);
// Empty when the scripts would not fit the image's 16-bit fields.
std::vector<uint8_t> build_recoil_blob(const std::vector<std::vector<MacroEvent>>& scripts);

}  // namespace qxr::devices

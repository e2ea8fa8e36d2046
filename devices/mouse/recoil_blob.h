#pragma once
// The recoil image the mouse plays its four recoil scripts from: the macro image layout with
// one record per script.
#include <cstdint>
#include <vector>

#include "devices/keyboard/macro_blob.h"

namespace qxr::devices {

// Empty when the scripts would not fit the image's 16-bit fields.
std::vector<uint8_t> build_recoil_blob(const std::vector<std::vector<MacroEvent>>& scripts);

}  // namespace qxr::devices

#include "devices/mouse/recoil_blob.h"

namespace qxr::devices {

std::vector<uint8_t> build_recoil_blob(const std::vector<std::vector<MacroEvent>>& scripts) {
  return build_macro_blob(scripts);
}

}  // namespace qxr::devices

#include "app/window/game_lighting.h"

#include "devices/lighting/keyboard_modes.h"

namespace qxr::app {

std::optional<LightInfo> game_light(const LightInfo& current, long long group, long long mode) {
  if (mode < 0 || mode > 0xFF) return std::nullopt;
  LightInfo light = current;
  const auto m = static_cast<uint8_t>(mode);
  switch (group) {
    case kGroupModes:
      light.select_item = m;
      break;
    case kGroupCustom:
      light.select_item = lighting::kModeCustom;
      light.custom_group = m;
      break;
    case kGroupSubMode:
      light.zzcc_led_mode = m;
      break;
    default:
      return std::nullopt;
  }
  return light;
}

}  // namespace qxr::app

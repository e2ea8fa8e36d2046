#include "devices/pad/block_lighting_device.h"

namespace qxr::devices {

int CBlockLightingDevice::refresh_from_device_now(int* out_profile) {
  set_synchronised(false);
  uint8_t active = 0;
  const int r = settings_.read(primary_channel(), &active);
  if (r != protocol::kResultOk) return r;
  run_settings(settings_.light_settings(GetLightInfo().fx));
  page().post_owner_message(kMsgOnboardProfile, active, 0);
  if (out_profile) *out_profile = active;
  return r;
}

int CBlockLightingDevice::write_settings_now(const SettingsWrite& write) {
  return settings_.write(primary_channel(), write.onboard_profile);
}

LoopLightSettings CBlockLightingDevice::run_settings_for(const LightInfo& light) {
  settings_.take_light(light);
  return settings_.light_settings(light.fx);
}

}  // namespace qxr::devices

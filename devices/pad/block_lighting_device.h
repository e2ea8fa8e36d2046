#pragma once
// What the mouse pad and the headset share on top of the loop-lit kinds: their settings live in
// the pad's 21-byte block, read and written in one place, whose lighting bytes follow the
// lighting record.
#include "devices/loop/loop_lighting_device.h"
#include "devices/pad/pad_settings.h"

namespace qxr::devices {

class CBlockLightingDevice : public CLoopLightingDevice {
 public:
  using CLoopLightingDevice::CLoopLightingDevice;

  PadSettingsBlock settings_block() const { return settings_.block(); }
  PadSettingsBlock previous_settings_block() const { return settings_.previous(); }

  // Reads the active onboard profile's block and tells the owner (0x0D00) which profile that
  // is. The lighting record is left alone: the panel keeps showing the profile's values.
  int refresh_from_device_now(int* out_profile) override;
  // The block takes only the onboard profile of the write.
  int write_settings_now(const SettingsWrite& write = {}) override;

 protected:
  LoopLightSettings run_settings_for(const LightInfo& light) override;

 private:
  PadSettings settings_;
};

}  // namespace qxr::devices

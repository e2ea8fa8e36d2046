#pragma once
// CMarluneMousePadDevice: the lighted mouse pad with its wireless phone charger. It has LEDs
// and a charger but no keys or macros: it keeps its settings block and the profile's lighting
// in step, runs the pad's lighting model and streams its frames; the owner polls its status
// for the power panel (read_device_status, the base's).
#include "devices/pad/loop_lighting_device.h"
#include "devices/pad/pad_settings.h"
#include "profile/profile_data.h"

namespace qxr::devices {

inline constexpr const char* kMousePadClassName = "MarluneMousePadDevice";

class CMarluneMousePadDevice : public CLoopLightingDevice {
 public:
  explicit CMarluneMousePadDevice(DevicePage& page, Clock& clock = system_clock());
  ~CMarluneMousePadDevice() override;

  PadSettingsBlock settings_block() const { return settings_.block(); }
  PadSettingsBlock previous_settings_block() const { return settings_.previous(); }
  std::array<uint8_t, kInfoBlockSize> device_info() const { return info_block(); }

  // --- the work itself (executor thread, tests) ---
  // Information block, profile, page, light thread.
  int connect_now() override;
  // Reads the active onboard profile's block and tells the owner (0x0D00) which profile that
  // is. The lighting record is left alone: the panel keeps showing the profile's values.
  int refresh_from_device_now(int* out_profile) override;
  // The pad takes only the onboard profile of the write.
  int write_settings_now(const SettingsWrite& write = {}) override;

 protected:
  CBasicProfiledata* profile_data() override { return &profile_; }
  LoopLightSettings run_settings_for(const LightInfo& light) override;

 private:
  CBasicProfiledata profile_;
  PadSettings settings_;
};

}  // namespace qxr::devices

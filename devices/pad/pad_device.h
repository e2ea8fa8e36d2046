#pragma once
// CMarluneMousePadDevice: the lighted mouse pad with its wireless phone charger. It has LEDs
// and a charger but no keys or macros: it keeps its settings block and the profile's lighting
// in step, runs the pad's lighting model and streams its frames; the owner polls its status
// for the power panel (read_device_status, the base's).
#include "devices/pad/block_lighting_device.h"
#include "profile/profile_data.h"

namespace qxr::devices {

inline constexpr const char* kMousePadClassName = "MarluneMousePadDevice";

class CMarluneMousePadDevice : public CBlockLightingDevice {
 public:
  explicit CMarluneMousePadDevice(DevicePage& page, Clock& clock = system_clock());
  ~CMarluneMousePadDevice() override;

  std::array<uint8_t, kInfoBlockSize> device_info() const { return info_block(); }

  // --- the work itself (executor thread, tests) ---
  // Information block, profile, page, light thread.
  int connect_now() override;

 protected:
  CBasicProfiledata* profile_data() override { return &profile_; }

 private:
  CBasicProfiledata profile_;
};

}  // namespace qxr::devices

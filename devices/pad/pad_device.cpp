#include "devices/pad/pad_device.h"

#include "profile/data_paths.h"

namespace qxr::devices {

CMarluneMousePadDevice::CMarluneMousePadDevice(DevicePage& page, Clock& clock)
    : CBlockLightingDevice(page, clock, kPadModeTable) {
  set_kind_and_role(kKindMousePad, 0);
  set_model_folder(kMousePadFolder);
  profile_.SetDefaultPath(default_profile_path());
  profile_.SetDeviceIndex(0);
}

CMarluneMousePadDevice::~CMarluneMousePadDevice() { CLoopLightingDevice::stop_device_threads(); }

int CMarluneMousePadDevice::connect_now() {
  const int r = read_info_block_now();
  load_profile_now();
  apply_profile_to_page_now();
  start_light_thread();
  return r;
}

}  // namespace qxr::devices

// A profile file as each kind's profile object reads it: the device object of the file and
// every record the device classes take from it. The default profile is absent, so a file
// without a usable device object is left as it is.
#include <cstdint>
#include <string>

#include "fuzz/scratch_folder.h"
#include "profile/headset_profile_data.h"
#include "profile/keyboard_profile_data.h"
#include "profile/mouse_profile_data.h"

using namespace qxr;

namespace {

constexpr int kCustomGroups = 3;
constexpr int kCustomColours = 126;
constexpr int kEqTypes = 14;
constexpr int kCustomEqs = 4;

void read_common(CBasicProfiledata& p) {
  (void)p.GetLightInfo();
  (void)p.GetAudioLightInfo();
  (void)p.GetLightList();
  (void)p.GetKeyList();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::scratch_folder() + "profile.Json";
  const std::string no_default = fuzz::scratch_folder() + "missing.Json";
  fuzz::write_file(path, data, size);
  for (int device_index : {0, 1}) {
    CKeyboardProfiledata keyboard;
    keyboard.SetDefaultPath(no_default);
    keyboard.SetDeviceIndex(device_index);
    if (keyboard.LoadProfile(path)) {
      read_common(keyboard);
      (void)keyboard.GetSystemStages();
      (void)keyboard.GetCustomGroupIndex();
      for (int g = 0; g < kCustomGroups; ++g) (void)keyboard.GetCustomColours(g, kCustomColours);
    }
    CMouseProfiledata mouse;
    mouse.SetDefaultPath(no_default);
    mouse.SetDeviceIndex(device_index);
    if (mouse.LoadProfile(path)) {
      read_common(mouse);
      (void)mouse.GetDpiStages();
      (void)mouse.GetMouseSystemStages();
      (void)mouse.GetCorrectInfo();
    }
    CZo6533Profiledata headset;
    headset.SetDefaultPath(no_default);
    headset.SetDeviceIndex(device_index);
    if (headset.LoadProfile(path)) {
      read_common(headset);
      (void)headset.GetSystemSetStages();
      (void)headset.GetCustomEqNames();
      for (int t = -1; t < kEqTypes; ++t) (void)headset.GetEqValues(t);
      for (int i = -1; i <= kCustomEqs; ++i) (void)headset.GetCustomEqValues(i);
    }
  }
  return 0;
}

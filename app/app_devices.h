#pragma once
// The device objects the pages own, one class per kind, each with what the program needs of
// every kind on top of the device layer: select the profile file, apply a selected profile
// (load, show, send), follow the secondary interface, and go when the device goes.
#include <memory>
#include <string>

#include "devices/audio/headset_audio_page.h"
#include "devices/headset/headset_device.h"
#include "devices/keyboard/keyboard_device.h"
#include "devices/mouse/mouse_device.h"
#include "devices/mouse/mouse_page.h"
#include "devices/pad/pad_device.h"
#include "devices/usb_device.h"

namespace qxr::app {

class AppDeviceOps {
 public:
  virtual ~AppDeviceOps() = default;
  virtual void select_profile_file(const std::string& id) = 0;
  // After a profile selection or reset: loads the selected profile, shows it and sends it. The
  // result reaches the page as operation_done(WriteMacros, …): the macro upload's result for
  // the keyboard, 0 for the kinds without macros.
  virtual void apply_selected_profile() = 0;
  virtual bool start_secondary(const std::string& path) = 0;
  virtual void stop_secondary() = 0;
  // The primary interface went: both threads stop, both channels close.
  virtual void disconnect() = 0;
  virtual LightConfigLists lighting_lists() const = 0;
};

// One class per kind, each the most derived: its destructor stops the device's threads before
// any part of the object goes. apply_selected_profile is written per kind.
template <typename Kind>
class AppDevice : public Kind, public AppDeviceOps {
 public:
  using Kind::Kind;
  ~AppDevice() override { this->stop_device_threads(); }
  void select_profile_file(const std::string& id) override { this->set_profile_id(id); }
  void apply_selected_profile() override;
  bool start_secondary(const std::string& path) override { return this->StartSyncThread(path); }
  void stop_secondary() override { this->StopSyncThread(); }
  void disconnect() override { this->on_disconnected(); }
  LightConfigLists lighting_lists() const override { return this->light_config(); }
};

using AppKeyboardDevice = AppDevice<devices::CMarluneKeyboardDevice>;
using AppMouseDevice = AppDevice<devices::CMarluneMouseDevice>;
using AppPadDevice = AppDevice<devices::CMarluneMousePadDevice>;
using AppHeadsetDevice = AppDevice<devices::CMarluneZO6533Device>;

template <>
void AppKeyboardDevice::apply_selected_profile();
template <>
void AppMouseDevice::apply_selected_profile();
template <>
void AppPadDevice::apply_selected_profile();
template <>
void AppHeadsetDevice::apply_selected_profile();

// The pages a device may talk to besides DevicePage.
struct DevicePages {
  devices::DevicePage* page = nullptr;
  devices::MousePage* mouse = nullptr;
  audio::HeadsetAudioPage* audio = nullptr;
};

// The device object for a kind; nullptr for a kind the program does not serve. on_emulator
// picks the headset's emulated audio chip.
std::unique_ptr<devices::CMarluneUSBDevice> make_device(uint32_t kind, const DevicePages& pages, bool on_emulator);

AppDeviceOps* ops_of(devices::CMarluneUSBDevice* device);
AppKeyboardDevice* as_keyboard(devices::CMarluneUSBDevice* device);
AppMouseDevice* as_mouse(devices::CMarluneUSBDevice* device);

}  // namespace qxr::app

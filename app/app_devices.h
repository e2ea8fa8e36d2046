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

// Each class is the most derived: its destructor stops the device's threads before any part of
// the object goes.
class AppKeyboardDevice : public devices::CMarluneKeyboardDevice, public AppDeviceOps {
 public:
  using CMarluneKeyboardDevice::CMarluneKeyboardDevice;
  ~AppKeyboardDevice() override { stop_device_threads(); }
  void select_profile_file(const std::string& id) override { set_profile_id(id); }
  void apply_selected_profile() override;
  bool start_secondary(const std::string& path) override { return StartSyncThread(path); }
  void stop_secondary() override { StopSyncThread(); }
  void disconnect() override { on_disconnected(); }
  LightConfigLists lighting_lists() const override { return light_config(); }
};

class AppMouseDevice : public devices::CMarluneMouseDevice, public AppDeviceOps {
 public:
  using CMarluneMouseDevice::CMarluneMouseDevice;
  ~AppMouseDevice() override { stop_device_threads(); }
  void select_profile_file(const std::string& id) override { set_profile_id(id); }
  void apply_selected_profile() override;
  bool start_secondary(const std::string& path) override { return StartSyncThread(path); }
  void stop_secondary() override { StopSyncThread(); }
  void disconnect() override { on_disconnected(); }
  LightConfigLists lighting_lists() const override { return light_config(); }
};

class AppPadDevice : public devices::CMarluneMousePadDevice, public AppDeviceOps {
 public:
  using CMarluneMousePadDevice::CMarluneMousePadDevice;
  ~AppPadDevice() override { stop_device_threads(); }
  void select_profile_file(const std::string& id) override { set_profile_id(id); }
  void apply_selected_profile() override;
  bool start_secondary(const std::string& path) override { return StartSyncThread(path); }
  void stop_secondary() override { StopSyncThread(); }
  void disconnect() override { on_disconnected(); }
  LightConfigLists lighting_lists() const override { return light_config(); }
};

class AppHeadsetDevice : public devices::CMarluneZO6533Device, public AppDeviceOps {
 public:
  using CMarluneZO6533Device::CMarluneZO6533Device;
  ~AppHeadsetDevice() override { stop_device_threads(); }
  void select_profile_file(const std::string& id) override { set_profile_id(id); }
  void apply_selected_profile() override;
  bool start_secondary(const std::string& path) override { return StartSyncThread(path); }
  void stop_secondary() override { StopSyncThread(); }
  void disconnect() override { on_disconnected(); }
  LightConfigLists lighting_lists() const override { return light_config(); }
};

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

#include "app/app_devices.h"

#include "devices/audio/audio_conf_factory.h"
#include "hid/supported_interfaces.h"

namespace qxr::app {
namespace {
// What the profile apply reports for kinds without macros: nothing to tell the user.
constexpr int kNoMacroResult = 0;
}  // namespace

template <>
void AppKeyboardDevice::apply_selected_profile() {
  post_operation(devices::DeviceOperation::WriteMacros, [this] {
    load_profile_now();
    check_macro_keys_now();
    apply_profile_to_page_now();
    write_settings_now(0, 0);
    const int macros = write_macros_now(collect_key_items());
    write_key_assignments_now(0, key_list());
    return macros;
  });
}

template <>
void AppMouseDevice::apply_selected_profile() {
  post_operation(devices::DeviceOperation::WriteMacros, [this] {
    load_profile_now();
    check_macro_keys_now();
    apply_profile_to_page_now();
    write_settings_now(0, 0, devices::kMouseBlockThirdValue);
    write_key_assignments_now(0, key_list());
    return kNoMacroResult;
  });
}

template <>
void AppPadDevice::apply_selected_profile() {
  post_operation(devices::DeviceOperation::WriteMacros, [this] {
    load_profile_now();
    apply_profile_to_page_now();
    write_settings_now(0);
    return kNoMacroResult;
  });
}

template <>
void AppHeadsetDevice::apply_selected_profile() {
  post_operation(devices::DeviceOperation::WriteMacros, [this] {
    load_profile_now();
    apply_profile_to_page_now();
    write_settings_now(0);
    return kNoMacroResult;
  });
}

std::unique_ptr<devices::CMarluneUSBDevice> make_device(uint32_t kind, const DevicePages& pages, bool on_emulator) {
  if (pages.page == nullptr) return nullptr;
  switch (hid::device_class_of(static_cast<uint16_t>(kind))) {
    case hid::DeviceClass::Keyboard:
      return std::make_unique<AppKeyboardDevice>(*pages.page);
    case hid::DeviceClass::Mouse:
      if (pages.mouse == nullptr) return nullptr;
      return std::make_unique<AppMouseDevice>(*pages.page, *pages.mouse);
    case hid::DeviceClass::MousePad:
      return std::make_unique<AppPadDevice>(*pages.page);
    case hid::DeviceClass::Headset:
      if (pages.audio == nullptr) return nullptr;
      return std::make_unique<AppHeadsetDevice>(
          *pages.page, *pages.audio, audio::create_audio_conf(audio::audio_backend_for(on_emulator)));
    case hid::DeviceClass::None:
      break;
  }
  return nullptr;
}

AppDeviceOps* ops_of(devices::CMarluneUSBDevice* device) { return dynamic_cast<AppDeviceOps*>(device); }
AppKeyboardDevice* as_keyboard(devices::CMarluneUSBDevice* device) { return dynamic_cast<AppKeyboardDevice*>(device); }
AppMouseDevice* as_mouse(devices::CMarluneUSBDevice* device) { return dynamic_cast<AppMouseDevice*>(device); }

}  // namespace qxr::app

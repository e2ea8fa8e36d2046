#include "devices/kinds/device_kinds.h"

#include <vector>

#include "devices/audio/audio_conf_factory.h"
#include "devices/headset/headset_device.h"
#include "devices/keyboard/keyboard_device.h"
#include "devices/mouse/mouse_device.h"
#include "devices/pad/pad_device.h"
#include "profile/data_paths.h"

namespace qxr::devices {
namespace {

using hid::kConsumerControlUsage;
using hid::kConsumerUsagePage;
using hid::kInterfaceRolePrimary;
using hid::kInterfaceRoleSecondary;
using hid::kVendorCommandUsage;
using hid::kVendorDesktopUsagePage;
using Interface = hid::SupportedInterface;

// Vendor collection 4 carries the commands, consumer collection 3 the device's events.
constexpr Interface kKeyboardInterfaces[] = {
    {0x320F, 0x5055, 1, 4, kKindKeyboard, kInterfaceRolePrimary, 0, kVendorDesktopUsagePage, kVendorCommandUsage, {0, 0}},
    {0x320F, 0x5055, 1, 3, kKindKeyboard, kInterfaceRoleSecondary, 0, kConsumerUsagePage, kConsumerControlUsage, {0, 0}},
};
// The mouse rows carry vendor and product id 0: no real mouse matches in this configuration,
// the emulated one does, so the whole mouse path stays in use.
constexpr Interface kMouseInterfaces[] = {
    {0x0000, 0x0000, 1, 4, kKindMouse, kInterfaceRolePrimary, 0, kVendorDesktopUsagePage, kVendorCommandUsage, {0, 0}},
    {0x0000, 0x0000, 1, 3, kKindMouse, kInterfaceRoleSecondary, 0, kConsumerUsagePage, kConsumerControlUsage, {0, 0}},
};
constexpr Interface kPadInterfaces[] = {
    {0x320F, 0x1004, 1, 4, kKindMousePad, kInterfaceRolePrimary, 0, kVendorDesktopUsagePage, kVendorCommandUsage, {0, 0}},
    {0x320F, 0x1004, 1, 3, kKindMousePad, kInterfaceRoleSecondary, 0, kConsumerUsagePage, kConsumerControlUsage, {0, 0}},
};
// The headset's chip carries both on its one consumer collection.
constexpr Interface kHeadsetInterfaces[] = {
    {0x00C7, 0x1630, 3, 0, kKindHeadset, kInterfaceRolePrimary, 0, kConsumerUsagePage, kConsumerControlUsage, {0, 0}},
};

std::unique_ptr<CMarluneUSBDevice> make_keyboard(const DeviceContext& c) {
  return std::make_unique<CMarluneKeyboardDevice>(*c.page);
}

std::unique_ptr<CMarluneUSBDevice> make_mouse(const DeviceContext& c) {
  if (c.mouse == nullptr) return nullptr;
  return std::make_unique<CMarluneMouseDevice>(*c.page, *c.mouse);
}

std::unique_ptr<CMarluneUSBDevice> make_pad(const DeviceContext& c) {
  return std::make_unique<CMarluneMousePadDevice>(*c.page);
}

std::unique_ptr<CMarluneUSBDevice> make_headset(const DeviceContext& c) {
  if (c.audio == nullptr) return nullptr;
  return std::make_unique<CMarluneZO6533Device>(*c.page, *c.audio,
                                                audio::create_audio_conf(audio::audio_backend_for(c.on_emulator)));
}

constexpr OptionTabRule kKeyboardTabs{kTabCursor, 0};
constexpr OptionTabRule kMouseTabs{0, kTabRecoil};
constexpr OptionTabRule kPadTabs{kTabCursor | kTabMacros | kTabSystem | kTabKeys, 0};
constexpr OptionTabRule kHeadsetTabs{kTabCursor | kTabMacros | kTabSystem | kTabKeys, kTabVoice | kTabMagic | kTabVirtual71};

// The headset's arrival and removal are announced with the mouse pad's lines.
constexpr KindRow kKinds[] = {
    {kKindKeyboard, kKindNone, "keyboard", kKeyboardInterfaces, kKeyboardFolder, "keyboarddevice.ui", {"kb", "kb"},
     {1, 1, -1, 0}, 170, 170, kPowerModeNone, kKeyboardTabs, false, 0, LightModeSet::Keyboard, 1,
     "添加一个键盘设备", "删除一个键盘设备", make_keyboard},
    {kKindMouse, kKindReceiverMouse, "mouse", kMouseInterfaces, kMouseFolder, "mousedevice.ui", {"ms", "ms"},
     {0, 0, 0, 1}, 6, 7, kPowerModeNone, kMouseTabs, false, 1, LightModeSet::Loop, 2,
     "添加一个鼠标设备", "删除一个鼠标设备", make_mouse},
    // The pad reports its charger and the phone on it: its status is polled for the power panel.
    {kKindMousePad, kKindNone, "pad", kPadInterfaces, kMousePadFolder, "mousepaddevice.ui", {"hard_mp", "soft_mp"},
     {2, 2, 1, 2}, 15, 0, kPowerModePhoneCharger, kPadTabs, false, 2, LightModeSet::Loop, 3,
     "添加一个鼠标垫设备", "删除一个鼠标垫设备", make_pad},
    {kKindHeadset, kKindNone, "headset", kHeadsetInterfaces, kHeadsetFolder, "zo6533device.ui", {"hd", "hd"},
     {3, 3, -1, 3}, 13, 0, kPowerModeNone, kHeadsetTabs, true, 3, LightModeSet::Loop, 7,
     "添加一个鼠标垫设备", "删除一个鼠标垫设备", make_headset},
};

}  // namespace

std::span<const KindRow> device_kinds() { return kKinds; }

const KindRow* kind_row(uint16_t kind) {
  for (const KindRow& row : kKinds) {
    if (row.serves(kind)) return &row;
  }
  return nullptr;
}

hid::InterfaceTable supported_interfaces() {
  static const std::vector<hid::SupportedInterface> table = [] {
    std::vector<hid::SupportedInterface> all;
    for (const KindRow& row : kKinds) all.insert(all.end(), row.interfaces.begin(), row.interfaces.end());
    return all;
  }();
  return table;
}

}  // namespace qxr::devices

#pragma once
// The seven interface rows the program's device kinds supply, written out here so that the
// transport's tests need no device layer: keyboard, mouse and pad each with their vendor and
// consumer collections, the headset with its one consumer collection.
#include <array>

#include "hid/supported_interfaces.h"

namespace qxr::hid::test {

inline constexpr uint16_t kKeyboard = 1, kMouse = 2, kPad = 3, kHeadset = 7;

inline constexpr std::array<SupportedInterface, 7> kInterfaceRows = {{
    {0x320F, 0x5055, 1, 4, kKeyboard, kInterfaceRolePrimary, 0, kVendorDesktopUsagePage, kVendorCommandUsage, {0, 0}},
    {0x320F, 0x5055, 1, 3, kKeyboard, kInterfaceRoleSecondary, 0, kConsumerUsagePage, kConsumerControlUsage, {0, 0}},
    {0x0000, 0x0000, 1, 4, kMouse, kInterfaceRolePrimary, 0, kVendorDesktopUsagePage, kVendorCommandUsage, {0, 0}},
    {0x0000, 0x0000, 1, 3, kMouse, kInterfaceRoleSecondary, 0, kConsumerUsagePage, kConsumerControlUsage, {0, 0}},
    {0x320F, 0x1004, 1, 4, kPad, kInterfaceRolePrimary, 0, kVendorDesktopUsagePage, kVendorCommandUsage, {0, 0}},
    {0x320F, 0x1004, 1, 3, kPad, kInterfaceRoleSecondary, 0, kConsumerUsagePage, kConsumerControlUsage, {0, 0}},
    {0x00C7, 0x1630, 3, 0, kHeadset, kInterfaceRolePrimary, 0, kConsumerUsagePage, kConsumerControlUsage, {0, 0}},
}};

}  // namespace qxr::hid::test

#pragma once
// Device kinds as the device objects keep them (32-bit, 0 before a kind is set); the numbers
// are those of the supported-interface table.
#include <cstdint>

#include "hid/supported_interfaces.h"

namespace qxr::devices {

inline constexpr uint32_t kKindNone = 0;
inline constexpr uint32_t kKindKeyboard = hid::kDeviceKindKeyboard;
inline constexpr uint32_t kKindMouse = hid::kDeviceKindMouse;
inline constexpr uint32_t kKindMousePad = hid::kDeviceKindMousePad;
inline constexpr uint32_t kKindReceiverMouse = hid::kDeviceKindReceiverMouse;
inline constexpr uint32_t kKindHeadset = hid::kDeviceKindHeadset;

}  // namespace qxr::devices

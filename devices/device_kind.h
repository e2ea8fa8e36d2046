#pragma once
// The device kind numbers, as the interface rows, the device objects and the profile panel carry
// them. Each kind the program serves has its row in devices/kinds/device_kinds.h.
#include <cstdint>

namespace qxr::devices {

enum DeviceKind : uint16_t {
  kKindNone = 0,
  kKindKeyboard = 1,
  kKindMouse = 2,
  kKindMousePad = 3,
  kKindReceiverMouse = 6,  // a mouse through its wireless receiver
  kKindHeadset = 7,
};

}  // namespace qxr::devices

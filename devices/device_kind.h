#pragma once
// Device kinds as the device objects know them (the numbers of the supported-interface
// table's kind column).
#include <cstdint>

namespace qxr::devices {

inline constexpr uint32_t kKindNone = 0;
inline constexpr uint32_t kKindKeyboard = 1;
inline constexpr uint32_t kKindMouse = 2;
inline constexpr uint32_t kKindMousePad = 3;
inline constexpr uint32_t kKindReceiverMouse = 6;
inline constexpr uint32_t kKindHeadset = 7;

}  // namespace qxr::devices

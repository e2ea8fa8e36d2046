#pragma once
// The device models the emulator can serve, one of each per folder.
#include <array>
#include <optional>
#include <string_view>

namespace qxr::emu {

enum class DeviceType { Keyboard, Mouse, Pad, Headset };

inline constexpr std::array<DeviceType, 4> kAllDeviceTypes = {
    DeviceType::Keyboard, DeviceType::Mouse, DeviceType::Pad, DeviceType::Headset};

// "keyboard", "mouse", "pad", "headset": the names used on the command line and as file ids.
std::string_view device_type_name(DeviceType type);
std::optional<DeviceType> parse_device_type(std::string_view name);

}  // namespace qxr::emu

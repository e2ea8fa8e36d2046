#include "emulator/device_type.h"

namespace qxr::emu {

namespace {
struct NameRow {
  DeviceType type;
  std::string_view name;
};
constexpr NameRow kNames[] = {
    {DeviceType::Keyboard, "keyboard"},
    {DeviceType::Mouse, "mouse"},
    {DeviceType::Pad, "pad"},
    {DeviceType::Headset, "headset"},
};
}  // namespace

std::string_view device_type_name(DeviceType type) {
  for (const NameRow& row : kNames) {
    if (row.type == type) return row.name;
  }
  return "unknown";
}

std::optional<DeviceType> parse_device_type(std::string_view name) {
  for (const NameRow& row : kNames) {
    if (row.name == name) return row.type;
  }
  return std::nullopt;
}

}  // namespace qxr::emu

#pragma once
// What enumeration and open learn about one HID interface (one hidraw node or one emulated
// interface), before it is split into its top-level collections.
#include <cstdint>
#include <string>
#include <vector>

namespace qxr::hid {

struct InterfaceInfo {
  std::string node;               // hidraw node or emulated interface's socket
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t version = 0;
  int interface_number = -1;      // -1 when the device is not a USB interface
  std::vector<uint8_t> report_descriptor;
  std::string name;
};

// The emulator folder: "<id>.json" describes the interface served on "<id>.sock".
inline constexpr const char* kEmulatorJsonSuffix = ".json";
inline constexpr const char* kEmulatorSocketSuffix = ".sock";

std::string emulator_json_for_socket(const std::string& socket_path);
std::string emulator_socket_for_json(const std::string& json_path);
// Reads and checks "<id>.json"; node is set to the socket beside it. False when unreadable,
// unparsable, or a member is missing or out of range.
bool read_emulator_json(const std::string& json_path, InterfaceInfo* out);

}  // namespace qxr::hid

#pragma once
// One discovery pass as the program makes it: every present interface path, matched against
// the supported-interface table and claimed into the slot list.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "hid/hid_device.h"
#include "hid/supported_interfaces.h"

namespace qxr::ctl {

struct ScannedInterface {
  hid::DeviceSlot record;  // ids, interface, collection, usage page/usage, kind and role
  int slot = -1;           // the slot it claimed, -1 when none
  std::string open_error;  // why it could not be opened, empty when it was
};

struct ScanResult {
  bool enumeration_ok = false;
  std::vector<ScannedInterface> interfaces;  // only those that fit a table row
};

// emulator_dir empty: hidraw nodes only; otherwise the folder as well.
ScanResult scan_interfaces(const std::string& emulator_dir);

// Command-line device kinds: "keyboard", "mouse", "pad", "headset".
bool kind_matches(const std::string& kind_name, uint16_t kind);
bool known_kind(const std::string& kind_name);
// The kind's word ("keyboard", "mouse", "pad", "headset"), "unknown" for a kind no row serves.
std::string_view kind_name(uint16_t kind);

// The first claimed primary interface of the kind, or nullptr.
const ScannedInterface* find_primary(const ScanResult& scan, const std::string& kind_name);
// The first interface of the kind that fit a slot but could not be opened, or nullptr.
const ScannedInterface* find_unopenable(const ScanResult& scan, const std::string& kind_name);

// Text explaining an open failure of path; names the node and, for a permission problem on a
// hidraw node, how to grant access.
std::string explain_open_failure(const std::string& path, int error_number);
// The same after a failed HidDevice::open of path.
std::string describe_open_failure(const std::string& path, const hid::HidDevice& device);

}  // namespace qxr::ctl

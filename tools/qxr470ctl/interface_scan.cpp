#include "tools/qxr470ctl/interface_scan.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "devices/kinds/device_kinds.h"
#include "hid/device_path.h"
#include "hid/enumeration.h"
#include "hid/hid_device.h"

namespace qxr::ctl {

namespace {

constexpr const char* kUdevRule = "packaging/70-qxr470.rules";

// The row a record fits before opening tells its kind, so unopenable interfaces can be named.
void kind_from_table(hid::DeviceSlot* record) {
  for (const auto& row : devices::supported_interfaces()) {
    if (row.vendor_id == record->vendor_id && row.product_id == record->product_id &&
        row.interface_number == record->interface_number &&
        row.collection_number == record->collection_number) {
      record->kind = row.kind;
      record->role = row.role;
      return;
    }
  }
}

}  // namespace

bool known_kind(const std::string& kind_name) {
  for (const devices::KindRow& row : devices::device_kinds()) {
    if (kind_name == row.name) return true;
  }
  return false;
}

bool kind_matches(const std::string& kind_name, uint16_t kind) {
  const devices::KindRow* row = devices::kind_row(kind);
  return row != nullptr && kind_name == row->name;
}

std::string_view kind_name(uint16_t kind) {
  const devices::KindRow* row = devices::kind_row(kind);
  return row != nullptr ? row->name : "unknown";
}

std::string explain_open_failure(const std::string& path, int error_number) {
  const std::string node = hid::path_node(path);
  std::string text = "cannot open " + node + ": " + std::strerror(error_number);
  if ((error_number == EACCES || error_number == EPERM) && node.rfind("/dev/", 0) == 0) {
    text += std::string("; grant access with the udev rule: sudo cp ") + kUdevRule +
            " /etc/udev/rules.d/ && sudo udevadm control --reload && sudo udevadm trigger"
            " (or unplug and replug the device)";
  }
  return text;
}

std::string describe_open_failure(const std::string& path, const hid::HidDevice& device) {
  const std::string node = hid::path_node(path);
  // Permission is the usual reason on a desktop; the node itself tells whether it is this one.
  if (access(node.c_str(), R_OK | W_OK) != 0) return explain_open_failure(path, errno);
  return "cannot open " + node + ": " + device.last_error();
}

ScanResult scan_interfaces(const std::string& emulator_dir) {
  ScanResult result;
  hid::set_emulator_dir(emulator_dir);
  std::vector<std::string> paths;
  result.enumeration_ok = hid::enumerate_interface_paths(&paths);
  std::vector<hid::DeviceSlot> slots = hid::make_slot_list(devices::supported_interfaces());
  for (const std::string& path : paths) {
    hid::DeviceSlot record = hid::record_from_path(path);
    if (!hid::candidate_fits(record, slots, devices::supported_interfaces())) continue;
    ScannedInterface found;
    hid::HidDevice device;
    if (!device.open(path, true, false, true, false)) {
      kind_from_table(&record);
      found.record = record;
      found.open_error = describe_open_failure(path, device);
      result.interfaces.push_back(found);
      continue;
    }
    record.vendor_id = device.attributes().vendor_id;
    record.product_id = device.attributes().product_id;
    record.usage_page = device.caps().usage_page;
    record.usage = device.caps().usage;
    device.close();
    size_t index = 0;
    if (hid::claim_slot(record, slots, devices::supported_interfaces(), &index)) found.slot = static_cast<int>(index);
    found.record = record;
    result.interfaces.push_back(found);
  }
  return result;
}

const ScannedInterface* find_primary(const ScanResult& scan, const std::string& kind_name) {
  for (const ScannedInterface& s : scan.interfaces) {
    if (s.slot >= 0 && s.record.role == hid::kInterfaceRolePrimary && kind_matches(kind_name, s.record.kind)) {
      return &s;
    }
  }
  return nullptr;
}

const ScannedInterface* find_unopenable(const ScanResult& scan, const std::string& kind_name) {
  for (const ScannedInterface& s : scan.interfaces) {
    if (!s.open_error.empty() && kind_matches(kind_name, s.record.kind)) return &s;
  }
  return nullptr;
}

}  // namespace qxr::ctl

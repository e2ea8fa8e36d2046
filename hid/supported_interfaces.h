#pragma once
// A supported HID interface, its run-time copy (a slot of the slot list) and the matching rules
// the discovery thread applies to an interface path. The rows themselves belong to the device
// kinds; the kind is a number this layer only carries.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qxr::hid {

enum InterfaceRole : uint16_t {
  kInterfaceRolePrimary = 0,     // vendor collection carrying the command reports
  kInterfaceRoleSecondary = 0xFF,  // consumer collection reporting device events
};

struct SupportedInterface {
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t interface_number = 0;
  uint16_t collection_number = 0;
  uint16_t kind = 0;
  uint16_t role = 0;
  uint16_t connected = 0;
  uint16_t usage_page = 0;
  uint16_t usage = 0;
  uint16_t reserved[2] = {0, 0};  // could name a partner slot; no row does
};

// A row's run-time copy: connected flag and path change while the program runs.
struct DeviceSlot : SupportedInterface {
  std::string path;
  bool is_free() const { return !connected && path.empty(); }
};

inline constexpr uint16_t kVendorDesktopUsagePage = 0xFF1C;
inline constexpr uint16_t kVendorCommandUsage = 0x0092;
inline constexpr uint16_t kConsumerUsagePage = 0x000C;
inline constexpr uint16_t kConsumerControlUsage = 0x0001;

// The table of supported interfaces: the device kinds' rows, in their order.
using InterfaceTable = std::span<const SupportedInterface>;

// One slot per table row, in table order; the slot index is the row index.
std::vector<DeviceSlot> make_slot_list(InterfaceTable table);

// The record of a path before opening: ids, interface and collection from its suffix.
DeviceSlot record_from_path(const std::string& path);

// Before opening: some row has the record's vendor, product, collection and interface, and some
// slot with those four values is free.
bool candidate_fits(const DeviceSlot& record, const std::vector<DeviceSlot>& slots, InterfaceTable table);

// After opening (record carries the attributes' ids and the capabilities' usage page and
// usage): copies kind and role of the first matching row into the record, then takes the first
// free slot equal in the six values, marks it connected with the record's path.
bool claim_slot(DeviceSlot& record, std::vector<DeviceSlot>& slots, InterfaceTable table, size_t* slot_index);

// First row with the four values, or -1.
int find_row(InterfaceTable table, uint16_t vendor_id, uint16_t product_id, uint16_t kind, uint16_t role);

}  // namespace qxr::hid

#include "hid/supported_interfaces.h"

#include "hid/hid_device.h"

namespace qxr::hid {
namespace {

bool same_place(const SupportedInterface& a, const SupportedInterface& b) {
  return a.vendor_id == b.vendor_id && a.product_id == b.product_id &&
         a.collection_number == b.collection_number && a.interface_number == b.interface_number;
}

bool same_interface(const SupportedInterface& a, const SupportedInterface& b) {
  return same_place(a, b) && a.usage_page == b.usage_page && a.usage == b.usage;
}

}  // namespace

std::vector<DeviceSlot> make_slot_list(InterfaceTable table) {
  std::vector<DeviceSlot> slots;
  slots.reserve(table.size());
  for (const auto& row : table) {
    DeviceSlot s;
    static_cast<SupportedInterface&>(s) = row;
    slots.push_back(std::move(s));
  }
  return slots;
}

DeviceSlot record_from_path(const std::string& path) {
  DeviceSlot r;
  r.vendor_id = vendor_from_path(path);
  r.product_id = product_from_path(path);
  r.interface_number = interface_from_path(path);
  r.collection_number = collection_from_path(path);
  r.path = path;
  return r;
}

bool candidate_fits(const DeviceSlot& record, const std::vector<DeviceSlot>& slots, InterfaceTable table) {
  bool row = false;
  for (const auto& r : table) row = row || same_place(r, record);
  if (!row) return false;
  for (const auto& s : slots)
    if (same_place(s, record) && s.is_free()) return true;
  return false;
}

bool claim_slot(DeviceSlot& record, std::vector<DeviceSlot>& slots, InterfaceTable table, size_t* slot_index) {
  bool found = false;
  for (const auto& r : table) {
    if (same_interface(r, record)) {
      record.kind = r.kind;
      record.role = r.role;
      found = true;
      break;
    }
  }
  if (!found) return false;
  for (size_t i = 0; i < slots.size(); ++i) {
    DeviceSlot& s = slots[i];
    if (same_interface(s, record) && s.is_free()) {
      s.connected = 1;
      s.path = record.path;
      if (slot_index) *slot_index = i;
      return true;
    }
  }
  return false;
}

int find_row(InterfaceTable table, uint16_t vendor_id, uint16_t product_id, uint16_t kind, uint16_t role) {
  for (size_t i = 0; i < table.size(); ++i) {
    const auto& r = table[i];
    if (r.vendor_id == vendor_id && r.product_id == product_id && r.kind == kind && r.role == role)
      return static_cast<int>(i);
  }
  return -1;
}

}  // namespace qxr::hid

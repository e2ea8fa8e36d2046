#pragma once
// The built-in table of supported HID interfaces, its run-time copy (the slot list) and the
// matching rules the discovery thread applies to an interface path.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qxr::hid {

enum DeviceKind : uint16_t {
  kDeviceKindKeyboard = 1,
  kDeviceKindMouse = 2,
  kDeviceKindMousePad = 3,
  kDeviceKindReceiverMouse = 6,  // a mouse through its wireless receiver
  kDeviceKindHeadset = 7,
};

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

// The mouse rows carry vendor and product id 0, so no mouse matches in this configuration;
// they stay so the whole mouse path is in place.
inline constexpr std::array<SupportedInterface, 7> kSupportedInterfaces = {{
    {0x320F, 0x5055, 1, 4, kDeviceKindKeyboard, kInterfaceRolePrimary, 0, kVendorDesktopUsagePage, kVendorCommandUsage, {0, 0}},
    {0x320F, 0x5055, 1, 3, kDeviceKindKeyboard, kInterfaceRoleSecondary, 0, kConsumerUsagePage, kConsumerControlUsage, {0, 0}},
    {0x0000, 0x0000, 1, 4, kDeviceKindMouse, kInterfaceRolePrimary, 0, kVendorDesktopUsagePage, kVendorCommandUsage, {0, 0}},
    {0x0000, 0x0000, 1, 3, kDeviceKindMouse, kInterfaceRoleSecondary, 0, kConsumerUsagePage, kConsumerControlUsage, {0, 0}},
    {0x320F, 0x1004, 1, 4, kDeviceKindMousePad, kInterfaceRolePrimary, 0, kVendorDesktopUsagePage, kVendorCommandUsage, {0, 0}},
    {0x320F, 0x1004, 1, 3, kDeviceKindMousePad, kInterfaceRoleSecondary, 0, kConsumerUsagePage, kConsumerControlUsage, {0, 0}},
    {0x00C7, 0x1630, 3, 0, kDeviceKindHeadset, kInterfaceRolePrimary, 0, kConsumerUsagePage, kConsumerControlUsage, {0, 0}},
}};

// One slot per table row, in table order; the slot index is the row index.
std::vector<DeviceSlot> make_slot_list();

// The record of a path before opening: ids, interface and collection from its suffix.
DeviceSlot record_from_path(const std::string& path);

// Before opening: some row has the record's vendor, product, collection and interface, and some
// slot with those four values is free.
bool candidate_fits(const DeviceSlot& record, const std::vector<DeviceSlot>& slots);

// After opening (record carries the attributes' ids and the capabilities' usage page and
// usage): copies kind and role of the first matching row into the record, then takes the first
// free slot equal in the six values, marks it connected with the record's path.
bool claim_slot(DeviceSlot& record, std::vector<DeviceSlot>& slots, size_t* slot_index);

// First row with the four values, or -1.
int find_row(uint16_t vendor_id, uint16_t product_id, uint16_t kind, uint16_t role);

// What a kind is served as: 1 keyboard, 2 and 6 mouse, 3 mouse pad, 7 headset; 4 and 5 (and
// anything else) name no device.
enum class DeviceClass { None, Keyboard, Mouse, MousePad, Headset };
DeviceClass device_class_of(uint16_t kind);

}  // namespace qxr::hid

// hidraw nodes through libudev: ids from the HID device's HID_ID, the interface number from
// the USB interface, the report descriptor from sysfs (readable without opening the node).
#include <libudev.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "hid/enumeration.h"

namespace qxr::hid {
namespace {

struct UdevDeleter {
  void operator()(udev* u) const { udev_unref(u); }
  void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
  void operator()(udev_device* d) const { udev_device_unref(d); }
};
template <typename T>
using UdevPtr = std::unique_ptr<T, UdevDeleter>;

bool read_file(const std::string& path, std::vector<uint8_t>* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool describe(udev_device* dev, InterfaceInfo* info) {
  const char* node = udev_device_get_devnode(dev);
  udev_device* hid = udev_device_get_parent_with_subsystem_devtype(dev, "hid", nullptr);
  if (!node || !hid) return false;
  const char* hid_id = udev_device_get_property_value(hid, "HID_ID");  // bus:vendor:product
  unsigned bus = 0, vendor = 0, product = 0;
  if (!hid_id || std::sscanf(hid_id, "%x:%x:%x", &bus, &vendor, &product) != 3) return false;
  info->node = node;
  info->vendor_id = static_cast<uint16_t>(vendor);
  info->product_id = static_cast<uint16_t>(product);
  if (udev_device* intf = udev_device_get_parent_with_subsystem_devtype(dev, "usb", "usb_interface")) {
    if (const char* n = udev_device_get_sysattr_value(intf, "bInterfaceNumber"))
      info->interface_number = static_cast<int>(std::strtol(n, nullptr, 16));
  }
  if (const char* name = udev_device_get_property_value(hid, "HID_NAME")) info->name = name;
  return read_file(std::string(udev_device_get_syspath(hid)) + "/report_descriptor",
                   &info->report_descriptor) &&
         !info->report_descriptor.empty();
}

class HidrawSource final : public InterfaceSource {
 public:
  bool list(std::vector<InterfaceInfo>* out) override {
    UdevPtr<udev> u(udev_new());
    if (!u) return false;
    UdevPtr<udev_enumerate> e(udev_enumerate_new(u.get()));
    if (!e || udev_enumerate_add_match_subsystem(e.get(), "hidraw") < 0 ||
        udev_enumerate_scan_devices(e.get()) < 0)
      return false;
    udev_list_entry* entry;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e.get())) {
      UdevPtr<udev_device> dev(udev_device_new_from_syspath(u.get(), udev_list_entry_get_name(entry)));
      InterfaceInfo info;
      // A node that vanished or cannot be described is skipped, not a failure of the source.
      if (dev && describe(dev.get(), &info)) out->push_back(std::move(info));
    }
    return true;
  }
};

}  // namespace

std::unique_ptr<InterfaceSource> make_hidraw_source() { return std::make_unique<HidrawSource>(); }

}  // namespace qxr::hid

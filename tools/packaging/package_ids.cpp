#include "tools/packaging/package_ids.h"

#include <fmt/format.h>

#include <algorithm>

#include "devices/kinds/device_kinds.h"

namespace qxr::packaging {

std::vector<UsbId> packaged_usb_ids() {
  std::vector<UsbId> ids;
  for (const devices::KindRow& row : devices::device_kinds()) {
    for (const hid::SupportedInterface& i : row.interfaces) {
      const UsbId id{i.vendor_id, i.product_id, row.name};
      if (id.vendor_id == 0 && id.product_id == 0) continue;
      const bool known = std::any_of(ids.begin(), ids.end(), [&](const UsbId& u) {
        return u.vendor_id == id.vendor_id && u.product_id == id.product_id;
      });
      if (!known) ids.push_back(id);
    }
  }
  return ids;
}

std::string udev_rules(const std::vector<UsbId>& ids) {
  std::string text =
      "# Read/write access to the supported devices' hidraw nodes for the user at the seat\n"
      "# (uaccess), so that qxr470 and qxr470ctl work without root. Made from the device kinds'\n"
      "# rows when the program is built.\n";
  for (const UsbId& id : ids) {
    text += fmt::format("# {}\nKERNEL==\"hidraw*\", SUBSYSTEM==\"hidraw\", ATTRS{{idVendor}}==\"{:04x}\", "
                        "ATTRS{{idProduct}}==\"{:04x}\", TAG+=\"uaccess\"\n",
                        id.kind, id.vendor_id, id.product_id);
  }
  return text;
}

std::string modalias(const UsbId& id) { return fmt::format("usb:v{:04X}p{:04X}d*", id.vendor_id, id.product_id); }

std::string fill_metainfo(std::string_view metainfo_template, const std::vector<UsbId>& ids) {
  const size_t marker = metainfo_template.find(kModaliasMarker);
  if (marker == std::string_view::npos) return {};
  const size_t line_start = metainfo_template.rfind('\n', marker) + 1;  // npos + 1 == 0
  const size_t line_end = metainfo_template.find('\n', marker);
  if (line_end == std::string_view::npos) return {};
  const std::string_view indent = metainfo_template.substr(line_start, marker - line_start);
  if (indent.find_first_not_of(" \t") != std::string_view::npos) return {};
  std::string lines;
  for (const UsbId& id : ids) lines += fmt::format("{}<modalias>{}</modalias>\n", indent, modalias(id));
  return std::string(metainfo_template.substr(0, line_start)) + lines +
         std::string(metainfo_template.substr(line_end + 1));
}

}  // namespace qxr::packaging

#pragma once
// The USB ids of the supported devices as the package needs them: the udev rule that gives the
// user at the seat access to their hidraw nodes, and the modaliases of the AppStream metainfo
// by which software centres offer the program when such a device is plugged in. Both come from
// the device kinds' rows, so they cannot drift from what the program serves.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qxr::packaging {

struct UsbId {
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  std::string_view kind;  // the row's name: "keyboard", ...
  bool operator==(const UsbId&) const = default;
};

// Each id of the kinds' interface rows once, in row order. Rows with id 0000:0000 match no real
// device and are left out.
std::vector<UsbId> packaged_usb_ids();

// The rules file: a comment, then one rule per id tagging its hidraw nodes "uaccess".
std::string udev_rules(const std::vector<UsbId>& ids);
// "usb:v320Fp5055d*"
std::string modalias(const UsbId& id);
// The template with its line holding only the marker replaced by one <modalias> element per id,
// indented as the marker was; empty when the template has no such line.
std::string fill_metainfo(std::string_view metainfo_template, const std::vector<UsbId>& ids);

inline constexpr std::string_view kModaliasMarker = "%MODALIASES%";

}  // namespace qxr::packaging

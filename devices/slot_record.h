#pragma once
// The supported-interface slot a device page serves, as the page keeps it.
#include <cstdint>
#include <string>

namespace qxr::devices {

struct SlotRecord {
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t interface_number = 0;
  uint16_t collection = 0;
  uint16_t kind = 0;
  uint16_t role = 0;
  std::string path;
  bool operator==(const SlotRecord&) const = default;
};

}  // namespace qxr::devices

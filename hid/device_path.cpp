#include "hid/device_path.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "hid/hid_device.h"

namespace qxr::hid {
namespace {

// Case-insensitive search for the marker, then the hexadecimal number after it. Only the
// suffix is searched: a folder such as "/home/david_x/" must not read as a vendor id.
uint16_t number_after(const std::string& full, const char* marker) {
  const size_t hash = full.rfind(kPathSuffixSeparator);
  const std::string path = hash == std::string::npos ? full : full.substr(hash);
  std::string lower(path);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const size_t at = lower.find(marker);
  if (at == std::string::npos) return 0;
  unsigned value = 0;
  if (std::sscanf(path.c_str() + at + std::char_traits<char>::length(marker), "%x", &value) != 1)
    return 0;
  return static_cast<uint16_t>(value);
}

}  // namespace

uint16_t vendor_from_path(const std::string& path) { return number_after(path, "vid_"); }
uint16_t product_from_path(const std::string& path) { return number_after(path, "pid_"); }
uint16_t interface_from_path(const std::string& path) { return number_after(path, "&mi_"); }
uint16_t collection_from_path(const std::string& path) { return number_after(path, "&col"); }

std::string path_node(const std::string& path) {
  const size_t at = path.rfind(kPathSuffixSeparator);
  return at == std::string::npos ? path : path.substr(0, at);
}

std::string make_path(const std::string& node, uint16_t vendor_id, uint16_t product_id,
                      int interface_number, uint16_t collection) {
  std::string path = fmt::format("{}{}vid_{:04x}&pid_{:04x}", node, kPathSuffixSeparator,
                                 vendor_id, product_id);
  if (interface_number >= 0) path += fmt::format("&mi_{:02x}", interface_number);
  if (collection != 0) path += fmt::format("&col{:02x}", collection);
  return path;
}

}  // namespace qxr::hid

#include "hid/interface_info.h"

#include <json/json.h>

#include <fstream>
#include <sstream>

#include "hid/report_descriptor.h"

namespace qxr::hid {
namespace {

bool replace_suffix(const std::string& path, const std::string& from, const std::string& to,
                    std::string* out) {
  if (path.size() < from.size() || path.compare(path.size() - from.size(), from.size(), from) != 0)
    return false;
  *out = path.substr(0, path.size() - from.size()) + to;
  return true;
}

bool read_u16(const Json::Value& root, const char* key, uint16_t* out) {
  const Json::Value& v = root[key];
  if (!v.isIntegral() || v.asInt64() < 0 || v.asInt64() > 0xFFFF) return false;
  *out = static_cast<uint16_t>(v.asInt64());
  return true;
}

}  // namespace

std::string emulator_json_for_socket(const std::string& socket_path) {
  std::string out;
  return replace_suffix(socket_path, kEmulatorSocketSuffix, kEmulatorJsonSuffix, &out) ? out
                                                                                       : std::string();
}

std::string emulator_socket_for_json(const std::string& json_path) {
  std::string out;
  return replace_suffix(json_path, kEmulatorJsonSuffix, kEmulatorSocketSuffix, &out) ? out
                                                                                     : std::string();
}

bool read_emulator_json(const std::string& json_path, InterfaceInfo* out) {
  *out = InterfaceInfo{};
  out->node = emulator_socket_for_json(json_path);
  if (out->node.empty()) return false;
  std::ifstream in(json_path, std::ios::binary);
  if (!in) return false;
  Json::Value root;
  Json::CharReaderBuilder builder;
  std::string errors;
  if (!Json::parseFromStream(builder, in, &root, &errors) || !root.isObject()) return false;
  uint16_t iface = 0;
  if (!read_u16(root, "vendor_id", &out->vendor_id) || !read_u16(root, "product_id", &out->product_id) ||
      !read_u16(root, "interface", &iface))
    return false;
  out->interface_number = iface;
  const Json::Value& desc = root["report_descriptor"];
  if (!desc.isString() || !parse_hex_bytes(desc.asString(), &out->report_descriptor) ||
      out->report_descriptor.empty())
    return false;
  if (root["name"].isString()) out->name = root["name"].asString();
  return true;
}

}  // namespace qxr::hid

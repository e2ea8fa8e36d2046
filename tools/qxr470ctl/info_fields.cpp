#include "tools/qxr470ctl/info_fields.h"

namespace qxr::ctl {

namespace {

constexpr uint16_t kMacroUnitBytes = 128;

constexpr InfoField kKeyboardFields[] = {
    {"key_count", 5, 1, 1},
    {"macro_capacity_bytes", 6, 1, kMacroUnitBytes},
};

constexpr InfoField kMouseFields[] = {
    {"key_count", 5, 1, 1},
    {"dpi_step", 11, 1, 1},
    {"dpi_slider_max", 12, 2, 1},
    {"dpi_min", 14, 2, 1},
};

struct KindFields {
  const char* kind;
  std::span<const InfoField> fields;
};

constexpr KindFields kKinds[] = {
    {"keyboard", kKeyboardFields},
    {"mouse", kMouseFields},
};

}  // namespace

std::span<const InfoField> info_fields(const std::string& kind) {
  for (const KindFields& k : kKinds) {
    if (kind == k.kind) return k.fields;
  }
  return {};
}

std::vector<DecodedField> decode_info(const std::string& kind, const uint8_t* block, size_t size) {
  std::vector<DecodedField> out;
  for (const InfoField& f : info_fields(kind)) {
    if (static_cast<size_t>(f.offset) + f.size > size) continue;
    uint32_t v = block[f.offset];
    if (f.size == 2) v |= static_cast<uint32_t>(block[f.offset + 1]) << 8;
    out.push_back({f.name, v * f.scale});
  }
  return out;
}

}  // namespace qxr::ctl

#pragma once
// The decoded fields of a device's information block, per device kind.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qxr::ctl {

struct InfoField {
  const char* name;
  uint8_t offset;
  uint8_t size;     // 1 or 2 bytes, little-endian
  uint16_t scale;   // value x scale is what is shown (1 for plain values)
};

struct DecodedField {
  std::string name;
  uint32_t value;
};

// Fields known for a kind name ("keyboard", "mouse", "pad", "headset"); empty when the block of
// that kind has no known fields.
std::span<const InfoField> info_fields(const std::string& kind);
std::vector<DecodedField> decode_info(const std::string& kind, const uint8_t* block, size_t size);

}  // namespace qxr::ctl

#pragma once
// Base64 (RFC 4648, with padding) for the data blocks that travel inside text lines.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qxr {

std::string encode_base64(std::span<const uint8_t> bytes);
// Nothing for text that is not whole, well-padded base64.
std::optional<std::vector<uint8_t>> decode_base64(std::string_view text);

}  // namespace qxr

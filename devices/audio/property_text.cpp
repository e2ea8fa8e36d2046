#include "devices/audio/property_text.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace qxr::audio {
namespace {

std::string_view trim(std::string_view s) {
  constexpr std::string_view blanks = " \t\r\n";
  const auto first = s.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(blanks);
  return s.substr(first, last - first + 1);
}

}  // namespace

std::string_view buffer_text(std::span<const uint8_t> buffer) {
  const auto* begin = reinterpret_cast<const char*>(buffer.data());
  const auto* nul = static_cast<const char*>(std::memchr(begin, 0, buffer.size()));
  return std::string_view(begin, nul ? static_cast<size_t>(nul - begin) : buffer.size());
}

bool put_text(std::span<uint8_t> buffer, std::string_view text) {
  if (text.size() + 1 > buffer.size()) return false;
  std::memcpy(buffer.data(), text.data(), text.size());
  buffer[text.size()] = 0;
  return true;
}

std::optional<double> parse_decimal(std::string_view text) {
  text = trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<int64_t> parse_integer_item(std::string_view text) {
  text = trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  uint64_t magnitude = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (magnitude > static_cast<uint64_t>(INT64_MAX)) return std::nullopt;
  const auto v = static_cast<int64_t>(magnitude);
  return negative ? -v : v;
}

std::vector<std::string_view> split_items(std::string_view text) {
  std::vector<std::string_view> items;
  if (trim(text).empty()) return items;
  size_t start = 0;
  while (true) {
    const auto comma = text.find(',', start);
    items.push_back(trim(text.substr(start, comma == std::string_view::npos ? text.npos
                                                                             : comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return items;
}

std::string format_decimal(double value) { return fmt::format("{:.6f}", value); }

std::string format_integer(int64_t value) { return fmt::format("{}", value); }

}  // namespace qxr::audio

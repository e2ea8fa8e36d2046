#pragma once
// A text that must be one number and nothing else: no sign the type cannot take, no space, no
// trailing characters, and within the type's range.
#include <charconv>
#include <optional>
#include <string_view>

namespace qxr {

template <typename T>
std::optional<T> whole_number(std::string_view text, int base = 10) {
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace qxr

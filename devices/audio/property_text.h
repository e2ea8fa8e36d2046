#pragma once
// The text side of property values: reads come back as decimal text in a fixed buffer, the
// feature list as comma-separated items. Parsing never depends on the process locale (the GUI
// sets one), and never reads past the buffer when a backend forgets the terminating NUL.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qxr::audio {

// The text held in buffer: everything before the first NUL, or the whole buffer without one.
std::string_view buffer_text(std::span<const uint8_t> buffer);

// Copies text plus a NUL into buffer; false (buffer untouched) when it does not fit.
bool put_text(std::span<uint8_t> buffer, std::string_view text);

// A decimal number with optional sign, fraction and exponent, surrounded by optional blanks.
std::optional<double> parse_decimal(std::string_view text);

// An integer item: decimal, or hexadecimal with a "0x" prefix; blanks around are allowed.
std::optional<int64_t> parse_integer_item(std::string_view text);

// Items of a comma-separated list, blanks around each item removed. "" gives no items.
std::vector<std::string_view> split_items(std::string_view text);

// Formats used by the backends for what they answer on a read.
std::string format_decimal(double value);  // six decimals, '.' as separator
std::string format_integer(int64_t value);

}  // namespace qxr::audio

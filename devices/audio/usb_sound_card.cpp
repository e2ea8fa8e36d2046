#include "devices/audio/usb_sound_card.h"

#include <charconv>
#include <fstream>
#include <string>
#include <system_error>

namespace qxr::audio {
namespace {

constexpr std::string_view kCardPrefix = "card";
constexpr std::string_view kUsbIdFile = "usbid";
constexpr size_t kIdDigits = 4;
constexpr int kHex = 16;

std::optional<uint16_t> parse_hex4(std::string_view s) {
  if (s.size() != kIdDigits) return std::nullopt;
  uint16_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, kHex);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

// "card7" → 7; the id-named links beside the cards ("Headset" → card7) are not cards.
std::optional<int> card_number(std::string_view name) {
  if (!name.starts_with(kCardPrefix)) return std::nullopt;
  name.remove_prefix(kCardPrefix.size());
  if (name.empty()) return std::nullopt;
  int n = 0;
  const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), n);
  if (ec != std::errc() || end != name.data() + name.size() || n < 0) return std::nullopt;
  return n;
}

}  // namespace

std::optional<UsbId> parse_usb_id(std::string_view text) {
  constexpr std::string_view blanks = " \t\r\n";
  const auto first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(blanks) - first + 1);
  const auto colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const auto vendor = parse_hex4(text.substr(0, colon));
  const auto product = parse_hex4(text.substr(colon + 1));
  if (!vendor || !product) return std::nullopt;
  return UsbId{*vendor, *product};
}

std::optional<int> find_usb_sound_card(const std::filesystem::path& root, UsbId id) {
  std::error_code ec;
  std::filesystem::directory_iterator it(root, ec);
  if (ec) return std::nullopt;
  std::optional<int> best;
  for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const auto& entry = *it;
    const auto number = card_number(entry.path().filename().string());
    if (!number || entry.is_symlink(ec)) continue;
    std::ifstream file(entry.path() / kUsbIdFile);
    std::string line;
    if (!file || !std::getline(file, line)) continue;
    const auto card_id = parse_usb_id(line);
    if (!card_id || card_id->vendor != id.vendor || card_id->product != id.product) continue;
    if (!best || *number < *best) best = number;
  }
  return best;
}

}  // namespace qxr::audio

#pragma once
// Finding the headset's sound card by its USB ids. ALSA's USB driver publishes each card's ids
// as "<root>/cardN/usbid" ("00c7:1630"); the root is /proc/asound, or a test folder.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace qxr::audio {

inline constexpr std::string_view ASOUND_ROOT = "/proc/asound";
inline constexpr uint16_t HEADSET_USB_VENDOR = 0x00C7;
inline constexpr uint16_t HEADSET_USB_PRODUCT = 0x1630;

struct UsbId {
  uint16_t vendor = 0;
  uint16_t product = 0;
};

// "vvvv:pppp" in hexadecimal, surrounding blanks allowed.
std::optional<UsbId> parse_usb_id(std::string_view text);

// The lowest card number whose usbid matches; nullopt when none does or the root is missing.
std::optional<int> find_usb_sound_card(const std::filesystem::path& root, UsbId id);

}  // namespace qxr::audio

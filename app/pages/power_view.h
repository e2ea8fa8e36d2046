#pragma once
// What the power panel shows for the status bytes a device reports: battery level and
// charging state, the wireless mark, and the phone lying on the mouse pad's charger.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace qxr::app {

inline constexpr size_t kStatusLevel = 0;
inline constexpr size_t kStatusCharging = 1;
inline constexpr size_t kStatusWireless = 3;
inline constexpr size_t kStatusPhone = 5;
inline constexpr size_t kMaxStatusBytes = 64;

inline constexpr uint8_t kChargeFull = 0;
inline constexpr uint8_t kChargeCharging = 1;
inline constexpr uint8_t kChargeBattery = 2;

struct PowerView {
  int progress = 0;            // 100 - level
  std::string value_text;      // level followed by "%"
  std::optional<bool> wireless_logo;        // set only in power mode 2
  std::optional<std::string> status_image;  // nothing: the charging state is not one we know
  std::optional<bool> progress_visible;
  std::optional<std::string> phone_text;    // power mode 3 only; a language key
  std::optional<std::string> phone_image;
  bool operator==(const PowerView&) const = default;
};

// At most kMaxStatusBytes are read; bytes past length count as 0.
PowerView power_view(const uint8_t* bytes, size_t length, int power_mode);

}  // namespace qxr::app

#include "app/pages/power_view.h"

#include <algorithm>

#include "app/pages/device_models.h"

namespace qxr::app {
namespace {

struct PhoneRow {
  uint8_t type;
  const char* text;
  const char* image;
};

constexpr PhoneRow kPhones[] = {
    {1, "Phone_type_iphone", "file='power/Phone_type_iphone.png'"},
    {2, "Phone_type_samsung", "file='power/Phone_type_samsung.png'"},
    {3, "Phone_type_other", "file='power/Phone_type_other.png'"},
};
constexpr PhoneRow kNoPhone = {0, "Phone_type_no_device", "file='power/Phone_type_no_device.png'"};

constexpr int kFullPercent = 100;

}  // namespace

PowerView power_view(const uint8_t* bytes, size_t length, int power_mode) {
  auto byte = [&](size_t i) -> uint8_t {
    return bytes != nullptr && i < std::min(length, kMaxStatusBytes) ? bytes[i] : 0;
  };
  PowerView v;
  const int level = byte(kStatusLevel);
  v.progress = kFullPercent - level;
  v.value_text = std::to_string(level) + "%";
  const bool wireless = byte(kStatusWireless) == 1;
  if (power_mode == kPowerModeReceiver) v.wireless_logo = wireless;
  switch (byte(kStatusCharging)) {
    case kChargeFull:
      v.progress_visible = true;
      v.status_image = "file='power/powered.png'";
      break;
    case kChargeCharging:
      v.progress_visible = !wireless;
      v.status_image = wireless ? "file='power/wuxian_powering.png'" : "file='power/powering.png'";
      break;
    case kChargeBattery:
      v.progress_visible = true;
      v.status_image = "file='power/power.png'";
      break;
    default:
      break;
  }
  if (power_mode == kPowerModePhoneCharger) {
    const PhoneRow* row = &kNoPhone;
    for (const PhoneRow& p : kPhones) {
      if (p.type == byte(kStatusPhone)) row = &p;
    }
    v.phone_text = row->text;
    v.phone_image = row->image;
  }
  return v;
}

}  // namespace qxr::app

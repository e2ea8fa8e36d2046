#include "devices/keyboard/system_settings.h"

#include <cstdint>

namespace qxr::devices {

void show_system_settings(DevicePage& page, const KeyboardSystemStages& s) {
  page.set_system_flag(SystemFlag::WinLock, s.win_flag != 0);
  page.set_system_flag(SystemFlag::W, s.w_flag != 0);
  page.set_system_flag(SystemFlag::Key6, s.key6_flag != 0);
  page.set_repeat_rate(s.repeat);
  page.set_repeat_delay_option(system_option(s.repeat_delay), repeat_delay_ms(s.repeat_delay));
  page.clear_repeat_input();
  page.set_polling_option(system_option(s.polling_rate));
}

void apply_system_setting(KeyboardSystemStages& s, SystemSetting setting, int value) {
  auto v = static_cast<uint16_t>(value);
  switch (setting) {
    case SystemSetting::PollingRate:
      s.polling_rate = static_cast<uint16_t>(system_option(value));
      break;
    case SystemSetting::RepeatDelay:
      s.repeat_delay = static_cast<uint16_t>(system_option(value));
      break;
    case SystemSetting::RepeatRate:
      s.repeat = v;
      break;
    case SystemSetting::WinLock:
      s.win_flag = value != 0;
      break;
    case SystemSetting::W:
      s.w_flag = value != 0;
      break;
    case SystemSetting::Key6:
      s.key6_flag = value != 0;
      break;
  }
}

}  // namespace qxr::devices

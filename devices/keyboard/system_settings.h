#pragma once
// The keyboard's system settings ("SystemStages") as the page shows them: polling rate and
// repeat delay as one of four options, repeat rate on a slider, three flags.
#include "devices/device_page.h"
#include "profile/records.h"

namespace qxr::devices {

inline constexpr int kSystemOptionCount = 4;
inline constexpr int kRepeatDelayStepMs = 250;

// Values outside 0-3 select option 0.
inline int system_option(int value) { return value >= 0 && value < kSystemOptionCount ? value : 0; }
// 250, 500, 750 or 1000 ms.
inline int repeat_delay_ms(int value) {
  return system_option(value) * kRepeatDelayStepMs + kRepeatDelayStepMs;
}

// Sets every system-setting control of the page from the stages.
void show_system_settings(DevicePage& page, const KeyboardSystemStages& stages);

// The system-setting controls the user can change.
enum class SystemSetting { PollingRate, RepeatDelay, RepeatRate, WinLock, W, Key6 };
void apply_system_setting(KeyboardSystemStages& stages, SystemSetting setting, int value);

}  // namespace qxr::devices

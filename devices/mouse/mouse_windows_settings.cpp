#include "devices/mouse/mouse_windows_settings.h"

#include <algorithm>
#include <cstdint>

namespace qxr::devices {

namespace {
uint16_t to_word(int value) { return static_cast<uint16_t>(std::clamp(value, 0, 0xFFFF)); }
}  // namespace

void apply_windows_setting(MouseSystemStages& s, MouseWindowsSetting setting, int value) {
  switch (setting) {
    case MouseWindowsSetting::PointerSpeed: s.mouse_speed = to_word(value); break;
    case MouseWindowsSetting::PointerPrecision: s.pointer_precision = value != 0 ? 1 : 0; break;
    case MouseWindowsSetting::DoubleClickTime: s.double_click_time = to_word(value); break;
    case MouseWindowsSetting::ScrollPage: s.scroll_page = value != 0 ? 1 : 0; break;
    case MouseWindowsSetting::WheelLines: s.wheel_scroll_lines = to_word(value); break;
  }
}

int windows_setting(const MouseSystemStages& s, MouseWindowsSetting setting) {
  switch (setting) {
    case MouseWindowsSetting::PointerSpeed: return s.mouse_speed;
    case MouseWindowsSetting::PointerPrecision: return s.pointer_precision;
    case MouseWindowsSetting::DoubleClickTime: return s.double_click_time;
    case MouseWindowsSetting::ScrollPage: return s.scroll_page;
    case MouseWindowsSetting::WheelLines: return s.wheel_scroll_lines;
  }
  return 0;
}

}  // namespace qxr::devices

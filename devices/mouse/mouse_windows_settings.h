#pragma once
// The mouse page's Windows-style settings. They are shown, kept in the profile and saved, and
// nothing else: neither the mouse nor the system's own pointer settings ever change with them.
#include "profile/records.h"

namespace qxr::devices {

enum class MouseWindowsSetting { PointerSpeed, PointerPrecision, DoubleClickTime, ScrollPage, WheelLines };

// Stores a control's value (negative values count as 0; switches store 0 or 1).
void apply_windows_setting(MouseSystemStages& stages, MouseWindowsSetting setting, int value);
int windows_setting(const MouseSystemStages& stages, MouseWindowsSetting setting);

// The double-click slider runs the other way round from the time it stands for: what the
// slider at value means on a slider of that maximum.
inline int double_click_inverse(int value, int slider_max) { return slider_max - value + 1; }

}  // namespace qxr::devices

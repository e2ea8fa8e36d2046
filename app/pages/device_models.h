#pragma once
// What the program shows of each device kind: the kinds' rows (devices/kinds/device_kinds.h)
// give one page and one list entry each, built before any device is seen; this adds the names
// the pages and entries share and the entry's pictures and texts.
#include <string>
#include <string_view>

#include "devices/kinds/device_kinds.h"

namespace qxr::app {

inline constexpr char kEntryPageFile[] = "DeviceOption.ui";
inline constexpr char kPowerPanelFile[] = "MpDevicePower.ui";
inline constexpr char kProfilePanelFile[] = "DeviceProfile.ui";
inline constexpr char kTabHeaderName[] = "tab_header_device";
inline constexpr char kPowerContainerName[] = "device_power_switch";
inline constexpr char kDeviceSwitchName[] = "device_switch";
inline constexpr char kLightConfigName[] = "kelto_light";

using devices::kPowerModeNone;
using devices::kPowerModePhoneCharger;
using devices::kPowerModeReceiver;

// The entry image prefix of a kind ("kb", "ms", "soft_mp" (variant 1) / "hard_mp" (variant 0),
// "hd"); "unknow" for a kind no row serves.
std::string_view entry_image_prefix(int kind, int variant);

enum class EntryImage { Normal, Selected, SynchroNormal, SynchroSelected };
// "common/device_ico/<prefix>_device_normal.png" and its sisters.
std::string entry_image(std::string_view prefix, EntryImage image);
// "<prefix>_device_name_text": the language key of the entry's name.
std::string entry_name_key(std::string_view prefix);

// Debug lines of arrivals and removals by kind; nothing for kinds the program does not serve.
std::string_view arrival_line(int kind);
std::string_view removal_line(int kind);

}  // namespace qxr::app

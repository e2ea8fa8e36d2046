#include "app/window/notify_routes.h"

#include <array>
#include <vector>

#include "editors/headset/headset_rows.h"
#include "editors/keys/key_rows.h"
#include "editors/lighting/light_edits.h"
#include "editors/macros/macro_rows.h"
#include "editors/recoil/recoil_rows.h"

namespace qxr::app {
namespace {

using enum Route;
constexpr Match X = Match::Exact;
constexpr Match N = Match::Indexed;

// The window's own rows and those of the panels that publish none yet; the lighting, key,
// macro, headset and recoil panels' rows follow from their tables.
constexpr RouteRow kWindowRoutes[] = {
    {"windowinit", "", X, WindowInit},
    {"windowsize", "root", X, WindowSize},
    {"msenter", "", X, Hover},
    {"msleave", "", X, Hover},
    {"click_wpremove", "", X, Consumed},
    {"click_wpedit", "", X, Consumed},
    {"click_select_end", "device_key_light", X, KeySelectionEnd},
    {"click_select_end", "mouse_device_key_light", X, KeySelectionEnd},

    // ---- clicks ----
    {"click", "closebtn", X, Close},
    {"click", "nodevice_ok_btn", X, NoDeviceOk},
    {"click", "control_light_status", X, LightStatus},
    {"click", "minbtn", X, Minimize},
    {"click", "maxbtn", X, Maximize},
    {"click", "restorebtn", X, Restore},
    {"click", "skinbtn", X, Skin},
    {"click", "setbtn", X, Settings},
    {"click", "music_setting_btn", X, MusicSettings},
    {"click", "key_", N, KeyButton},
    {"click", "windowdeviceset_", N, SystemApplet},
    {"click", "default_btn", X, KeyboardSystemButton},
    {"click", "reset_repeat_btn", X, KeyboardSystemButton},
    {"click", "device_add_btn", X, ProfileAction},
    {"click", "device_sub_btn", X, ProfileAction},
    {"click", "device_copy_btn", X, ProfileAction},
    {"click", "device_reset_btn", X, ProfileAction},
    {"click", "device_profile_edit_save_btn", X, ProfileAction},
    {"click", "profile_fun_spread_btn", X, ProfileAction},
    {"click", "device_export_btn", X, ProfileFile},
    {"click", "device_import_btn", X, ProfileFile},

    // ---- option and tab changes ----
    {"selectchanged", "device_select", X, DeviceSelect},
    {"selectchanged", "synchro_device_select", X, SynchroSelect},
    {"selectchanged", "DPI_enable_check_", N, MouseSetting},
    {"selectchanged", "polling_rate_option_", N, KeyboardSetting},
    {"selectchanged", "mouse_device_seting_option_", N, MouseSetting},
    {"selectchanged", "repeat_delay_check_", N, KeyboardSetting},
    {"selectchanged", "key_ComBox_check_", N, KeyboardSetting},
    {"selectchanged", "winlockflag_option", X, KeyboardSetting},
    {"selectchanged", "wflag_option", X, KeyboardSetting},
    {"selectchanged", "6flag_option", X, KeyboardSetting},
    {"selectchanged", "pointer_precision_check", X, MouseSetting},
    {"selectchanged", "scrolls_page_check", X, MouseSetting},
    {"selectchanged", "deng_Op_tab", X, OptionTab},
    {"selectchanged", "key_Op_tab", X, OptionTab},
    {"selectchanged", "macro_Op_tab", X, OptionTab},
    {"selectchanged", "system_Op_tab", X, OptionTab},
    {"selectchanged", "cursor_Op_tab", X, OptionTab},
    {"selectchanged", "6533_voice_Op_tab", X, OptionTab},
    {"selectchanged", "magic_Op_tab", X, OptionTab},
    {"selectchanged", "Virtual7.1_Op_tab", X, OptionTab},
    {"selectchanged", "shoot_Op_tab", X, OptionTab},

    // ---- sliders ----
    {"valuechanged", "DPI_slider_", N, MouseSetting},
    {"valuechanged", "pointer_speed_slider", X, MouseSetting},
    {"valuechanged", "scroll_speed_slider", X, MouseSetting},
    {"valuechanged", "double_click_slider", X, MouseSetting},
    {"valuechanged", "repeat_rate_slider", X, KeyboardSetting},
    {"movevaluechanged", "DPI_slider_", N, MouseSetting},

    // ---- combo boxes ----
    {"itemselect", "device_profile_combo", X, ProfileSelect},

    // ---- edits committed on leaving them ----
    {"killfocus", "DPI_edit_", N, MouseSetting},
};

constexpr std::array<std::string_view, 2> kPassedThrough = {"click_wpadd", "click_wpselect"};

constexpr std::string_view kRouteNames[] = {
    "WindowInit",     "WindowSize",    "Hover",          "Close",          "NoDeviceOk",   "LightStatus",
    "Minimize",       "Maximize",      "Restore",        "Skin",           "Settings",     "MusicSettings", "DeviceSelect",
    "SynchroSelect",  "OptionTab",     "KeyButton",      "KeySelectionEnd", "KeyboardSetting",
    "KeyboardSystemButton", "MouseSetting", "SystemApplet", "ProfileSelect", "ProfileAction", "ProfileFile",
    "LightingEditor", "ColourSwatch",  "MusicLighting",  "KeyAssignEditor", "MacroEditor", "RecoilEditor",
    "HeadsetEditor",  "Consumed",
};
static_assert(std::size(kRouteNames) == static_cast<size_t>(Route::Consumed) + 1);

Route light_route(editors::LightAction action) {
  if (action == editors::LightAction::PresetColour) return ColourSwatch;
  return editors::is_audio_action(action) ? MusicLighting : LightingEditor;
}

}  // namespace

std::span<const RouteRow> route_table() {
  static const std::vector<RouteRow> table = [] {
    std::vector<RouteRow> rows(std::begin(kWindowRoutes), std::end(kWindowRoutes));
    for (const editors::LightNotificationRow& r : editors::light_notification_table())
      rows.push_back({r.type, r.name, r.match, light_route(r.action)});
    for (const editors::keys::KeyNotificationRow& r : editors::keys::key_notification_table())
      rows.push_back({r.type, r.name, r.match, KeyAssignEditor});
    for (const editors::macros::MacroNotificationRow& r : editors::macros::macro_notification_table())
      rows.push_back({r.type, r.name, r.match, MacroEditor});
    for (const editors::headset::HeadsetNotificationRow& r : editors::headset::headset_notification_table())
      rows.push_back({r.type, r.name, r.match, HeadsetEditor});
    for (const editors::recoil::RecoilNotificationRow& r : editors::recoil::recoil_notification_table())
      rows.push_back({r.type, r.name, r.match, RecoilEditor});
    return rows;
  }();
  return table;
}

std::optional<Route> find_route(std::string_view type, std::string_view sender_name) {
  const RouteRow* row = ui::find_row<RouteRow>(route_table(), type, sender_name);
  return row ? std::optional(row->route) : std::nullopt;
}

bool passed_through(std::string_view type) {
  for (std::string_view t : kPassedThrough) {
    if (t == type) return true;
  }
  return false;
}

std::string_view route_name(Route route) { return kRouteNames[static_cast<size_t>(route)]; }

}  // namespace qxr::app

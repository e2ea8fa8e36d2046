#pragma once
// Where the main window sends each notification: a table of (type, control name or indexed
// prefix) -> route, made of the window's own rows and the rows the editor panels publish. The
// first matching row wins; a notification without a row falls through to the toolkit.
#include <optional>
#include <span>
#include <string_view>

#include "ui/route_rows.h"

namespace qxr::app {

enum class Route {
  WindowInit,
  WindowSize,
  Hover,
  // title bar and window
  Close,
  NoDeviceOk,
  LightStatus,
  Minimize,
  Maximize,
  Restore,
  Skin,
  Settings,
  MusicSettings,
  // device list
  DeviceSelect,
  SynchroSelect,
  // the selected page
  OptionTab,
  KeyButton,
  KeySelectionEnd,
  KeyboardSetting,
  KeyboardSystemButton,
  MouseSetting,
  SystemApplet,
  // profile panel
  ProfileSelect,
  ProfileAction,
  ProfileFile,
  // editor panels
  LightingEditor,
  ColourSwatch,
  MusicLighting,
  KeyAssignEditor,
  MacroEditor,
  RecoilEditor,
  HeadsetEditor,
  // consumed without handling
  Consumed,
};

using ui::Match;

struct RouteRow {
  std::string_view type;
  std::string_view name;  // for Indexed: the prefix before the decimal index
  Match match;
  Route route;
};

std::span<const RouteRow> route_table();

// The route of a notification; nothing when no row matches. A row with an empty name
// matches every sender.
std::optional<Route> find_route(std::string_view type, std::string_view sender_name);

// Notifications of these types are passed on to the toolkit only.
bool passed_through(std::string_view type);

std::string_view route_name(Route route);

}  // namespace qxr::app

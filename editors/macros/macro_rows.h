#pragma once
// What each notification of the macro panel does, as data; the main window routes these rows
// to the panel of the selected page.
#include <optional>
#include <span>
#include <string_view>

#include "editors/macros/macro_recorder.h"
#include "ui/route_rows.h"

namespace qxr::editors::macros {

enum class MacroAction {
  StartRecording, StopRecording, AddMacro, DeleteMacro, RenameMacro, Save, Reload, Import, Export,
  RowUp, RowDown, RowTop, RowBottom, DeleteRow, DeleteAllRows, ShowSelected, DelayEdited,
  InsertMouse,      // a mouse row (or a click: its press and release rows)
  RecordBefore,     // recording into the list before the selected row
  RecordAfter,      // ... after it
  ReplaceRow,       // the next input replaces the selected row's
};

// How a context-menu recording measures its delays.
enum class MenuDelay { AsChecked, Fixed, None };

struct MacroNotificationRow {
  std::string_view type;
  std::string_view name;
  ui::Match match;
  MacroAction action;
  // Mouse rows: the inputs inserted, in order (a click has two).
  MouseInput first = MouseInput::LeftDown;
  std::optional<MouseInput> second;
  MenuDelay delay = MenuDelay::AsChecked;
  // Context-menu items: the item's text (a language key).
  std::string_view text = {};
};

std::span<const MacroNotificationRow> macro_notification_table();
// The notification type of the event list's context-menu items.
inline constexpr std::string_view kMenuNotification = "menu";
const MacroNotificationRow* find_macro_row(std::string_view type, std::string_view sender_name);

}  // namespace qxr::editors::macros

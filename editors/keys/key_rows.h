#pragma once
// What each notification of the key-assignment panel does, as data; the main window routes
// these rows to the panel of the selected page.
#include <optional>
#include <span>
#include <string_view>

#include "ui/route_rows.h"

namespace qxr::editors::keys {

enum class KeyAction {
  SelectGroup,   // a group chosen: its page, then Apply
  MacroMode,     // a play mode chosen: the repeat count shows for "repeat", then Apply
  Apply,         // the controls' record to the selected key
  ShowDefault,   // the key's default on the controls, not yet applied
  Cancel,        // the stored record back on the controls
  WriteProfile,  // the whole profile to the device
};

struct KeyNotificationRow {
  std::string_view type;
  std::string_view name;
  ui::Match match;
  KeyAction action;
};

std::span<const KeyNotificationRow> key_notification_table();
std::optional<KeyAction> find_key_action(std::string_view type, std::string_view sender_name);

}  // namespace qxr::editors::keys

#include "editors/macros/macro_rows.h"

#include "editors/macros/macro_control_names.h"

namespace qxr::editors::macros {
namespace {

using enum MacroAction;
using enum MouseInput;
constexpr ui::Match X = ui::Match::Exact;
constexpr std::string_view kClick = "click";
constexpr std::string_view kMenu = kMenuNotification;

constexpr MacroNotificationRow row(std::string_view type, std::string_view name, MacroAction action) {
  return {type, name, X, action, LeftDown, std::nullopt, MenuDelay::AsChecked, {}};
}
constexpr MacroNotificationRow move(std::string_view name, MouseInput direction) {
  return {kClick, name, X, InsertMouse, direction, std::nullopt, MenuDelay::AsChecked, {}};
}
constexpr MacroNotificationRow insert(std::string_view name, std::string_view text, MouseInput first,
                                      std::optional<MouseInput> second = std::nullopt) {
  return {kMenu, name, X, InsertMouse, first, second, MenuDelay::AsChecked, text};
}
constexpr MacroNotificationRow record(std::string_view name, std::string_view text, MacroAction action, MenuDelay delay) {
  return {kMenu, name, X, action, LeftDown, std::nullopt, delay, text};
}

constexpr MacroNotificationRow kRows[] = {
    row(kClick, names::kStartButton, StartRecording),
    row(kClick, names::kStopButton, StopRecording),
    row(kClick, names::kAddButton, AddMacro),
    row(kClick, names::kDeleteButton, DeleteMacro),
    row(kClick, names::kRenameButton, RenameMacro),
    row(kClick, names::kSaveButton, Save),
    row(kClick, names::kCancelButton, Reload),
    row(kClick, names::kImportButton, Import),
    row(kClick, names::kExportButton, Export),
    row(kClick, names::kUpButton, RowUp),
    row(kClick, names::kDownButton, RowDown),
    row(kClick, names::kTopButton, RowTop),
    row(kClick, names::kBottomButton, RowBottom),
    row(kClick, names::kDeleteRowButton, DeleteRow),
    row(kClick, names::kDeleteAllButton, DeleteAllRows),
    move(names::kMoveLeftButton, MoveLeft),
    move(names::kMoveRightButton, MoveRight),
    move(names::kMoveUpButton, MoveUp),
    move(names::kMoveDownButton, MoveDown),
    row("itemselect", names::kNameList, ShowSelected),
    row("killfocus", names::kDelayEdit, DelayEdited),
    insert("left_click", "macro_menu_left_click", LeftDown, LeftUp),
    insert("left_down", "macro_menu_left_down", LeftDown),
    insert("left_up", "macro_menu_left_up", LeftUp),
    insert("right_click", "macro_menu_right_click", RightDown, RightUp),
    insert("right_down", "macro_menu_right_down", RightDown),
    insert("right_up", "macro_menu_right_up", RightUp),
    insert("middle_click", "macro_menu_middle_click", MiddleDown, MiddleUp),
    insert("middle_down", "macro_menu_middle_down", MiddleDown),
    insert("middle_up", "macro_menu_middle_up", MiddleUp),
    insert("forward_click", "macro_menu_forward_click", ForwardDown, ForwardUp),
    insert("forward_down", "macro_menu_forward_down", ForwardDown),
    insert("forward_up", "macro_menu_forward_up", ForwardUp),
    insert("back_click", "macro_menu_back_click", BackDown, BackUp),
    insert("back_down", "macro_menu_back_down", BackDown),
    insert("back_up", "macro_menu_back_up", BackUp),
    record("redio_previous_record_time", "macro_menu_record_time", RecordBefore, MenuDelay::AsChecked),
    record("redio_previous_constant_time", "macro_menu_constant_time", RecordBefore, MenuDelay::Fixed),
    record("redio_previous_ignore_time", "macro_menu_ignore_time", RecordBefore, MenuDelay::None),
    record("redio_later_record_time", "macro_menu_record_time", RecordAfter, MenuDelay::AsChecked),
    record("redio_later_constant_time", "macro_menu_constant_time", RecordAfter, MenuDelay::Fixed),
    record("redio_later_ignore_time", "macro_menu_ignore_time", RecordAfter, MenuDelay::None),
    record("macro_action_edit", "macro_menu_replace", ReplaceRow, MenuDelay::None),
};

}  // namespace

std::span<const MacroNotificationRow> macro_notification_table() { return kRows; }

const MacroNotificationRow* find_macro_row(std::string_view type, std::string_view sender_name) {
  return ui::find_row<MacroNotificationRow>(kRows, type, sender_name);
}

}  // namespace qxr::editors::macros

#include "editors/macros/macro_rows.h"

#include "editors/macros/macro_control_names.h"

namespace qxr::editors::macros {
namespace {

using enum MacroAction;
using enum MouseInput;
constexpr ui::Match X = ui::Match::Exact;
constexpr std::string_view kClick = "click";
constexpr std::string_view kMenu = "menu";

constexpr MacroNotificationRow row(std::string_view type, std::string_view name, MacroAction action) {
  return {type, name, X, action, LeftDown, std::nullopt, MenuDelay::AsChecked};
}
constexpr MacroNotificationRow insert(std::string_view type, std::string_view name, MouseInput first,
                                      std::optional<MouseInput> second = std::nullopt) {
  return {type, name, X, InsertMouse, first, second, MenuDelay::AsChecked};
}
constexpr MacroNotificationRow record(std::string_view name, MacroAction action, MenuDelay delay) {
  return {kMenu, name, X, action, LeftDown, std::nullopt, delay};
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
    insert(kClick, names::kMoveLeftButton, MoveLeft),
    insert(kClick, names::kMoveRightButton, MoveRight),
    insert(kClick, names::kMoveUpButton, MoveUp),
    insert(kClick, names::kMoveDownButton, MoveDown),
    row("itemselect", names::kNameList, ShowSelected),
    row("killfocus", names::kDelayEdit, DelayEdited),
    insert(kMenu, "left_down", LeftDown),
    insert(kMenu, "left_up", LeftUp),
    insert(kMenu, "right_down", RightDown),
    insert(kMenu, "right_up", RightUp),
    insert(kMenu, "middle_down", MiddleDown),
    insert(kMenu, "middle_up", MiddleUp),
    insert(kMenu, "forward_down", ForwardDown),
    insert(kMenu, "forward_up", ForwardUp),
    insert(kMenu, "back_down", BackDown),
    insert(kMenu, "back_up", BackUp),
    insert(kMenu, "left_click", LeftDown, LeftUp),
    insert(kMenu, "right_click", RightDown, RightUp),
    insert(kMenu, "middle_click", MiddleDown, MiddleUp),
    insert(kMenu, "forward_click", ForwardDown, ForwardUp),
    insert(kMenu, "back_click", BackDown, BackUp),
    record("redio_previous_record_time", RecordBefore, MenuDelay::AsChecked),
    record("redio_previous_constant_time", RecordBefore, MenuDelay::Fixed),
    record("redio_previous_ignore_time", RecordBefore, MenuDelay::None),
    record("redio_later_record_time", RecordAfter, MenuDelay::AsChecked),
    record("redio_later_constant_time", RecordAfter, MenuDelay::Fixed),
    record("redio_later_ignore_time", RecordAfter, MenuDelay::None),
    record("macro_action_edit", ReplaceRow, MenuDelay::None),
};

}  // namespace

std::span<const MacroNotificationRow> macro_notification_table() { return kRows; }

const MacroNotificationRow* find_macro_row(std::string_view type, std::string_view sender_name) {
  for (const MacroNotificationRow& row : kRows) {
    if (ui::row_matches({row.type, row.name, row.match}, type, sender_name)) return &row;
  }
  return nullptr;
}

}  // namespace qxr::editors::macros

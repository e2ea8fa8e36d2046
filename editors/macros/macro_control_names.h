#pragma once
// The macro panel's control names.
#include <string_view>

namespace qxr::editors::macros::names {

inline constexpr std::string_view kNameList = "macro_name_list";
inline constexpr std::string_view kEventList = "macro_action_list";
inline constexpr std::string_view kNameTab = "macro_name_tab";
inline constexpr std::string_view kActionEditTab = "macro_tab_macroaction_edit";
inline constexpr std::string_view kDelayEditTab = "macro_tab_macrodelay_edit";
inline constexpr std::string_view kActionLayout = "macro_action_layout";
inline constexpr std::string_view kMoveLayout = "mouse_move_layout";
inline constexpr std::string_view kNameEdit = "macro_edit_macroname";
inline constexpr std::string_view kFixedDelayCheck = "macro_check_time";
inline constexpr std::string_view kFixedDelayEdit = "macro_fixed_time_edit";
inline constexpr std::string_view kMoveLeftEdit = "mouse_x_left_edit";
inline constexpr std::string_view kMoveRightEdit = "mouse_x_right_edit";
inline constexpr std::string_view kMoveUpEdit = "mouse_y_up_edit";
inline constexpr std::string_view kMoveDownEdit = "mouse_y_down_edit";
inline constexpr std::string_view kDelayEdit = "macro_delay";

inline constexpr std::string_view kStartButton = "macro_btn_starredio";
inline constexpr std::string_view kStopButton = "macro_btn_stopredio";
inline constexpr std::string_view kAddButton = "macro_btn_name_add";
inline constexpr std::string_view kDeleteButton = "macro_btn_name_sub";
inline constexpr std::string_view kRenameButton = "macro_btn_name_edit";
inline constexpr std::string_view kSaveButton = "macro_btn_save";
inline constexpr std::string_view kCancelButton = "macro_btn_cancel";
inline constexpr std::string_view kExportButton = "macro_btn_export";
inline constexpr std::string_view kImportButton = "macro_btn_import";
inline constexpr std::string_view kUpButton = "macro_btn_up";
inline constexpr std::string_view kDownButton = "macro_btn_down";
inline constexpr std::string_view kTopButton = "macro_btn_uptop";
inline constexpr std::string_view kBottomButton = "macro_btn_downbottom";
inline constexpr std::string_view kDeleteRowButton = "macro_btn_delete";
inline constexpr std::string_view kDeleteAllButton = "macro_btn_deleteall";
inline constexpr std::string_view kMoveLeftButton = "macro_inset_moveleftkey_btn";
inline constexpr std::string_view kMoveRightButton = "macro_inset_moverightkey_btn";
inline constexpr std::string_view kMoveUpButton = "macro_inset_moveupkey_btn";
inline constexpr std::string_view kMoveDownButton = "macro_inset_movedownkey_btn";

}  // namespace qxr::editors::macros::names

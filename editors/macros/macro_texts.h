#pragma once
// The language keys the macro panel's code shows (its skin names its own).
#include <array>
#include <string_view>

namespace qxr::editors::macros::texts {

inline constexpr std::string_view kStateDown = "macro_state_down_text";
inline constexpr std::string_view kStateUp = "macro_state_up_text";
inline constexpr std::string_view kEventColumn = "macro_event_column_text";
inline constexpr std::string_view kDelayColumn = "macro_delay_column_text";
inline constexpr std::string_view kInsertMenu = "macro_menu_insert";
inline constexpr std::string_view kRecordBeforeMenu = "macro_menu_record_before";
inline constexpr std::string_view kRecordAfterMenu = "macro_menu_record_after";
inline constexpr std::string_view kConfirmDelete = "message_text_4";
inline constexpr std::string_view kConfirmDeleteUsed = "message_text_2";
inline constexpr std::string_view kNameInUse = "message_text_5";
inline constexpr std::string_view kNameBlank = "message_text_25";
inline constexpr std::string_view kMacrosFull = "macro_full_text";
inline constexpr std::string_view kWriteFailed = "macro_write_failed_text";
inline constexpr std::string_view kImportRefused = "macro_import_refused_text";

inline constexpr std::array kAll = {kStateDown,    kStateUp,          kEventColumn,    kDelayColumn,  kInsertMenu,
                                    kRecordBeforeMenu, kRecordAfterMenu, kConfirmDelete, kConfirmDeleteUsed,
                                    kNameInUse,    kNameBlank,        kMacrosFull,     kWriteFailed,  kImportRefused};

}  // namespace qxr::editors::macros::texts

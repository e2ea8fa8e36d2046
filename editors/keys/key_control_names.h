#pragma once
// Names of the key-assignment panel's controls, as its skin names them.
#include <string_view>

namespace qxr::editors::keys::names {

inline constexpr std::string_view kLayout = "keyset_layout";
inline constexpr std::string_view kFunctionCombo = "keyset_function_combo";
inline constexpr std::string_view kGroupSwitch = "function_switch_tablayout";
inline constexpr std::string_view kMouseKeyCombo = "keyset_mousekey_combo";
inline constexpr std::string_view kSwingCombo = "keyset_mouseswing_combo";
inline constexpr std::string_view kSwingDelayEdit = "keyset_mouseswing_delay_edit";
inline constexpr std::string_view kSwingSpeedEdit = "keyset_mouseswing_speed_edit";
inline constexpr std::string_view kSwingCountEdit = "keyset_mouseswing_num_edit";
inline constexpr std::string_view kWheelCombo = "keyset_mousewheel_combo";
inline constexpr std::string_view kWheelDelayEdit = "keyset_mousewheel_delay_edit";
inline constexpr std::string_view kWheelSpeedEdit = "keyset_mousewheel_speed_edit";
inline constexpr std::string_view kWheelCountEdit = "keyset_mousewheel_num_edit";
inline constexpr std::string_view kDpiCombo = "keyset_mousedpi_combo";
inline constexpr std::string_view kFireIntervalEdit = "keyset_mousefire_interval_edit";
inline constexpr std::string_view kFireCountEdit = "keyset_mousefire_num_edit";
inline constexpr std::string_view kModifierBoxPrefix = "key_ComBox_check_";
inline constexpr std::string_view kKeyTextEdit = "keyset_keyboard_text_edit";
inline constexpr std::string_view kKeyNameSearch = "keyset_keyname_search";
inline constexpr std::string_view kMediaCombo = "keyset_media_combo";
inline constexpr std::string_view kSystemCombo = "keyset_system_combo";
inline constexpr std::string_view kMacroCombo = "keyset_macro_combo";
inline constexpr std::string_view kMacroModeCombo = "keyset_macro_over_combo";
inline constexpr std::string_view kMacroRepeatLayout = "keyset_macro_cycle_layout";
inline constexpr std::string_view kMacroRepeatEdit = "keyset_macro_cycle_edit";
inline constexpr std::string_view kGunCombo = "keyset_gunkey_combo";
inline constexpr std::string_view kComboKeyCombo = "keyset_combokey_combo";
inline constexpr std::string_view kDefaultButton = "key_butt_keydefalut";
inline constexpr std::string_view kSaveButton = "key_butt_keysave";
inline constexpr std::string_view kCancelButton = "key_butt_keycancel";
inline constexpr std::string_view kProfileSaveButton = "key_butt_prosave";

// The dynamic property of the function combo that lists its items' group ids.
inline constexpr std::string_view kGroupIdsAttribute = "itemdata";

}  // namespace qxr::editors::keys::names

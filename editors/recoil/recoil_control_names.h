#pragma once
// The recoil panel's control names.
#include <string_view>

namespace qxr::editors::recoil::names {

// Indexed: the prefix is followed by the gun (0-3) or the bullet (0-29).
inline constexpr std::string_view kGunOption = "shoot_gun_op_";
inline constexpr std::string_view kBulletOption = "bullet_op_";
// One picture per gun, on the pages of this switch.
inline constexpr std::string_view kGunPictures = "shoot_image_display_switch";
inline constexpr std::string_view kGunPicture = "shoot_image_";

inline constexpr std::string_view kImportButton = "shootdate_import_btn";
inline constexpr std::string_view kExportButton = "shootdate_export_btn";
inline constexpr std::string_view kSaveButton = "shootdate_save_btn";
inline constexpr std::string_view kResetButton = "shootdate_reset_btn";
inline constexpr std::string_view kBulletEditLayout = "bullet_edit_layout";
inline constexpr std::string_view kBulletIndex = "bullet_select_index";
inline constexpr std::string_view kPreviousBullet = "bullet_selected_prev";
inline constexpr std::string_view kNextBullet = "bullet_selected_next";
inline constexpr std::string_view kHorizontalOption = "bullet_x_check";
inline constexpr std::string_view kVerticalOption = "bullet_y_check";
inline constexpr std::string_view kHorizontalEdit = "bullet_x_eidt";
inline constexpr std::string_view kVerticalEdit = "bullet_y_eidt";
inline constexpr std::string_view kDelayEdit = "bullet_delay_eidt";
// What became of the last send to the mouse.
inline constexpr std::string_view kSendStatus = "shoot_send_status";

}  // namespace qxr::editors::recoil::names

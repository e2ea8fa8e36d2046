#pragma once
// The language keys the recoil panel's code shows (its skin names its own).
#include <array>
#include <string_view>

namespace qxr::editors::recoil::texts {

// The direction options' labels, by their state.
inline constexpr std::string_view kLeft = "mouse_move_to_left_text";
inline constexpr std::string_view kRight = "mouse_move_to_right_text";
inline constexpr std::string_view kUp = "mouse_move_to_up_text";
inline constexpr std::string_view kDown = "mouse_move_to_down_text";
inline constexpr std::string_view kSent = "shoot_sent_text";
inline constexpr std::string_view kSendFailed = "shoot_send_failed_text";
inline constexpr std::string_view kWriteFailed = "shoot_write_failed_text";
inline constexpr std::string_view kImportRefused = "shoot_import_refused_text";
inline constexpr std::string_view kNoFactoryScript = "shoot_no_factory_text";
inline constexpr std::string_view kNothingToExport = "shoot_nothing_to_export_text";

inline constexpr std::array kAll = {kLeft,         kRight,          kUp,           kDown,
                                    kSent,         kSendFailed,     kWriteFailed,  kImportRefused,
                                    kNoFactoryScript, kNothingToExport};

}  // namespace qxr::editors::recoil::texts

#pragma once
// The control names of the headset's sound, voice-changer and surround pages.
#include <string_view>

namespace qxr::editors::headset::names {

inline constexpr std::string_view kSoundPanel = "Voice6533ControlItem";
inline constexpr std::string_view kVoicePanel = "MagicControlItem";

inline constexpr std::string_view kPresetOption = "6533_eq_option_";  // + 1-13
inline constexpr std::string_view kCustomLayout = "custom_eq_option_layout";
inline constexpr std::string_view kBandSlider = "6533_eq_hz_slider_";  // + 0-9
inline constexpr std::string_view kPresetsBox = "hs_eq_presets";
inline constexpr std::string_view kBandsBox = "hs_eq_bands";
inline constexpr std::string_view kMicSwitch = "6533_MicIn_option";
inline constexpr std::string_view kMonitorSwitch = "6533_MicMoniter_option";
inline constexpr std::string_view kMicSlider = "6533_MicIn_slider";
inline constexpr std::string_view kMonitorSlider = "6533_MicMoniter_slider";
inline constexpr std::string_view kMicLevel = "6533_MicIn_value";
inline constexpr std::string_view kMonitorLevel = "6533_MicMoniter_value";
inline constexpr std::string_view kCustomNameEdit = "custom_eq_name_edit";
inline constexpr std::string_view kCustomNameCombo = "custom_eq_name_combo";
inline constexpr std::string_view kCustomSave = "hs_eq_btn_save";
inline constexpr std::string_view kCustomDelete = "hs_eq_btn_delete";

inline constexpr std::string_view kVoiceSwitch = "magic_enable_option";
inline constexpr std::string_view kVoiceLayout = "magic_option_layout";
inline constexpr std::string_view kVoiceOption = "magic_option_";  // + 1-4

inline constexpr std::string_view kSurroundSwitch = "virtual_surround_option";

}  // namespace qxr::editors::headset::names

#pragma once
// Names of the lighting panel's controls, as its skins name them. The groups the layout
// switches are in light_layout.h.
#include <string_view>

namespace qxr::editors::names {

inline constexpr std::string_view kModeCombo = "light_combo_modeSelect";
inline constexpr std::string_view kCustomCombo = "light_combo_custommodeSelect";
inline constexpr std::string_view kSubModeCombo = "light_combo_ZZCCmodeSelect";
inline constexpr std::string_view kAudioModeCombo = "light_combo_audiomodeSelect";
inline constexpr std::string_view kBrightnessSlider = "deng_light_slider";
inline constexpr std::string_view kSpeedSlider = "deng_speed_slider";
inline constexpr std::string_view kRedEdit = "deng_edit_R";
inline constexpr std::string_view kGreenEdit = "deng_edit_G";
inline constexpr std::string_view kBlueEdit = "deng_edit_B";
inline constexpr std::string_view kPalette = "deng_Color_Pallet";
inline constexpr std::string_view kSwatch = "deng_colordp_btn";
inline constexpr std::string_view kPresetPrefix = "color_option_";
inline constexpr std::string_view kSevenColourCheck = "deng_7color_check";
inline constexpr std::string_view kDirectionFirst = "deng_FXL_check";
inline constexpr std::string_view kDirectionSecond = "deng_FXR_check";
inline constexpr std::string_view kSameMode = "deng_same_mode";
inline constexpr std::string_view kPaintLit = "custom_bright_color_btn";
inline constexpr std::string_view kPaintOff = "custom_off_color_btn";

// The music page.
inline constexpr std::string_view kAudioSevenColourCheck = "deng_7audiocolor_check";
inline constexpr std::string_view kAudioRedEdit = "deng_audioedit_R";
inline constexpr std::string_view kAudioGreenEdit = "deng_audioedit_G";
inline constexpr std::string_view kAudioBlueEdit = "deng_audioedit_B";
inline constexpr std::string_view kAudioBackgroundCheck = "audio_BkColor_check";
inline constexpr std::string_view kAudioForegroundCheck = "audio_FgColor_check";
inline constexpr std::string_view kAudioPalette = "deng_audioColor_Pallet";
inline constexpr std::string_view kAudioSwatch = "deng_audiocolordp_btn";
inline constexpr std::string_view kAudioColourLayout = "light_audiocolor_layout";
inline constexpr std::string_view kAudioPaletteLayout = "audiocolorpallet_layout";
inline constexpr std::string_view kAudioPresetPrefix = "audiocolor_option_";

// Skin attribute of the preset buttons: their colour ("#RRGGBB").
inline constexpr std::string_view kPresetColourAttribute = "bkcolor";

}  // namespace qxr::editors::names

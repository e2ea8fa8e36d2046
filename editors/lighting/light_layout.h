#pragma once
// Which parameter groups of the lighting panel a mode offers, per device kind. The tables are
// data; layout_for() turns (kind, mode, same-mode available) into the control settings the
// panel applies, in order (a later setting of a control wins).
#include <optional>
#include <string_view>
#include <vector>

namespace qxr::editors {

// Panel kinds that have a layout table (4 and 5 are kinds without a device of their own).
inline constexpr int kPanelKeyboard = 1;
inline constexpr int kPanelMouse = 2;
inline constexpr int kPanelMousePad = 3;
inline constexpr int kPanelKindFour = 4;
inline constexpr int kPanelKindFive = 5;
inline constexpr int kPanelHeadset = 7;

// Control names the layout switches.
inline constexpr std::string_view kEffectLayout = "lighteffect_layout";
inline constexpr std::string_view kSevenColourCheck = "deng_7color_check";
inline constexpr std::string_view kColourLayout = "deng_color_layout";
inline constexpr std::string_view kPaletteLayout = "colorpallet_layout";
inline constexpr std::string_view kBrightnessLayout = "deng_light_layout";
inline constexpr std::string_view kSpeedLayout = "deng_speed_layout";
inline constexpr std::string_view kDirectionLayout = "deng_fx_layout";
inline constexpr std::string_view kCustomLayout = "lightcustom_layout";
inline constexpr std::string_view kSubModeLayout = "light_combo_ZZCCmodeSelectLayout";
inline constexpr std::string_view kColourGroupLayout = "light_color_layout";
inline constexpr std::string_view kAudioModeLayout = "light_combo_AudiomodeSelectLayout";
inline constexpr std::string_view kColourTabLayout = "light_color_tablayout";
inline constexpr std::string_view kRgbLayout = "deng_rgb_layout";
inline constexpr std::string_view kSameModeButton = "deng_same_mode";

// Pages of the colour tab layout.
inline constexpr int kColourPageLight = 0;
inline constexpr int kColourPageAudio = 1;

// Texts of the two direction boxes (language keys).
struct DirectionLabels {
  std::string_view first;   // deng_FXL_check
  std::string_view second;  // deng_FXR_check
  bool operator==(const DirectionLabels&) const = default;
};
inline constexpr DirectionLabels kLabelsRightLeft{"light_set_right_to_left_text", "light_set_left_to_right_text"};
inline constexpr DirectionLabels kLabelsClockwise{"light_set_clockwise_text", "light_set_anticlockwise_text"};
inline constexpr DirectionLabels kLabelsDownUp{"light_set_down_to_up_text", "light_set_up_to_down_text"};
inline constexpr DirectionLabels kLabelsOutsideIn{"light_set_outside_to_inside_text",
                                                  "light_set_inside_to_outside_text"};
inline constexpr DirectionLabels kLabelsUpDown{"light_set_up_to_down_text", "light_set_down_to_up_text"};

enum class Switch { Enable, Disable, Show, Hide };

struct ControlSetting {
  std::string_view control;
  Switch what;
  bool operator==(const ControlSetting&) const = default;
};

struct LayoutPlan {
  std::vector<ControlSetting> settings;  // applied in order
  std::optional<int> colour_page;        // page of light_color_tablayout
  std::optional<DirectionLabels> labels;
  std::optional<bool> same_mode_visible;  // deng_same_mode shown or hidden

  // The last enable/disable (or show/hide) of control in the plan; nothing when untouched.
  std::optional<bool> enabled(std::string_view control) const;
  std::optional<bool> visible(std::string_view control) const;
};

// The layout of mode on a panel of kind; nothing for a kind without a table, whose controls
// stay as they are.
std::optional<LayoutPlan> layout_for(int kind, int mode, bool same_mode_available);

// True when mode shows the same-mode button on kind (while same mode is available).
bool mode_offers_same_mode(int kind, int mode);

}  // namespace qxr::editors

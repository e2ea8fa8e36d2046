#include "editors/headset/headset_rows.h"

#include "editors/headset/headset_control_names.h"

namespace qxr::editors::headset {
namespace {

using enum HeadsetAction;
constexpr ui::Match X = ui::Match::Exact;
constexpr ui::Match N = ui::Match::Indexed;

constexpr HeadsetNotificationRow kRows[] = {
    {"selectchanged", names::kVoiceSwitch, X, VoiceSwitch},
    {"selectchanged", names::kVoiceOption, N, Voice},
    {"selectchanged", names::kPresetOption, N, EqPreset},
    {"valuechanged", names::kBandSlider, N, EqBand},
    {"selectchanged", names::kMicSwitch, X, MicSwitch},
    {"selectchanged", names::kMonitorSwitch, X, MonitorSwitch},
    {"valuechanged", names::kMicSlider, X, MicVolume},
    {"valuechanged", names::kMonitorSlider, X, MonitorVolume},
    {"itemselect", names::kCustomNameCombo, X, CustomEq},
    {"click", names::kCustomSave, X, SaveCustomEq},
    {"click", names::kCustomDelete, X, DeleteCustomEq},
    {"selectchanged", names::kSurroundSwitch, X, Surround},
};

}  // namespace

std::span<const HeadsetNotificationRow> headset_notification_table() { return kRows; }

const HeadsetNotificationRow* find_headset_row(std::string_view type, std::string_view sender_name) {
  return ui::find_row<HeadsetNotificationRow>(kRows, type, sender_name);
}

}  // namespace qxr::editors::headset

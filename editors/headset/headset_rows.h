#pragma once
// What each notification of the headset's sound, voice and surround pages does, as data; the
// main window routes these rows to the selected headset's page.
#include <span>
#include <string_view>

#include "ui/route_rows.h"

namespace qxr::editors::headset {

enum class HeadsetAction {
  VoiceSwitch, Voice, EqPreset, EqBand, MicSwitch, MonitorSwitch, MicVolume, MonitorVolume,
  CustomEq, SaveCustomEq, DeleteCustomEq, Surround,
};

struct HeadsetNotificationRow {
  std::string_view type;
  std::string_view name;
  ui::Match match;
  HeadsetAction action;
};

std::span<const HeadsetNotificationRow> headset_notification_table();
const HeadsetNotificationRow* find_headset_row(std::string_view type, std::string_view sender_name);

}  // namespace qxr::editors::headset

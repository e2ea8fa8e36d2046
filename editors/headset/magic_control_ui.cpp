#include "editors/headset/magic_control_ui.h"

#include <QAbstractButton>

#include "editors/headset/headset_control_names.h"
#include "ui/notify_wiring.h"

namespace n = qxr::editors::headset::names;

void CMagicControlUI::SetVoiceChangerSwitch(bool on) {
  on_ = on;
  qxr::ui::set_checked_quietly(control<QAbstractButton>(n::kVoiceSwitch), on);
  apply_enabled();
}

bool CMagicControlUI::GetVoiceChangerSwitch() {
  auto* b = control<QAbstractButton>(n::kVoiceSwitch);
  return b != nullptr && b->isChecked();
}

void CMagicControlUI::SelectVoiceOption(int voice) {
  for (int v = 1; v <= kVoiceCount; ++v) {
    qxr::ui::set_checked_quietly(control<QAbstractButton>(n::kVoiceOption, v), v == voice);
  }
  voice_ = voice >= 1 && voice <= kVoiceCount ? voice : 0;
}

void CMagicControlUI::SetFeatureState(qxr::audio::FeatureState state) {
  available_ = state == qxr::audio::FeatureState::Available;
  show_state({control(n::kVoiceSwitch)}, state);
  apply_enabled();
}

void CMagicControlUI::apply_enabled() {
  if (QWidget* voices = control(n::kVoiceLayout)) voices->setEnabled(on_ && available_);
}

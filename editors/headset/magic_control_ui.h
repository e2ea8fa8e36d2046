#pragma once
// CMagicControlUI, the headset's voice-changer panel ("MagicControlItem"): the switch and the
// four voices, shown as the headset gives them. Its children come from the headset page's skin.
#include "editors/headset/headset_panel.h"

class CMagicControlUI : public qxr::editors::headset::HeadsetPanel {
  Q_OBJECT
 public:
  static constexpr const char* kClassName = "CMagicControlUI";
  static constexpr const char* kPanelName = "MagicControlItem";
  static constexpr const char* kShortName = "MagicControl";
  static constexpr int kVoiceCount = 4;

  using HeadsetPanel::HeadsetPanel;
  QString className() const override { return QString::fromLatin1(kShortName); }

  // The switch, and the voices usable only while it is on.
  void SetVoiceChangerSwitch(bool on);
  bool GetVoiceChangerSwitch();
  // 1-4 selects that voice; anything else clears them all.
  void SelectVoiceOption(int voice);
  int selected_voice() const { return voice_; }
  void SetFeatureState(qxr::audio::FeatureState state);

 private:
  void apply_enabled();

  int voice_ = 0;
  bool on_ = false;
  bool available_ = true;
};

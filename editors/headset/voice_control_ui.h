#pragma once
// CVoice6533ControlUI, the headset's sound panel ("Voice6533ControlItem"): equaliser presets
// 1-12 and the custom equaliser (13) with its ten bands and named custom equalisers, and the
// microphone and monitoring switches and volumes. It shows what the headset gives it; the user's
// changes leave it as notifications. Its children come from the headset page's skin.
#include <string>

#include "editors/headset/headset_panel.h"

class CVoice6533ControlUI : public qxr::editors::headset::HeadsetPanel {
  Q_OBJECT
 public:
  static constexpr const char* kClassName = "CVoice6533ControlUI";
  static constexpr const char* kPanelName = "Voice6533ControlItem";
  static constexpr const char* kShortName = "Voice6533Control";
  static constexpr int kPresetCount = 13;
  static constexpr int kBandCount = 10;
  static constexpr int kItemHeight = 30;

  using HeadsetPanel::HeadsetPanel;
  QString className() const override { return QString::fromLatin1(kShortName); }

  // 1-13 selects that option; anything else clears them all.
  void SelectEqPreset(int preset);
  int selected_preset() const { return preset_; }
  void ShowCustomEq(bool on);
  void SetBandValue(int band, int value);
  int GetBandValue(int band);  // -1 without the slider
  void SetMicSwitch(bool on);
  void SetMonitorSwitch(bool on);
  void SetMicSlider(int value);
  void SetMonitorSlider(int value);
  int GetMicSlider();
  int GetMonitorSlider();
  void ShowMicLevel(const QString& text);
  void ShowMonitorLevel(const QString& text);
  void SetCustomNameText(const QString& text);
  QString GetCustomNameText();
  void AddCustomName(const QString& name);
  // -1 selects none; the name edit is emptied either way.
  void SelectCustomName(int index);
  int GetSelectedCustom();
  int GetCustomCount();
  QString GetCustomItem(int index);
  void RemoveCustom(int index);
  void ClearCustomNames();

  void SetFeatureState(qxr::audio::AudioFeature feature, qxr::audio::FeatureState state);

 private:
  void apply_custom_enabled();

  int preset_ = 0;
  bool custom_shown_ = false;
  bool equaliser_available_ = true;
};

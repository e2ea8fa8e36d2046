#pragma once
// What the mouse and the headset ask of their page beyond DevicePage. Like the page itself,
// every call is queued onto the UI thread and works on the page's controls by name; a control
// the page skin does not have is skipped.
#include <QPointer>
#include <QWidget>

#include <atomic>

#include "app/pages/ui_mailbox.h"
#include "devices/audio/headset_audio_page.h"
#include "devices/mouse/mouse_page.h"
#include "ui/controls/device_key_button.h"

namespace qxr::app {

inline constexpr char kMouseSettingSwitch[] = "mouse_setting_switch";
inline constexpr char kMouseOptionPrefix[] = "mouse_device_seting_option_";

class MousePageAdapter : public devices::MousePage {
 public:
  // page: the widget whose controls are meant (updates for a page that is gone are dropped);
  // on_screen: whether the page can be seen, for the updates that come with every light frame.
  MousePageAdapter(QWidget* page, const std::atomic<bool>* on_screen);

  void set_dpi_ranges(int stage, int slider_max, int edit_max) override;
  void show_dpi_stage_enabled(int stage, bool on) override;
  void set_dpi_check_clickable(int stage, bool clickable) override;
  void show_dpi_value(int stage, int raw, const std::string& edit_text, bool current) override;
  void show_windows_settings(const MouseSystemStages& settings) override;
  int settings_tab_count() const override { return tab_count_.load(); }
  void select_settings_tab(int page) override;
  void show_logo_lights(std::span<const devices::IndicatorColour> colours) override;
  void show_logo_button(devices::IndicatorColour colour) override;
  void redraw_key_panel() override;
  void show_tip(bool visible) override;

 private:
  template <typename F>
  void on_ui(F&& work);
  QWidget* find(const QString& name) const;

  QPointer<QWidget> page_;
  UiMailbox* mailbox_;  // owned by the page
  const std::atomic<bool>* on_screen_;
  std::atomic<int> tab_count_{1};
  // The logo lights and the logo button, found once (a skin without them has none).
  QList<QPointer<CDeviceKeyButtonUI>> logo_lights_;
  QPointer<CDeviceKeyButtonUI> logo_button_;
};

class HeadsetPageAdapter : public audio::HeadsetAudioPage {
 public:
  explicit HeadsetPageAdapter(QWidget* page) : page_(page), mailbox_(new UiMailbox(page)) {}

  void ShowMessage(std::string_view text) override;
  void SetVoiceChangerSwitch(bool on) override;
  void SelectVoiceOption(int voice) override;
  void SelectEqPreset(int preset) override;
  void ShowCustomEq(bool on) override;
  void SetBandValue(int band, int gain) override;
  void SetMicSwitch(bool on) override;
  void SetMonitorSwitch(bool on) override;
  void SetMicSlider(int percent) override;
  void SetMonitorSlider(int percent) override;
  void ShowMicLevel(const std::string& db_text) override;
  void ShowMonitorLevel(const std::string& db_text) override;
  void SetCustomNameText(const std::string& text) override;
  void AddCustomName(const std::string& name) override;
  void SelectCustomName(int index) override;
  void RemoveCustom(int index) override;
  void ClearCustomNames() override;
  void SetSurroundSwitch(bool on) override;
  void SetFeatureState(audio::AudioFeature feature, audio::FeatureState state) override;

 private:
  template <typename F>
  void on_ui(F&& work);
  // The work runs on the UI thread with the sound or voice-changer panel, when the page has it.
  template <typename F>
  void on_sound(F&& work);
  template <typename F>
  void on_voice(F&& work);
  QWidget* find(const QString& name) const;

  QPointer<QWidget> page_;
  UiMailbox* mailbox_;  // owned by the page
};

}  // namespace qxr::app

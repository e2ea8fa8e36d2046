#include "app/pages/kind_pages.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QStackedWidget>
#include <QStyle>

#include "app/window/user_prompts.h"
#include "core/debug_line.h"
#include "devices/mouse/mouse_windows_settings.h"
#include "editors/headset/headset_control_names.h"
#include "editors/headset/magic_control_ui.h"
#include "editors/headset/voice_control_ui.h"
#include "ui/controls/device_key_button.h"
#include "ui/indexed_name.h"
#include "ui/notify_wiring.h"

namespace qxr::app {
namespace {

QString surround_switch() {
  const std::string_view name = editors::headset::names::kSurroundSwitch;
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

using ui::set_checked_quietly;

void set_slider_quietly(QSlider* s, int value) { ui::set_value_quietly(s, value); }

}  // namespace

// ---- mouse ----

MousePageAdapter::MousePageAdapter(QWidget* page, const std::atomic<bool>* on_screen)
    : page_(page), mailbox_(new UiMailbox(page)), on_screen_(on_screen) {
  if (auto* tabs = qobject_cast<QStackedWidget*>(find(QString::fromLatin1(kMouseSettingSwitch)))) {
    tab_count_.store(std::max(1, tabs->count()));
  }
  for (int i = 0;; ++i) {
    auto* b = qobject_cast<CDeviceKeyButtonUI*>(find(QStringLiteral("light_0_%1").arg(i)));
    if (b == nullptr) break;
    logo_lights_.push_back(b);
  }
  logo_button_ = qobject_cast<CDeviceKeyButtonUI*>(find(QStringLiteral("mouse_logo_button")));
}

template <typename F>
void MousePageAdapter::on_ui(F&& work) {
  if (page_ == nullptr) return;
  mailbox_->post(std::forward<F>(work));
}

QWidget* MousePageAdapter::find(const QString& name) const {
  return page_ == nullptr ? nullptr : page_->findChild<QWidget*>(name);
}

void MousePageAdapter::set_dpi_ranges(int stage, int slider_max, int edit_max) {
  on_ui([this, stage, slider_max, edit_max] {
    if (auto* s = qobject_cast<QSlider*>(find(ui::indexed_name(QStringLiteral("DPI_slider_"), stage)))) {
      s->setRange(0, slider_max);
    }
    if (auto* e = qobject_cast<QLineEdit*>(find(ui::indexed_name(QStringLiteral("DPI_edit_"), stage)))) {
      e->setMaxLength(static_cast<int>(QString::number(edit_max).size()));
      e->setToolTip(QStringLiteral("0 - %1").arg(edit_max));
    }
  });
}

void MousePageAdapter::show_dpi_stage_enabled(int stage, bool on) {
  on_ui([this, stage, on] {
    if (QWidget* row = find(ui::indexed_name(QStringLiteral("DPI_layout_"), stage))) {
      // The check stays usable: it is how a stage is switched back on.
      for (QWidget* w : row->findChildren<QWidget*>()) {
        if (!w->objectName().startsWith(QStringLiteral("DPI_enable_check_"))) w->setEnabled(on);
      }
    }
    set_checked_quietly(qobject_cast<QAbstractButton*>(find(ui::indexed_name(QStringLiteral("DPI_enable_check_"), stage))), on);
  });
}

void MousePageAdapter::set_dpi_check_clickable(int stage, bool clickable) {
  on_ui([this, stage, clickable] {
    if (QWidget* check = find(ui::indexed_name(QStringLiteral("DPI_enable_check_"), stage))) check->setEnabled(clickable);
  });
}

void MousePageAdapter::show_dpi_value(int stage, int raw, const std::string& edit_text, bool current) {
  on_ui([this, stage, raw, text = QString::fromStdString(edit_text), current] {
    set_slider_quietly(qobject_cast<QSlider*>(find(ui::indexed_name(QStringLiteral("DPI_slider_"), stage))), raw);
    if (auto* e = qobject_cast<QLineEdit*>(find(ui::indexed_name(QStringLiteral("DPI_edit_"), stage)))) {
      e->setText(text);
      e->setProperty("current", current);
      e->style()->unpolish(e);
      e->style()->polish(e);
    }
  });
}

void MousePageAdapter::show_windows_settings(const MouseSystemStages& settings) {
  on_ui([this, settings] {
    using devices::MouseWindowsSetting;
    set_slider_quietly(qobject_cast<QSlider*>(find(QStringLiteral("pointer_speed_slider"))),
                       devices::windows_setting(settings, MouseWindowsSetting::PointerSpeed));
    set_checked_quietly(qobject_cast<QAbstractButton*>(find(QStringLiteral("pointer_precision_check"))),
                        devices::windows_setting(settings, MouseWindowsSetting::PointerPrecision) != 0);
    set_slider_quietly(qobject_cast<QSlider*>(find(QStringLiteral("double_click_slider"))),
                       devices::windows_setting(settings, MouseWindowsSetting::DoubleClickTime));
    set_checked_quietly(qobject_cast<QAbstractButton*>(find(QStringLiteral("scrolls_page_check"))),
                        devices::windows_setting(settings, MouseWindowsSetting::ScrollPage) != 0);
    set_slider_quietly(qobject_cast<QSlider*>(find(QStringLiteral("scroll_speed_slider"))),
                       devices::windows_setting(settings, MouseWindowsSetting::WheelLines));
  });
}

void MousePageAdapter::select_settings_tab(int page) {
  on_ui([this, page] {
    auto* tabs = qobject_cast<QStackedWidget*>(find(QString::fromLatin1(kMouseSettingSwitch)));
    const int shown = tabs != nullptr && page >= 0 && page < tabs->count() ? page : 0;
    if (tabs != nullptr) tabs->setCurrentIndex(shown);
    for (int i = 0; i < tab_count_.load(); ++i) {
      set_checked_quietly(qobject_cast<QAbstractButton*>(find(ui::indexed_name(QString::fromLatin1(kMouseOptionPrefix), i))),
                          i == shown);
    }
  });
}

// Both come with every light frame: nothing is queued while nobody can see them.
void MousePageAdapter::show_logo_lights(std::span<const devices::IndicatorColour> colours) {
  if (logo_lights_.isEmpty() || !on_screen_->load(std::memory_order_relaxed)) return;
  std::vector<devices::IndicatorColour> copy(colours.begin(), colours.end());
  on_ui([this, copy] {
    for (size_t i = 0; i < copy.size() && i < static_cast<size_t>(logo_lights_.size()); ++i) {
      if (CDeviceKeyButtonUI* b = logo_lights_[static_cast<qsizetype>(i)]) {
        b->set_light_colour(QColor(copy[i].red, copy[i].green, copy[i].blue, copy[i].alpha));
      }
    }
  });
}

void MousePageAdapter::show_logo_button(devices::IndicatorColour colour) {
  if (logo_button_ == nullptr || !on_screen_->load(std::memory_order_relaxed)) return;
  on_ui([this, colour] {
    if (logo_button_ != nullptr) logo_button_->set_light_colour(QColor(colour.red, colour.green, colour.blue, colour.alpha));
  });
}

void MousePageAdapter::redraw_key_panel() {
  // Nothing beyond what the frame changed: the panel's lights repaint themselves when their
  // colours change. Repainting the whole 960 x 300 picture with every frame repainted an
  // unchanged picture 20 times a second.
}

void MousePageAdapter::show_tip(bool visible) {
  on_ui([this, visible] {
    if (QWidget* tip = find(QStringLiteral("device_tishi_info"))) tip->setVisible(visible);
  });
}

// ---- headset ----

template <typename F>
void HeadsetPageAdapter::on_ui(F&& work) {
  if (page_ == nullptr) return;
  mailbox_->post(std::forward<F>(work));
}

template <typename F>
void HeadsetPageAdapter::on_sound(F&& work) {
  on_ui([this, work = std::forward<F>(work)]() mutable {
    if (auto* panel = page_->findChild<CVoice6533ControlUI*>(QString::fromLatin1(CVoice6533ControlUI::kPanelName))) {
      work(*panel);
    }
  });
}

template <typename F>
void HeadsetPageAdapter::on_voice(F&& work) {
  on_ui([this, work = std::forward<F>(work)]() mutable {
    if (auto* panel = page_->findChild<CMagicControlUI*>(QString::fromLatin1(CMagicControlUI::kPanelName))) work(*panel);
  });
}

void HeadsetPageAdapter::ShowMessage(std::string_view text) {
  debug_line(text);
  on_ui([this, message = QString::fromUtf8(text.data(), static_cast<int>(text.size()))] {
    prompts().inform(page_, message);
  });
}

void HeadsetPageAdapter::SetVoiceChangerSwitch(bool on) {
  on_voice([on](CMagicControlUI& p) { p.SetVoiceChangerSwitch(on); });
}
void HeadsetPageAdapter::SelectVoiceOption(int voice) {
  on_voice([voice](CMagicControlUI& p) { p.SelectVoiceOption(voice); });
}
void HeadsetPageAdapter::SelectEqPreset(int preset) {
  on_sound([preset](CVoice6533ControlUI& p) { p.SelectEqPreset(preset); });
}
void HeadsetPageAdapter::ShowCustomEq(bool on) {
  on_sound([on](CVoice6533ControlUI& p) { p.ShowCustomEq(on); });
}
void HeadsetPageAdapter::SetBandValue(int band, int gain) {
  on_sound([band, gain](CVoice6533ControlUI& p) { p.SetBandValue(band, gain); });
}
void HeadsetPageAdapter::SetMicSwitch(bool on) {
  on_sound([on](CVoice6533ControlUI& p) { p.SetMicSwitch(on); });
}
void HeadsetPageAdapter::SetMonitorSwitch(bool on) {
  on_sound([on](CVoice6533ControlUI& p) { p.SetMonitorSwitch(on); });
}
void HeadsetPageAdapter::SetMicSlider(int percent) {
  on_sound([percent](CVoice6533ControlUI& p) { p.SetMicSlider(percent); });
}
void HeadsetPageAdapter::SetMonitorSlider(int percent) {
  on_sound([percent](CVoice6533ControlUI& p) { p.SetMonitorSlider(percent); });
}
void HeadsetPageAdapter::ShowMicLevel(const std::string& db_text) {
  on_sound([t = QString::fromStdString(db_text)](CVoice6533ControlUI& p) { p.ShowMicLevel(t); });
}
void HeadsetPageAdapter::ShowMonitorLevel(const std::string& db_text) {
  on_sound([t = QString::fromStdString(db_text)](CVoice6533ControlUI& p) { p.ShowMonitorLevel(t); });
}
void HeadsetPageAdapter::SetCustomNameText(const std::string& text) {
  on_sound([t = QString::fromStdString(text)](CVoice6533ControlUI& p) { p.SetCustomNameText(t); });
}
void HeadsetPageAdapter::AddCustomName(const std::string& name) {
  on_sound([t = QString::fromStdString(name)](CVoice6533ControlUI& p) { p.AddCustomName(t); });
}
void HeadsetPageAdapter::SelectCustomName(int index) {
  on_sound([index](CVoice6533ControlUI& p) { p.SelectCustomName(index); });
}
void HeadsetPageAdapter::RemoveCustom(int index) {
  on_sound([index](CVoice6533ControlUI& p) { p.RemoveCustom(index); });
}
void HeadsetPageAdapter::ClearCustomNames() {
  on_sound([](CVoice6533ControlUI& p) { p.ClearCustomNames(); });
}

void HeadsetPageAdapter::SetSurroundSwitch(bool on) {
  on_ui([this, on] { set_checked_quietly(qobject_cast<QAbstractButton*>(find(surround_switch())), on); });
}

void HeadsetPageAdapter::SetFeatureState(audio::AudioFeature feature, audio::FeatureState state) {
  switch (feature) {
    case audio::AudioFeature::VoiceChanger:
      on_voice([state](CMagicControlUI& p) { p.SetFeatureState(state); });
      break;
    case audio::AudioFeature::Surround:
      on_ui([this, state] { editors::headset::HeadsetPanel::show_state({find(surround_switch())}, state); });
      break;
    default:
      on_sound([feature, state](CVoice6533ControlUI& p) { p.SetFeatureState(feature, state); });
      break;
  }
}

QWidget* HeadsetPageAdapter::find(const QString& name) const {
  return page_ == nullptr ? nullptr : page_->findChild<QWidget*>(name);
}

}  // namespace qxr::app

#include "editors/headset/voice_control_ui.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "editors/headset/headset_control_names.h"
#include "ui/notify_wiring.h"

namespace n = qxr::editors::headset::names;
using qxr::audio::AudioFeature;
using qxr::audio::FeatureState;

void CVoice6533ControlUI::SelectEqPreset(int preset) {
  for (int p = 1; p <= kPresetCount; ++p) {
    qxr::ui::set_checked_quietly(control<QAbstractButton>(n::kPresetOption, p), p == preset);
  }
  preset_ = preset >= 1 && preset <= kPresetCount ? preset : 0;
}

void CVoice6533ControlUI::ShowCustomEq(bool on) {
  custom_shown_ = on;
  apply_custom_enabled();
}

void CVoice6533ControlUI::apply_custom_enabled() {
  if (QWidget* custom = control(n::kCustomLayout)) custom->setEnabled(custom_shown_ && equaliser_available_);
}

void CVoice6533ControlUI::SetBandValue(int band, int value) {
  qxr::ui::set_value_quietly(control<QSlider>(n::kBandSlider, band), value);
}

int CVoice6533ControlUI::GetBandValue(int band) {
  auto* s = control<QSlider>(n::kBandSlider, band);
  return s == nullptr ? -1 : s->value();
}

void CVoice6533ControlUI::SetMicSwitch(bool on) { qxr::ui::set_checked_quietly(control<QAbstractButton>(n::kMicSwitch), on); }

void CVoice6533ControlUI::SetMonitorSwitch(bool on) {
  qxr::ui::set_checked_quietly(control<QAbstractButton>(n::kMonitorSwitch), on);
}

void CVoice6533ControlUI::SetMicSlider(int value) { qxr::ui::set_value_quietly(control<QSlider>(n::kMicSlider), value); }

void CVoice6533ControlUI::SetMonitorSlider(int value) {
  qxr::ui::set_value_quietly(control<QSlider>(n::kMonitorSlider), value);
}

int CVoice6533ControlUI::GetMicSlider() {
  auto* s = control<QSlider>(n::kMicSlider);
  return s == nullptr ? -1 : s->value();
}

int CVoice6533ControlUI::GetMonitorSlider() {
  auto* s = control<QSlider>(n::kMonitorSlider);
  return s == nullptr ? -1 : s->value();
}

void CVoice6533ControlUI::ShowMicLevel(const QString& text) {
  if (auto* l = control<QLabel>(n::kMicLevel)) l->setText(text + QStringLiteral(" dB"));
}

void CVoice6533ControlUI::ShowMonitorLevel(const QString& text) {
  if (auto* l = control<QLabel>(n::kMonitorLevel)) l->setText(text + QStringLiteral(" dB"));
}

void CVoice6533ControlUI::SetCustomNameText(const QString& text) {
  if (auto* e = control<QLineEdit>(n::kCustomNameEdit)) e->setText(text);
}

QString CVoice6533ControlUI::GetCustomNameText() {
  auto* e = control<QLineEdit>(n::kCustomNameEdit);
  return e == nullptr ? QString() : e->text();
}

void CVoice6533ControlUI::AddCustomName(const QString& name) {
  auto* c = control<QComboBox>(n::kCustomNameCombo);
  if (c == nullptr) return;
  qxr::ui::NotifySilencer quiet(c);
  c->addItem(name, name);
  c->setItemData(c->count() - 1, QSize(0, kItemHeight), Qt::SizeHintRole);
}

void CVoice6533ControlUI::SelectCustomName(int index) {
  if (auto* c = control<QComboBox>(n::kCustomNameCombo)) qxr::ui::select_item(c, index, false);
  SetCustomNameText({});
}

int CVoice6533ControlUI::GetSelectedCustom() {
  auto* c = control<QComboBox>(n::kCustomNameCombo);
  return c == nullptr ? -1 : c->currentIndex();
}

int CVoice6533ControlUI::GetCustomCount() {
  auto* c = control<QComboBox>(n::kCustomNameCombo);
  return c == nullptr ? 0 : c->count();
}

QString CVoice6533ControlUI::GetCustomItem(int index) {
  auto* c = control<QComboBox>(n::kCustomNameCombo);
  return c == nullptr ? QString() : c->itemText(index);
}

void CVoice6533ControlUI::RemoveCustom(int index) {
  auto* c = control<QComboBox>(n::kCustomNameCombo);
  if (c == nullptr || index < 0 || index >= c->count()) return;
  qxr::ui::NotifySilencer quiet(c);
  c->removeItem(index);
}

void CVoice6533ControlUI::ClearCustomNames() {
  auto* c = control<QComboBox>(n::kCustomNameCombo);
  if (c == nullptr) return;
  qxr::ui::NotifySilencer quiet(c);
  c->clear();
}

void CVoice6533ControlUI::SetFeatureState(AudioFeature feature, FeatureState state) {
  switch (feature) {
    case AudioFeature::Microphone:
      show_state({control(n::kMicSwitch), control(n::kMicSlider)}, state);
      break;
    case AudioFeature::Monitor:
      show_state({control(n::kMonitorSwitch), control(n::kMonitorSlider)}, state);
      break;
    case AudioFeature::Equaliser:
      equaliser_available_ = state == FeatureState::Available;
      show_state({control(n::kPresetsBox), control(n::kBandsBox)}, state);
      apply_custom_enabled();
      break;
    default:
      break;
  }
}

#include "editors/headset/headset_panel.h"

#include "ui/indexed_name.h"
#include "ui/language.h"

namespace qxr::editors::headset {

HeadsetPanel::HeadsetPanel(QWidget* parent) : QWidget(parent), cache_(this) {}

bool HeadsetPanel::event(QEvent* event) {
  handle_attribute_event(this, event);
  return QWidget::event(event);
}

QWidget* HeadsetPanel::control(std::string_view name) {
  return cache_.find(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

QWidget* HeadsetPanel::control(std::string_view prefix, int index) {
  return cache_.find(ui::indexed_name(QString::fromLatin1(prefix.data(), static_cast<qsizetype>(prefix.size())), index));
}

std::string_view HeadsetPanel::reason_key(audio::FeatureState state) {
  switch (state) {
    case audio::FeatureState::Available:
      return {};
    case audio::FeatureState::NoDevice:
      return "hs_feature_no_device_text";
    case audio::FeatureState::Unsupported:
      return "hs_feature_unsupported_text";
  }
  return {};
}

void HeadsetPanel::show_state(std::initializer_list<QWidget*> controls, audio::FeatureState state) {
  const std::string_view key = reason_key(state);
  const QString tip = key.empty() ? QString()
                                  : ui::Language::instance().text(
                                        QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())));
  for (QWidget* w : controls) {
    if (w == nullptr) continue;
    w->setEnabled(state == audio::FeatureState::Available);
    w->setToolTip(tip);
  }
}

}  // namespace qxr::editors::headset

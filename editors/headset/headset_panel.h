#pragma once
// What the headset's two panels share: controls found by name below the panel, and controls
// that are shown unusable, with the reason as their tip, when the sound card lacks the setting.
#include <QString>
#include <QWidget>

#include <initializer_list>
#include <string_view>

#include "devices/audio/headset_audio_page.h"
#include "ui/control_cache.h"
#include "ui/skin_control.h"

namespace qxr::editors::headset {

class HeadsetPanel : public QWidget, public ui::SkinControl {
  Q_OBJECT
 public:
  explicit HeadsetPanel(QWidget* parent = nullptr);
  // The panels take no attributes of their own.
  bool set_attribute(const QString& name, const QVariant& value) override {
    (void)name, (void)value;
    return false;
  }

  QWidget* control(std::string_view name);
  QWidget* control(std::string_view prefix, int index);
  template <typename T>
  T* control(std::string_view name) {
    return qobject_cast<T*>(control(name));
  }
  template <typename T>
  T* control(std::string_view prefix, int index) {
    return qobject_cast<T*>(control(prefix, index));
  }

  // The language key that explains a state (empty for Available).
  static std::string_view reason_key(audio::FeatureState state);
  // Enables the controls for Available; otherwise disables them and puts the reason as tip.
  static void show_state(std::initializer_list<QWidget*> controls, audio::FeatureState state);

 protected:
  bool event(QEvent* event) override;

 private:
  ui::ControlCache cache_;
};

}  // namespace qxr::editors::headset

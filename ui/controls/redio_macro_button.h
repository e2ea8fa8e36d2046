#pragma once
// The macro recording button: while recording runs, its image pulses.
#include <QPushButton>

#include "ui/control_timer.h"
#include "ui/skin_control.h"

class CRedioMacroButtonUI : public QPushButton, public qxr::ui::SkinControl, public qxr::ui::ControlTimerTarget {
  Q_OBJECT
 public:
  static constexpr int kBlinkTimerId = 100;
  static constexpr int kBlinkPeriodMs = 50;
  static constexpr int kFadeStep = 20;
  static constexpr int kFadeMin = 80;
  static constexpr int kFadeMax = 255;

  struct Fade {
    int value = kFadeMax;
    bool falling = true;
    bool operator==(const Fade&) const = default;
  };
  // One tick: kFadeStep towards the current end, stopping at the end and turning there.
  static Fade next_fade(Fade fade);

  explicit CRedioMacroButtonUI(QWidget* parent = nullptr);

  QString className() const override { return QStringLiteral("RedioMacroButton"); }
  // "redioimage".
  bool set_attribute(const QString& name, const QVariant& value) override;

  void set_blink_image(const QString& image) { blink_image_ = image; }
  const QString& blink_image() const { return blink_image_; }
  // Starts or stops the pulsing; stopping shows the button as it is without the image.
  void set_running(bool running);
  bool running() const { return running_; }
  int fade() const { return fade_.value; }
  // "res='…' fade='n'" while pulsing, empty otherwise.
  const QString& current_image() const { return current_; }

  void on_control_timer(int id) override;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QString blink_image_;
  QString current_;
  Fade fade_;
  bool running_ = false;
};

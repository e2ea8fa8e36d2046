#pragma once
// A progress ring: the background colour all round, the foreground colour for the part done,
// clockwise from twelve o'clock.
#include <QColor>
#include <QProgressBar>

#include "ui/skin_control.h"

class CCircleProgressUI : public QProgressBar, public qxr::ui::SkinControl {
  Q_OBJECT
 public:
  static constexpr int kDefaultRingWidth = 10;
  static constexpr int kStartAngleDeg = 90;  // twelve o'clock

  explicit CCircleProgressUI(QWidget* parent = nullptr);

  QString className() const override { return QStringLiteral("CircleProgress"); }
  // "bkcolor", "forecolor", "ringwidth".
  bool set_attribute(const QString& name, const QVariant& value) override;

  void set_background_colour(const QColor& c);
  void set_foreground_colour(const QColor& c);
  QColor background_colour() const { return background_; }
  QColor foreground_colour() const { return foreground_; }

  // Degrees of the foreground arc for a value between minimum and maximum: 0 at the minimum,
  // 360 at the maximum, clamped, and 0 for an empty range.
  static double sweep_degrees(int value, int minimum, int maximum);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor background_;
  QColor foreground_;
  int ring_width_ = kDefaultRingWidth;
};

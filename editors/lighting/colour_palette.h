#pragma once
// A colour palette: hue across and saturation down a field, with a brightness strip beside it.
// A choice is reported once, when the mouse is released (colorChanged, which the toolkit turns
// into "colorchanged"); while dragging, colourPreview follows the pointer so a swatch can show
// the colour without a commit per pixel. setColor never signals.
#include <QColor>
#include <QImage>
#include <QWidget>

#include "ui/skin_control.h"

class CColorPaletteUI : public QWidget, public qxr::ui::SkinControl {
  Q_OBJECT
 public:
  static constexpr int kStripWidth = 14;
  static constexpr int kGap = 8;
  static constexpr int kMarkerRadius = 6;
  static constexpr qreal kCornerRadius = 4.0;

  explicit CColorPaletteUI(QWidget* parent = nullptr);

  QString className() const override { return QStringLiteral("ColorPalette"); }
  bool set_attribute(const QString& name, const QVariant& value) override;

  QColor color() const { return colour_; }
  void setColor(const QColor& colour);

  QSize sizeHint() const override { return {240, 120}; }
  QSize minimumSizeHint() const override { return {120, 60}; }

  // The colour at a point of the widget, for the field or the strip; invalid elsewhere.
  QColor colour_at(const QPoint& point) const;

 signals:
  void colorChanged(const QColor& colour);
  void colourPreview(const QColor& colour);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  enum class Drag { None, Field, Strip };
  QRect field_rect() const;
  QRect strip_rect() const;
  void pick(const QPoint& point);
  void rebuild_field();

  QColor colour_{Qt::red};
  // Hue and saturation survive a black or grey colour, where the colour alone forgets them.
  qreal hue_ = 0.0;
  qreal saturation_ = 1.0;
  qreal value_ = 1.0;
  QImage field_;
  Drag drag_ = Drag::None;
};

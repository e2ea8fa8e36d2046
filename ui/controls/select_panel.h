#pragma once
// The area around a device picture in which the user drags a rubber band to select keys for
// the lighting editor.
#include <QPoint>
#include <QRect>
#include <QWidget>

#include "ui/skin_control.h"

class CSelectPanelUI : public QWidget, public qxr::ui::SkinControl {
  Q_OBJECT
 public:
  explicit CSelectPanelUI(QWidget* parent = nullptr);

  QString className() const override { return QStringLiteral("SelectPanel"); }
  bool set_attribute(const QString&, const QVariant&) override { return false; }

  bool tracking() const { return tracking_; }
  bool dragging() const { return dragging_; }
  // Normalised: left/top are the smaller coordinates.
  QRect selection_rect() const { return selection_; }

  // Sets each key button's selected flag from whether it intersects rect (panel coordinates).
  // Returns the number selected.
  int select_keys(const QRect& rect);

 protected:
  bool event(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QWidget* band_;
  QPoint anchor_;
  QPoint current_;
  QRect selection_;
  bool tracking_ = false;
  bool dragging_ = false;
};

// The key buttons of a panel (its "DeviceKeyButton" descendants), in creation order.
QList<class CDeviceKeyButtonUI*> key_buttons(const QWidget* panel);

#pragma once
// Hosts a widget that lives outside the skin (a chart, a browser view, another program's
// window embedded with QWidget::createWindowContainer): keeps it on this control's rectangle
// and as visible as this control.
#include <QPointer>
#include <QWidget>

#include "ui/skin_control.h"

class CWndUI : public QWidget, public qxr::ui::SkinControl {
  Q_OBJECT
 public:
  explicit CWndUI(QWidget* parent = nullptr);

  QString className() const override { return QStringLiteral("Wnd"); }
  bool set_attribute(const QString&, const QVariant&) override { return false; }

  // A widget without a parent that is not shown yet becomes this control's child; a window on
  // screen stays one and is placed over the control in screen coordinates. nullptr releases.
  void attach(QWidget* hosted);
  QWidget* hosted() const { return hosted_; }

 protected:
  bool event(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void sync();
  QPointer<QWidget> hosted_;
};

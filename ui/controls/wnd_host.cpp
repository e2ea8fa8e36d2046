#include "ui/controls/wnd_host.h"

CWndUI::CWndUI(QWidget* parent) : QWidget(parent) {}

void CWndUI::attach(QWidget* hosted) {
  hosted_ = hosted;
  // A widget that is not yet anywhere becomes our child; a window already on screen stays one.
  if (hosted_ != nullptr && hosted_->parentWidget() == nullptr && !hosted_->isVisible()) {
    hosted_->setParent(this);
  }
  sync();
}

bool CWndUI::event(QEvent* event) {
  handle_attribute_event(this, event);
  return QWidget::event(event);
}

void CWndUI::sync() {
  if (hosted_ == nullptr) return;
  QRect target = rect();
  if (hosted_->isWindow()) {
    target.moveTopLeft(mapToGlobal(QPoint(0, 0)));
  } else if (hosted_->parentWidget() != this) {
    target.moveTopLeft(mapTo(window(), QPoint(0, 0)));
    if (hosted_->parentWidget() != window()) {
      target.moveTopLeft(hosted_->parentWidget()->mapFrom(window(), target.topLeft()));
    }
  }
  hosted_->setGeometry(target);
  hosted_->setVisible(isVisible());
}

void CWndUI::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  sync();
}

void CWndUI::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  sync();
}

void CWndUI::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  sync();
}

void CWndUI::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  sync();
}

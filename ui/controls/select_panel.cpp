#include "ui/controls/select_panel.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "ui/controls/device_key_button.h"
#include "ui/notification.h"
#include "ui/theme.h"

using namespace qxr::ui;

namespace {

// Drawn above the keys, never in the way of the mouse.
class SelectionBand : public QWidget {
 public:
  explicit SelectionBand(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setObjectName(QStringLiteral("qxr_selection_band"));
    hide();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QColor fill = theme::accent();
    fill.setAlpha(theme::kBandFillAlpha);
    p.fillRect(rect(), fill);
    p.setPen(QPen(theme::accent(), theme::kBandPen));
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
  }
};

}  // namespace

QList<CDeviceKeyButtonUI*> key_buttons(const QWidget* panel) {
  QList<CDeviceKeyButtonUI*> result;
  const QList<QWidget*> found = children_of_class(panel, QStringLiteral("DeviceKeyButton"));
  for (QWidget* w : found) {
    if (auto* key = dynamic_cast<CDeviceKeyButtonUI*>(w)) result.push_back(key);
  }
  return result;
}

CSelectPanelUI::CSelectPanelUI(QWidget* parent) : QWidget(parent), band_(new SelectionBand(this)) {}

bool CSelectPanelUI::event(QEvent* event) {
  handle_attribute_event(this, event);
  return QWidget::event(event);
}

int CSelectPanelUI::select_keys(const QRect& rect) {
  int selected = 0;
  for (CDeviceKeyButtonUI* key : key_buttons(this)) {
    const QRect key_rect(key->mapTo(this, QPoint(0, 0)), key->size());
    const bool hit = !key->isHidden() && key_rect.intersects(rect);
    key->set_selected(hit);
    selected += hit ? 1 : 0;
  }
  return selected;
}

void CSelectPanelUI::mousePressEvent(QMouseEvent* event) {
  if (!isEnabled() || event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  anchor_ = event->position().toPoint();
  current_ = anchor_;
  tracking_ = true;
  dragging_ = false;
}

void CSelectPanelUI::mouseMoveEvent(QMouseEvent* event) {
  if (!tracking_) {
    QWidget::mouseMoveEvent(event);
    return;
  }
  dragging_ = true;
  current_ = event->position().toPoint();
  // QRect::normalized() would move an inverted rectangle's edges by a pixel.
  selection_ = QRect(QPoint(std::min(anchor_.x(), current_.x()), std::min(anchor_.y(), current_.y())),
                     QPoint(std::max(anchor_.x(), current_.x()), std::max(anchor_.y(), current_.y())));
  band_->setGeometry(selection_);
  band_->raise();
  band_->show();
}

void CSelectPanelUI::mouseReleaseEvent(QMouseEvent* event) {
  if (!tracking_ || event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  tracking_ = false;
  band_->hide();
  if (!dragging_) return;
  dragging_ = false;
  const int selected = select_keys(selection_);
  send_notify(this, notify_type::kSelectEnd, selected);
}

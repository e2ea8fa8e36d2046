#include "ui/controls/hand_img_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

#include "ui/image_description.h"
#include "ui/interface_scale.h"
#include "ui/notification.h"
#include "ui/theme.h"

using namespace qxr::ui;

namespace {

void draw_description(QPainter& p, const QRect& rect, const QString& text) {
  if (text.isEmpty()) return;
  if (auto image = parse_image_description(text)) draw_image(p, rect, *image);
}

// Without skin images the mark is drawn: a filled circle with a cross.
void draw_default_mark(QPainter& p, const QRect& r, bool hot) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(hot ? theme::accent_hover() : theme::accent());
  p.drawEllipse(r);
  p.setPen(QPen(theme::text(), 1.5));
  const QRectF c = QRectF(r).adjusted(r.width() * 0.32, r.height() * 0.32, -r.width() * 0.32, -r.height() * 0.32);
  p.drawLine(c.topLeft(), c.bottomRight());
  p.drawLine(c.topRight(), c.bottomLeft());
  p.restore();
}

}  // namespace

CHandImgButtonUI::CHandImgButtonUI(QWidget* parent) : QPushButton(parent) { setMouseTracking(true); }

bool CHandImgButtonUI::set_attribute(const QString& name, const QVariant& value) {
  if (name == QLatin1String("handimage")) {
    set_hand_image(value.toString());
  } else if (name == QLatin1String("deletenormalimage")) {
    delete_normal_image_ = value.toString();
  } else if (name == QLatin1String("deletehotimage")) {
    delete_hot_image_ = value.toString();
  } else {
    return false;
  }
  update();
  return true;
}

void CHandImgButtonUI::set_hand_image(const QString& image) {
  hand_image_ = image;
  update();
}

void CHandImgButtonUI::set_delete_hidden(bool hidden) {
  delete_hidden_ = hidden;
  update();
}

QRect CHandImgButtonUI::delete_mark_rect(QSize button, int dpi) {
  return {button.width() - scale_px(kMarkRight, dpi), button.height() - scale_px(kMarkBottom, dpi),
          scale_px(kMarkSize, dpi), scale_px(kMarkSize, dpi)};
}

bool CHandImgButtonUI::in_mark(const QPoint& pos) const {
  return delete_mark_rect(size(), interface_dpi()).contains(pos);
}

bool CHandImgButtonUI::hitButton(const QPoint& pos) const {
  if (mark_active() && in_mark(pos)) return false;
  return QPushButton::hitButton(pos);
}

bool CHandImgButtonUI::event(QEvent* event) {
  handle_attribute_event(this, event);
  return QPushButton::event(event);
}

void CHandImgButtonUI::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
  draw_description(p, rect(), hand_image_);
  style()->drawControl(QStyle::CE_PushButtonLabel, &option, &p, this);
  if (!hovered_ || !mark_active()) return;
  const QRect mark = delete_mark_rect(size(), interface_dpi());
  const QString& image = mark_hot_ && !delete_hot_image_.isEmpty() ? delete_hot_image_ : delete_normal_image_;
  if (image.isEmpty()) {
    draw_default_mark(p, mark, mark_hot_);
  } else {
    draw_description(p, mark, image);
  }
}

void CHandImgButtonUI::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  send_notify(this, notify_type::kMouseEnter);
  QPushButton::enterEvent(event);
}

void CHandImgButtonUI::leaveEvent(QEvent* event) {
  hovered_ = false;
  mark_hot_ = false;
  update();
  send_notify(this, notify_type::kMouseLeave);
  QPushButton::leaveEvent(event);
}

void CHandImgButtonUI::mouseMoveEvent(QMouseEvent* event) {
  const bool hot = mark_active() && in_mark(event->position().toPoint());
  if (hot != mark_hot_) {
    mark_hot_ = hot;
    update();
  }
  QPushButton::mouseMoveEvent(event);
}

void CHandImgButtonUI::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && mark_active() && in_mark(event->position().toPoint())) {
    mark_pressed_ = true;
    event->accept();
    return;
  }
  QPushButton::mousePressEvent(event);
}

void CHandImgButtonUI::mouseReleaseEvent(QMouseEvent* event) {
  const bool was_pressed = mark_pressed_ || isDown();
  mark_pressed_ = false;
  const bool delete_hit =
      event->button() == Qt::LeftButton && mark_active() && in_mark(event->position().toPoint()) && was_pressed;
  QPushButton::mouseReleaseEvent(event);  // releases the button; no click inside the mark
  if (delete_hit) send_notify(this, notify_type::kHandDelete);
}

#include "app/pages/fast_key_button.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMoveEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QtMath>

#include "app/pages/key_canvas.h"
#include "ui/theme.h"

namespace qxr::app {
namespace {

// top drawn over an opaque bottom.
QColor over(const QColor& top, const QColor& bottom) {
  const int a = top.alpha();
  auto mix = [a](int t, int b) { return (t * a + b * (255 - a) + 127) / 255; };
  return QColor(mix(top.red(), bottom.red()), mix(top.green(), bottom.green()), mix(top.blue(), bottom.blue()));
}

}  // namespace

FastKeyButton::FastKeyButton(QWidget* parent) : CDeviceKeyButtonUI(parent) {
  setAttribute(Qt::WA_Hover);
  parent_canvas_ = qobject_cast<KeyCanvas*>(parentWidget());
  choose_painter();
}

bool FastKeyButton::needs_images() const {
  return (light_overlay() && !light_image().isEmpty()) || (!keyset_image_hidden() && !keyset_image().isEmpty());
}

void FastKeyButton::choose_painter() {
  KeyCanvas* canvas = needs_images() ? nullptr : parent_canvas_.data();
  if (canvas == canvas_) return;
  if (canvas_) canvas_->faces_changed();
  canvas_ = canvas;
  refresh_look();  // tells the new canvas
  // Updates off: the toolkit then sends this button no paint events, the canvas paints it.
  setUpdatesEnabled(canvas == nullptr);
  if (canvas != nullptr) canvas->face_changed(geometry());
}

void FastKeyButton::refresh_look() {
  // The face's opacity decides whether a light frame may keep the rims.
  if (canvas_) canvas_->faces_changed();
  // An opaque key lets the picture behind it go unpainted when only the key changes. Under a
  // canvas the key must not count as opaque, or the canvas would skip its area.
  setAttribute(Qt::WA_OpaquePaintEvent, canvas_.isNull() && palette().color(QPalette::Button).alpha() == 255);
}

void FastKeyButton::repaint_area(const QRect& in_parent) {
  if (canvas_) {
    canvas_->face_changed(in_parent);
  } else {
    update();
  }
}

void FastKeyButton::look_changed() {
  choose_painter();
  repaint_area(geometry());
}

QRect FastKeyButton::light_area() const { return inner_rect().translated(pos()); }

void FastKeyButton::light_changed() {
  if (canvas_) {
    canvas_->light_changed(*this);
  } else {
    look_changed();
  }
}

bool FastKeyButton::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::ParentChange:
      parent_canvas_ = qobject_cast<KeyCanvas*>(parentWidget());
      choose_painter();
      break;
    case QEvent::PaletteChange:
    case QEvent::Polish:
    case QEvent::StyleChange:
    case QEvent::FontChange:
    case QEvent::EnabledChange:
      look_taken_ = false;
      refresh_look();
      repaint_area(geometry());
      break;
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
      repaint_area(geometry());
      break;
    case QEvent::Show:
    case QEvent::Hide:
      if (canvas_) canvas_->faces_changed();
      repaint_area(geometry());
      break;
    case QEvent::ZOrderChange:
      if (canvas_) canvas_->faces_changed();
      break;
    case QEvent::Move:
      if (canvas_) canvas_->face_changed(QRect(static_cast<QMoveEvent*>(event)->oldPos(), size()) | geometry());
      break;
    case QEvent::Resize:
      look_taken_ = false;
      if (canvas_) canvas_->face_changed(QRect(pos(), static_cast<QResizeEvent*>(event)->oldSize()) | geometry());
      break;
    default:
      break;
  }
  return CDeviceKeyButtonUI::event(event);
}

void FastKeyButton::paintEvent(QPaintEvent* event) {
  if (needs_images()) {
    CDeviceKeyButtonUI::paintEvent(event);
    return;
  }
  QPainter p(this);
  paint_face(p, QPoint(), devicePixelRatioF());
}

void FastKeyButton::draw_label_image(const QColor& pen) {
  const QSize size = QFontMetrics(label_font_).size(Qt::TextSingleLine, label_text_);
  label_image_ = QImage(size * label_ratio_, QImage::Format_ARGB32_Premultiplied);
  label_image_.setDevicePixelRatio(label_ratio_);
  label_image_.fill(Qt::transparent);
  QPainter p(&label_image_);
  p.setFont(label_font_);
  p.setPen(pen);
  p.drawText(QRect(QPoint(), size), Qt::AlignCenter, label_text_);
}

QRect FastKeyButton::inner_rect() const {
  const int inset = qCeil(ui::theme::kKeyInset);
  return rect().adjusted(inset, inset, -inset, -inset);
}

void FastKeyButton::paint_face(QPainter& p, const QPoint& origin, qreal ratio, bool light_only) {
  if (light_only && look_taken_) {
    paint_light(p, origin);
    return;
  }
  p.translate(origin);
  paint_whole(p, ratio);
  p.translate(-origin);
}

void FastKeyButton::paint_whole(QPainter& p, qreal ratio) {
  const QRect all = rect();
  const QColor background = palette().color(QPalette::Button);
  if (background.alpha() > 0) p.fillRect(all, background);
  const QRect inner = inner_rect();
  const QColor light = shown_light();
  if (light.alpha() > 0) {
    // Over an opaque key the light is mixed here once: a solid fill costs a fraction of a blend.
    p.fillRect(inner, background.alpha() == 255 ? over(light, background) : light);
  }
  const QString label = text();
  label_shown_ = !label.isEmpty();
  if (label_shown_) {
    const QColor pen = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    if (label != label_text_ || font() != label_font_ || pen.rgba() != label_pen_ || ratio != label_ratio_) {
      label_text_ = label;
      label_font_ = font();
      label_pen_ = pen.rgba();
      label_ratio_ = ratio;
      draw_label_image(pen);
    }
    const QSizeF size = label_image_.deviceIndependentSize();
    label_at_ = QPointF((all.width() - size.width()) / 2.0, (all.height() - size.height()) / 2.0);
    label_in_middle_ = QRectF(inner).contains(QRectF(label_at_, size));
    // A label wider than its key stays inside it, as it would on a widget of its own.
    draw_label(p, label_at_, all, !QRectF(all).contains(QRectF(label_at_, size)));
  }
  face_colour_ = background;
  look_taken_ = true;
  if (selected()) {
    paint_selection(p, inner);
  } else if (isEnabled() && testAttribute(Qt::WA_UnderMouse)) {
    p.setPen(QPen(ui::theme::accent(), 1));
    p.drawRect(QRectF(all).adjusted(0.5, 0.5, -0.5, -0.5));
  }
}

void FastKeyButton::paint_light(QPainter& p, const QPoint& origin) {
  // Without moving the painter: a transform change per key showed in profiles.
  const QRect inner = inner_rect().translated(origin);
  p.fillRect(inner, over(shown_light(), face_colour_));
  // The label's overhang lies on the kept rim: drawn a second time, its edges would thicken.
  if (label_shown_) draw_label(p, label_at_ + origin, inner, !label_in_middle_);
  if (selected()) paint_selection(p, inner);
}

QColor FastKeyButton::shown_light() const {
  QColor light = light_colour();
  light.setAlpha(light.alpha() * kLightColourMaxAlpha / 255);
  return light;
}

void FastKeyButton::draw_label(QPainter& p, const QPointF& at, const QRect& bounds, bool clip) {
  if (clip) {
    p.save();
    p.setClipRect(bounds, Qt::IntersectClip);
  }
  p.drawImage(at, label_image_);
  if (clip) p.restore();
}

void FastKeyButton::paint_selection(QPainter& p, const QRect& inner) {
  p.setPen(QPen(ui::theme::accent(), ui::theme::kSelectionPen));
  p.drawRect(QRectF(inner).adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace qxr::app

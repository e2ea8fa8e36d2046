#include "app/pages/key_canvas.h"

#include <QChildEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOption>

#include "app/pages/fast_key_button.h"

namespace qxr::app {
namespace {

// Up to this many lights, covering less than this share of the rectangle around them, are
// repainted each in its own rectangle.
constexpr size_t kMostSeparateLights = 32;
constexpr qint64 kSparseFactor = 4;

}  // namespace

KeyCanvas::KeyCanvas(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

bool KeyCanvas::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  switch (event->type()) {
    case QEvent::Polish:
    case QEvent::StyleChange:
      // Polishing with the style sheet clears the attribute.
      setAttribute(Qt::WA_OpaquePaintEvent);
      case_stale_ = true;
      break;
    case QEvent::PaletteChange:
    case QEvent::Resize:
      case_stale_ = true;
      break;
    case QEvent::ChildAdded:
    case QEvent::ChildRemoved:
      faces_stale_ = true;
      // A key going may be among the lit ones: the next paint is a full one.
      lit_keys_.clear();
      lit_request_keys_.clear();
      lit_request_ = QRegion();
      update();
      break;
    case QEvent::LayoutRequest:
      // A key's new text asks its parent for a new layout; it is the only word the canvas gets of it.
      update();
      break;
    default:
      break;
  }
  return handled;
}

QColor KeyCanvas::backdrop() const {
  for (const QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
    const QColor c = w->palette().color(w->backgroundRole());
    if (c.alpha() == 255) return c;
  }
  return palette().color(QPalette::Window);
}

void KeyCanvas::face_changed(const QRect& rect) {
  changed_ |= rect;
  post_flush();
}

void KeyCanvas::light_changed(FastKeyButton& key) {
  lit_ |= key.light_area();
  lit_keys_.push_back(&key);
  post_flush();
}

void KeyCanvas::post_flush() {
  if (flush_posted_) return;
  flush_posted_ = true;
  QMetaObject::invokeMethod(this, &KeyCanvas::flush_changes, Qt::QueuedConnection);
}

void KeyCanvas::faces_changed() { faces_stale_ = true; }

void KeyCanvas::set_picture(const QPixmap& picture) {
  picture_ = picture;
  case_stale_ = true;
  update();
}

void KeyCanvas::flush_changes() {
  flush_posted_ = false;
  lit_request_ = changed_.isEmpty() ? light_request() : QRegion();
  lit_request_keys_.swap(lit_keys_);
  lit_keys_.clear();
  if (lit_request_.isEmpty()) {
    update(changed_ | lit_);
  } else {
    update(lit_request_);
  }
  changed_ = QRect();
  lit_ = QRect();
}

QRegion KeyCanvas::light_request() const {
  // Dense lights (a keyboard) go as one rectangle, which the toolkit fills and clips fastest.
  // A few lights spread over a picture go as their own rectangles: the rectangle around them
  // would be sent to the display whole with every frame.
  if (lit_keys_.size() > kMostSeparateLights) return lit_;
  QRegion lights;
  qint64 own = 0;
  for (const FastKeyButton* key : lit_keys_) {
    const QRect area = key->light_area();
    lights += area;
    own += qint64{area.width()} * area.height();
  }
  return own * kSparseFactor < qint64{lit_.width()} * lit_.height() ? lights : QRegion(lit_);
}

void KeyCanvas::collect_faces() {
  faces_stale_ = false;
  faces_.clear();
  faces_opaque_ = true;
  for (QObject* child : children()) {
    if (!child->isWidgetType()) continue;
    auto* key = qobject_cast<FastKeyButton*>(child);
    if (key != nullptr && key->painted_by_canvas()) {
      faces_.push_back(key);
      faces_opaque_ = faces_opaque_ && key->palette().color(QPalette::Button).alpha() == 255;
    } else {
      // A widget painting itself, perhaps translucently, over pixels a light frame would keep.
      faces_opaque_ = false;
    }
  }
}

bool KeyCanvas::covered(const QRect& area) const {
  QRect at = area;
  for (const QWidget* w = this; !w->isWindow() && w->parentWidget() != nullptr; w = w->parentWidget()) {
    at.translate(w->pos());
    const QObjectList& siblings = w->parentWidget()->children();
    for (qsizetype i = siblings.indexOf(const_cast<QWidget*>(w)) + 1; i < siblings.size(); ++i) {
      if (!siblings[i]->isWidgetType()) continue;
      const auto* above = static_cast<const QWidget*>(siblings[i]);
      if (!above->isHidden() && !above->isWindow() && above->geometry().intersects(at)) return true;
    }
  }
  return false;
}

bool KeyCanvas::light_only_paint(const QRegion& dirty) {
  const QRegion request = lit_request_;
  lit_request_ = QRegion();
  // Anything the toolkit added to the request (an exposed or restacked part) gets a full paint.
  // A translucent window's backing store clears what is repainted: nothing is kept there.
  return !request.isEmpty() && faces_opaque_ && dirty == request && !covered(request.boundingRect()) &&
         !window()->testAttribute(Qt::WA_TranslucentBackground);
}

const QImage& KeyCanvas::case_image(qreal ratio) {
  const QRgb behind = backdrop().rgb();
  if (!case_stale_ && behind == case_backdrop_ && case_image_.devicePixelRatio() == ratio) return case_image_;
  case_stale_ = false;
  case_backdrop_ = behind;
  case_image_ = QImage(size() * ratio, QImage::Format_RGB32);
  case_image_.setDevicePixelRatio(ratio);
  case_image_.fill(behind);
  QPainter p(&case_image_);
  // The style sheet's case, as a plain widget would draw it.
  QStyleOption option;
  option.initFrom(this);
  style()->drawPrimitive(QStyle::PE_Widget, &option, &p, this);
  if (!picture_.isNull()) {
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(rect(), picture_);
  }
  return case_image_;
}

void KeyCanvas::paintEvent(QPaintEvent* event) {
  if (faces_stale_) collect_faces();
  QPainter p(this);
  const QRegion& dirty = event->region();
  const qreal ratio = devicePixelRatioF();
  const bool light_only = light_only_paint(dirty);
  if (!light_only) {
    const QRect area = dirty.boundingRect();
    p.drawImage(QRectF(area), case_image(ratio), QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio));
  }
  int faces = 0;
  for (FastKeyButton* key : light_only ? lit_request_keys_ : faces_) {
    if (key->isHidden()) continue;
    const QRect at = key->geometry();
    if (!dirty.intersects(at)) continue;
    key->paint_face(p, at.topLeft(), ratio, light_only);
    ++faces;
  }
  last_paint_faces_ = faces;
  last_paint_light_only_ = light_only;
}

}  // namespace qxr::app

#include "app/pages/key_canvas.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyleOption>

#include "app/pages/fast_key_button.h"

namespace qxr::app {
namespace {

// Wider than the case's rounded corners and border at any interface scale.
constexpr int kBorderAllowancePx = 32;

}  // namespace

KeyCanvas::KeyCanvas(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

bool KeyCanvas::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  // Polishing with the style sheet clears the attribute.
  if (event->type() == QEvent::Polish || event->type() == QEvent::StyleChange) setAttribute(Qt::WA_OpaquePaintEvent);
  // A key's new text asks its parent for a new layout; it is the only word the canvas gets of it.
  if (event->type() == QEvent::LayoutRequest) update();
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
  if (flush_posted_) return;
  flush_posted_ = true;
  QMetaObject::invokeMethod(this, &KeyCanvas::flush_changes, Qt::QueuedConnection);
}

void KeyCanvas::flush_changes() {
  flush_posted_ = false;
  update(changed_);
  changed_ = QRect();
}

void KeyCanvas::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QRegion& dirty = event->region();
  const QRect area = dirty.boundingRect();
  const QRect inner = rect().adjusted(kBorderAllowancePx, kBorderAllowancePx, -kBorderAllowancePx, -kBorderAllowancePx);
  if (inner.contains(area)) {
    // Away from the border the style sheet's background is its brush alone (a frame's case).
    p.fillRect(area, palette().brush(backgroundRole()));
  } else {
    for (const QRect& r : (dirty - QRegion(inner))) p.fillRect(r, backdrop());
    // The style sheet's case, as a plain widget would draw it.
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &p, this);
  }
  int faces = 0;
  // In stacking order, as the toolkit would paint them.
  for (QObject* child : children()) {
    auto* key = qobject_cast<FastKeyButton*>(child);
    if (key == nullptr || !key->painted_by_canvas() || key->isHidden()) continue;
    const QRect at = key->geometry();
    if (!dirty.intersects(at)) continue;
    p.translate(at.topLeft());
    key->paint_face(p);
    p.translate(-at.topLeft());
    ++faces;
  }
  last_paint_faces_ = faces;
}

}  // namespace qxr::app

#include "editors/recoil/recoil_pattern_view.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

#include "ui/theme.h"

namespace {

constexpr qreal kMargin = 14.0;
constexpr qreal kDot = 2.5;
constexpr qreal kCurrentDot = 5.0;
// Below this spread the path is drawn at this scale, so a few counts do not fill the picture.
constexpr qreal kLeastSpan = 40.0;

}  // namespace

RecoilPatternView::RecoilPatternView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void RecoilPatternView::set_bullets(std::vector<qxr::RecoilBullet> bullets) {
  bullets_ = std::move(bullets);
  update();
}

void RecoilPatternView::set_current(int bullet) {
  if (bullet == current_) return;
  current_ = bullet;
  update();
}

void RecoilPatternView::paintEvent(QPaintEvent*) {
  // Where the pointer is after each bullet, from the first shot's aim at (0, 0).
  std::vector<QPointF> path = {QPointF(0, 0)};
  for (const qxr::RecoilBullet& b : bullets_) {
    const QPointF& at = path.back();
    path.emplace_back(at.x() + (b.left ? -b.horizontal : b.horizontal), at.y() + (b.up ? -b.vertical : b.vertical));
  }
  qreal left = 0, right = 0, top = 0, bottom = 0;
  for (const QPointF& p : path) {
    left = std::min(left, p.x());
    right = std::max(right, p.x());
    top = std::min(top, p.y());
    bottom = std::max(bottom, p.y());
  }
  const QRectF room = QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin);
  if (room.width() <= 0 || room.height() <= 0) return;
  const qreal span_x = std::max(right - left, kLeastSpan), span_y = std::max(bottom - top, kLeastSpan);
  const qreal scale = std::min(room.width() / span_x, room.height() / span_y);
  // The path centred in the room.
  const qreal cx = room.center().x() - (left + right) / 2 * scale;
  const qreal cy = room.center().y() - (top + bottom) / 2 * scale;
  const auto shown = [&](const QPointF& p) { return QPointF(cx + p.x() * scale, cy + p.y() * scale); };

  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor line = qxr::ui::theme::track().lighter(160);
  painter.setPen(QPen(line, 1.0, Qt::DashLine));
  painter.drawLine(QPointF(room.left(), shown({0, 0}).y()), QPointF(room.right(), shown({0, 0}).y()));
  painter.drawLine(QPointF(shown({0, 0}).x(), room.top()), QPointF(shown({0, 0}).x(), room.bottom()));

  QPainterPath trail(shown(path.front()));
  for (size_t i = 1; i < path.size(); ++i) trail.lineTo(shown(path[i]));
  painter.setPen(QPen(qxr::ui::theme::text().darker(130), 1.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(trail);

  painter.setPen(Qt::NoPen);
  painter.setBrush(qxr::ui::theme::text());
  for (size_t i = 1; i < path.size(); ++i) painter.drawEllipse(shown(path[i]), kDot, kDot);
  if (current_ >= 0 && static_cast<size_t>(current_) + 1 < path.size()) {
    painter.setBrush(qxr::ui::theme::accent());
    painter.drawEllipse(shown(path[static_cast<size_t>(current_) + 1]), kCurrentDot, kCurrentDot);
  }
}

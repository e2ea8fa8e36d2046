#include "ui/controls/circle_progress.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

#include "ui/theme.h"

using namespace qxr::ui;

namespace {
constexpr double kFullCircle = 360.0;
constexpr int kQtAngleUnits = 16;  // QPainter angles are in 1/16 degree
}  // namespace

CCircleProgressUI::CCircleProgressUI(QWidget* parent)
    : QProgressBar(parent), background_(theme::track()), foreground_(theme::accent()) {
  setTextVisible(false);
}

bool CCircleProgressUI::set_attribute(const QString& name, const QVariant& value) {
  if (name == QLatin1String("bkcolor")) {
    const QColor c = parse_skin_colour(value.toString());
    if (c.isValid()) set_background_colour(c);
  } else if (name == QLatin1String("forecolor")) {
    const QColor c = parse_skin_colour(value.toString());
    if (c.isValid()) set_foreground_colour(c);
  } else if (name == QLatin1String("ringwidth")) {
    ring_width_ = std::max(1, value.toInt());
    update();
  } else {
    return false;
  }
  return true;
}

void CCircleProgressUI::set_background_colour(const QColor& c) {
  background_ = c;
  update();
}

void CCircleProgressUI::set_foreground_colour(const QColor& c) {
  foreground_ = c;
  update();
}

double CCircleProgressUI::sweep_degrees(int value, int minimum, int maximum) {
  if (maximum <= minimum) return 0.0;
  const double fraction = (static_cast<double>(value) - minimum) / (static_cast<double>(maximum) - minimum);
  return std::clamp(fraction, 0.0, 1.0) * kFullCircle;
}

bool CCircleProgressUI::event(QEvent* event) {
  handle_attribute_event(this, event);
  return QProgressBar::event(event);
}

void CCircleProgressUI::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const int side = std::min(width(), height());
  const QRectF outer((width() - side) / 2.0, (height() - side) / 2.0, side, side);
  const int inset = std::min(ring_width_, side / 2);
  const QRectF inner = outer.adjusted(inset, inset, -inset, -inset);

  // The ring is the outer disc less the inner one, so whatever lies behind shows through.
  QPainterPath hole;
  hole.addEllipse(inner);
  QPainterPath visible;
  visible.addRect(rect());
  p.setClipPath(visible.subtracted(hole));
  p.setPen(Qt::NoPen);
  p.setBrush(background_);
  p.drawEllipse(outer);
  const double sweep = sweep_degrees(value(), minimum(), maximum());
  if (sweep > 0.0) {
    p.setBrush(foreground_);
    // Negative spans run clockwise.
    p.drawPie(outer, kStartAngleDeg * kQtAngleUnits, static_cast<int>(-sweep * kQtAngleUnits));
  }
}

#include "editors/lighting/colour_palette.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

#include "ui/theme.h"

namespace {

qreal fraction(int at, int from, int length) {
  if (length <= 1) return 0.0;
  return std::clamp(static_cast<qreal>(at - from) / static_cast<qreal>(length - 1), 0.0, 1.0);
}

constexpr int kDisabledAlpha = 90;
constexpr qreal kMarkerPen = 2.0;

}  // namespace

CColorPaletteUI::CColorPaletteUI(QWidget* parent) : QWidget(parent) {
  setCursor(Qt::CrossCursor);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

bool CColorPaletteUI::set_attribute(const QString& name, const QVariant& value) {
  if (name == QLatin1String("selectcolor")) {
    const QColor c = qxr::ui::parse_skin_colour(value.toString());
    if (c.isValid()) setColor(c);
    return true;
  }
  return false;
}

bool CColorPaletteUI::event(QEvent* event) {
  handle_attribute_event(this, event);
  return QWidget::event(event);
}

void CColorPaletteUI::setColor(const QColor& colour) {
  if (!colour.isValid()) return;
  const QColor rgb = colour.toRgb();
  const QColor hsv = rgb.toHsv();
  if (rgb.rgb() == colour_.rgb()) return;
  colour_ = rgb;
  const qreal v = hsv.valueF();
  // Grey and black have no hue (and black no saturation) of their own: keep the last ones.
  if (hsv.hsvHueF() >= 0.0 && hsv.hsvSaturationF() > 0.0) hue_ = hsv.hsvHueF();
  if (v > 0.0) saturation_ = hsv.hsvSaturationF();
  if (v != value_) {
    value_ = v;
    rebuild_field();
  }
  update();
}

QRect CColorPaletteUI::field_rect() const {
  return QRect(0, 0, std::max(1, width() - kStripWidth - kGap), height());
}

QRect CColorPaletteUI::strip_rect() const { return QRect(width() - kStripWidth, 0, kStripWidth, height()); }

QColor CColorPaletteUI::colour_at(const QPoint& p) const {
  const QRect field = field_rect();
  if (field.contains(p)) {
    const qreal h = fraction(p.x(), field.left(), field.width());
    const qreal s = 1.0 - fraction(p.y(), field.top(), field.height());
    return QColor::fromHsvF(std::min(h, 0.9999), s, value_).toRgb();
  }
  const QRect strip = strip_rect();
  if (strip.contains(p)) {
    const qreal v = 1.0 - fraction(p.y(), strip.top(), strip.height());
    return QColor::fromHsvF(std::min(hue_, 0.9999), saturation_, v).toRgb();
  }
  return {};
}

void CColorPaletteUI::rebuild_field() {
  const QRect field = field_rect();
  field_ = QImage(field.size(), QImage::Format_RGB32);
  for (int y = 0; y < field.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(field_.scanLine(y));
    const qreal s = 1.0 - fraction(y, 0, field.height());
    for (int x = 0; x < field.width(); ++x) {
      const qreal h = std::min(fraction(x, 0, field.width()), 0.9999);
      line[x] = QColor::fromHsvF(h, s, value_).rgb();
    }
  }
}

void CColorPaletteUI::resizeEvent(QResizeEvent* event) {
  rebuild_field();
  QWidget::resizeEvent(event);
}

void CColorPaletteUI::paintEvent(QPaintEvent*) {
  if (field_.size() != field_rect().size()) rebuild_field();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRect field = field_rect();
  const QRect strip = strip_rect();

  QPainterPath field_clip;
  field_clip.addRoundedRect(field, kCornerRadius, kCornerRadius);
  p.save();
  p.setClipPath(field_clip);
  p.drawImage(field.topLeft(), field_);
  p.restore();

  QLinearGradient gradient(strip.topLeft(), strip.bottomLeft());
  gradient.setColorAt(0.0, QColor::fromHsvF(std::min(hue_, 0.9999), saturation_, 1.0));
  gradient.setColorAt(1.0, Qt::black);
  p.setPen(Qt::NoPen);
  p.setBrush(gradient);
  p.drawRoundedRect(strip, kCornerRadius, kCornerRadius);

  if (!isEnabled()) {
    QColor veil = qxr::ui::theme::surface();
    veil.setAlpha(255 - kDisabledAlpha);
    p.setBrush(veil);
    p.drawRoundedRect(field, kCornerRadius, kCornerRadius);
    p.drawRoundedRect(strip, kCornerRadius, kCornerRadius);
    return;
  }

  // Markers: a ring in the field at (hue, saturation), a bar across the strip at the value.
  // Kept whole inside the field, also at its corners.
  const qreal inset = kMarkerRadius + kMarkerPen;
  const QPointF at(std::clamp(field.left() + hue_ * (field.width() - 1), field.left() + inset, field.right() - inset),
                   std::clamp(field.top() + (1.0 - saturation_) * (field.height() - 1), field.top() + inset,
                              field.bottom() - inset));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::black, kMarkerPen + 1.0));
  p.drawEllipse(at, kMarkerRadius, kMarkerRadius);
  p.setPen(QPen(Qt::white, kMarkerPen));
  p.drawEllipse(at, kMarkerRadius, kMarkerRadius);
  const qreal bar_y = strip.top() + (1.0 - value_) * (strip.height() - 1);
  const QRectF bar(strip.left() - 2.0, bar_y - 2.0, strip.width() + 4.0, 4.0);
  p.setPen(QPen(Qt::black, 1.0));
  p.setBrush(Qt::white);
  p.drawRoundedRect(bar, 2.0, 2.0);
}

void CColorPaletteUI::pick(const QPoint& point) {
  QPoint clamped = point;
  const QRect area = drag_ == Drag::Field ? field_rect() : strip_rect();
  clamped.setX(std::clamp(point.x(), area.left(), area.right()));
  clamped.setY(std::clamp(point.y(), area.top(), area.bottom()));
  const QColor c = colour_at(clamped);
  if (!c.isValid()) return;
  if (drag_ == Drag::Field) {
    hue_ = fraction(clamped.x(), area.left(), area.width());
    saturation_ = 1.0 - fraction(clamped.y(), area.top(), area.height());
  } else {
    const qreal v = 1.0 - fraction(clamped.y(), area.top(), area.height());
    if (v != value_) {
      value_ = v;
      rebuild_field();
    }
  }
  colour_ = c;
  update();
  emit colourPreview(colour_);
}

void CColorPaletteUI::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  const QPoint p = event->position().toPoint();
  if (field_rect().contains(p)) {
    drag_ = Drag::Field;
  } else if (strip_rect().contains(p)) {
    drag_ = Drag::Strip;
  } else {
    return;
  }
  pick(p);
}

void CColorPaletteUI::mouseMoveEvent(QMouseEvent* event) {
  if (drag_ == Drag::None) return QWidget::mouseMoveEvent(event);
  pick(event->position().toPoint());
}

void CColorPaletteUI::mouseReleaseEvent(QMouseEvent* event) {
  if (drag_ == Drag::None || event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  pick(event->position().toPoint());
  drag_ = Drag::None;
  emit colorChanged(colour_);
}

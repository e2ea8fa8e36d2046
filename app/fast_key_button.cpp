#include "app/fast_key_button.h"

#include <QEvent>
#include <QPainter>

#include "ui/theme.h"

namespace qxr::app {

FastKeyButton::FastKeyButton(QWidget* parent) : CDeviceKeyButtonUI(parent) { setAttribute(Qt::WA_Hover); }

bool FastKeyButton::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::PaletteChange:
    case QEvent::Polish:
    case QEvent::StyleChange:
      refresh_look();
      break;
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
      update();
      break;
    default:
      break;
  }
  return CDeviceKeyButtonUI::event(event);
}

void FastKeyButton::refresh_look() {
  // An opaque key lets the picture behind it go unpainted when only the key changes.
  setAttribute(Qt::WA_OpaquePaintEvent, palette().color(QPalette::Button).alpha() == 255);
}

void FastKeyButton::paintEvent(QPaintEvent* event) {
  const bool images = (light_overlay() && !light_image().isEmpty()) || (!keyset_image_hidden() && !keyset_image().isEmpty());
  if (images) {
    CDeviceKeyButtonUI::paintEvent(event);
    return;
  }
  QPainter p(this);
  const QRect all = rect();
  const QColor background = palette().color(QPalette::Button);
  if (background.alpha() > 0) p.fillRect(all, background);
  const QRect inner = all.adjusted(ui::theme::kKeyInset, ui::theme::kKeyInset, -ui::theme::kKeyInset, -ui::theme::kKeyInset);
  QColor light = light_colour();
  if (light.alpha() > 0) {
    light.setAlpha(light.alpha() * kLightColourMaxAlpha / 255);
    p.fillRect(inner, light);
  }
  const QString label = text();
  if (!label.isEmpty()) {
    if (label != label_text_ || font() != label_font_) {
      label_text_ = label;
      label_font_ = font();
      label_.setText(label);
      label_.prepare(QTransform(), label_font_);
    }
    p.setFont(label_font_);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    const QSizeF size = label_.size();
    p.drawStaticText(QPointF((all.width() - size.width()) / 2.0, (all.height() - size.height()) / 2.0), label_);
  }
  if (selected()) {
    p.setPen(QPen(ui::theme::accent(), ui::theme::kSelectionPen));
    p.drawRect(QRectF(inner).adjusted(0.5, 0.5, -0.5, -0.5));
  } else if (isEnabled() && testAttribute(Qt::WA_UnderMouse)) {
    p.setPen(QPen(ui::theme::accent(), 1));
    p.drawRect(QRectF(all).adjusted(0.5, 0.5, -0.5, -0.5));
  }
}

}  // namespace qxr::app

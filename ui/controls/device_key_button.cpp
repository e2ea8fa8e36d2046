#include "ui/controls/device_key_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>

#include "ui/image_description.h"
#include "ui/notification.h"
#include "ui/theme.h"

using namespace qxr::ui;

CDeviceKeyButtonUI::CDeviceKeyButtonUI(QWidget* parent) : QPushButton(parent) {
  setFocusPolicy(Qt::NoFocus);
}

bool CDeviceKeyButtonUI::set_attribute(const QString& name, const QVariant& value) {
  if (name == QLatin1String("lightimage")) {
    set_light_image(value.toString());
  } else if (name == QLatin1String("keysetimage")) {
    set_keyset_image(value.toString());
  } else if (name == QLatin1String("gmnametextcolor")) {
    gm_name_text_colour_ = parse_skin_colour(value.toString());
  } else {
    return false;
  }
  return true;
}

void CDeviceKeyButtonUI::set_light_colour(const QColor& colour) {
  if (colour.rgba() == light_colour_.rgba()) return;
  light_colour_ = colour;
  light_changed();
}

void CDeviceKeyButtonUI::set_selected(bool selected) {
  if (selected == selected_) return;
  selected_ = selected;
  look_changed();
}

void CDeviceKeyButtonUI::set_light_overlay(bool on) {
  if (on == light_overlay_) return;
  light_overlay_ = on;
  look_changed();
}

void CDeviceKeyButtonUI::set_keyset_image_hidden(bool hidden) {
  if (hidden == keyset_image_hidden_) return;
  keyset_image_hidden_ = hidden;
  look_changed();
}

void CDeviceKeyButtonUI::set_light_image(const QString& image) {
  light_image_ = image;
  look_changed();
}

void CDeviceKeyButtonUI::set_keyset_image(const QString& image) {
  keyset_image_ = image;
  look_changed();
}

void CDeviceKeyButtonUI::look_changed() { update(); }

bool CDeviceKeyButtonUI::event(QEvent* event) {
  handle_attribute_event(this, event);
  return QPushButton::event(event);
}

void CDeviceKeyButtonUI::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QStyleOptionButton option;
  initStyleOption(&option);
  style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);

  const QRectF inner = QRectF(rect()).adjusted(theme::kKeyInset, theme::kKeyInset, -theme::kKeyInset, -theme::kKeyInset);
  if (light_colour_.alpha() > 0) {
    QColor fill = light_colour_;
    fill.setAlpha(light_colour_.alpha() * kLightColourMaxAlpha / 255);
    QPainterPath path;
    path.addRoundedRect(inner, theme::kKeyRadius, theme::kKeyRadius);
    p.fillPath(path, fill);
  }
  if (light_overlay_ && !light_image_.isEmpty()) {
    if (auto image = parse_image_description(light_image_)) {
      image->fade = image->fade * kLightImageFade / kOpaqueFade;
      draw_image(p, rect(), *image);
    }
  }
  if (!keyset_image_hidden_ && !keyset_image_.isEmpty()) {
    if (auto image = parse_image_description(keyset_image_)) draw_image(p, rect(), *image);
  }
  style()->drawControl(QStyle::CE_PushButtonLabel, &option, &p, this);
  if (selected_) {
    p.setPen(QPen(theme::accent(), theme::kSelectionPen));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(inner, theme::kKeyRadius, theme::kKeyRadius);
  }
}

void CDeviceKeyButtonUI::mouseDoubleClickEvent(QMouseEvent* event) {
  if (isEnabled() && rect().contains(event->position().toPoint())) {
    send_notify(this, notify_type::kDbClick);
  }
  QPushButton::mouseDoubleClickEvent(event);
}

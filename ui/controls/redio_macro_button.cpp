#include "ui/controls/redio_macro_button.h"

#include <QPainter>
#include <QStyleOptionButton>

#include <algorithm>

#include "ui/image_description.h"

using namespace qxr::ui;

CRedioMacroButtonUI::Fade CRedioMacroButtonUI::next_fade(Fade fade) {
  Fade next = fade;
  if (fade.falling) {
    next.value = std::max(kFadeMin, fade.value - kFadeStep);
    if (next.value == kFadeMin) next.falling = false;
  } else {
    next.value = std::min(kFadeMax, fade.value + kFadeStep);
    if (next.value == kFadeMax) next.falling = true;
  }
  next.value = std::clamp(next.value, kFadeMin, kFadeMax);
  return next;
}

CRedioMacroButtonUI::CRedioMacroButtonUI(QWidget* parent) : QPushButton(parent) {}

bool CRedioMacroButtonUI::set_attribute(const QString& name, const QVariant& value) {
  if (name != QLatin1String("redioimage")) return false;
  set_blink_image(value.toString());
  return true;
}

void CRedioMacroButtonUI::set_running(bool running) {
  running_ = running;
  if (running_) {
    start_control_timer(this, kBlinkTimerId, kBlinkPeriodMs);
  } else {
    stop_control_timer(this, kBlinkTimerId);
    fade_ = Fade{};
    current_.clear();
    update();
  }
}

void CRedioMacroButtonUI::on_control_timer(int id) {
  if (id != kBlinkTimerId) return;
  stop_control_timer(this, kBlinkTimerId);
  if (!blink_image_.isEmpty()) {
    fade_ = next_fade(fade_);
    current_ = QStringLiteral("res='%1' fade='%2'").arg(blink_image_).arg(fade_.value);
    update();
  }
  if (running_) start_control_timer(this, kBlinkTimerId, kBlinkPeriodMs);
}

bool CRedioMacroButtonUI::event(QEvent* event) {
  handle_attribute_event(this, event);
  return QPushButton::event(event);
}

void CRedioMacroButtonUI::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
  if (!current_.isEmpty()) {
    if (auto image = parse_image_description(current_)) draw_image(p, rect(), *image);
  }
  style()->drawControl(QStyle::CE_PushButtonLabel, &option, &p, this);
}

#include "ui/control_timer.h"

#include <QTimer>

#include "ui/notification.h"

namespace qxr::ui {
namespace {

QString timer_name(int id) { return QStringLiteral("qxr_control_timer_%1").arg(id); }

QTimer* find_timer(const QWidget* control, int id) {
  return control->findChild<QTimer*>(timer_name(id), Qt::FindDirectChildrenOnly);
}

}  // namespace

void start_control_timer(QWidget* control, int id, int period_ms) {
  if (control == nullptr) return;
  QTimer* timer = find_timer(control, id);
  if (timer == nullptr) {
    timer = new QTimer(control);
    timer->setObjectName(timer_name(id));
    auto* target = dynamic_cast<ControlTimerTarget*>(control);
    QObject::connect(timer, &QTimer::timeout, control, [control, target, id] {
      if (target != nullptr) {
        target->on_control_timer(id);
      } else {
        send_notify(control, notify_type::kTimer, id);
      }
    });
  }
  timer->start(period_ms);
}

void stop_control_timer(QWidget* control, int id) {
  if (control == nullptr) return;
  if (QTimer* timer = find_timer(control, id)) timer->stop();
}

bool control_timer_active(const QWidget* control, int id) {
  if (control == nullptr) return false;
  const QTimer* timer = find_timer(control, id);
  return timer != nullptr && timer->isActive();
}

}  // namespace qxr::ui

#pragma once
// Control timers: a control starts and stops timers by id. Each tick reaches the control when
// it implements ControlTimerTarget; otherwise its window gets "timer" with the id as first
// parameter. (A control that takes its own ticks keeps them: a device entry ticks for its
// device's light frames, and the window has nothing to do with them.)
#include <QWidget>

namespace qxr::ui {

class ControlTimerTarget {
 public:
  virtual ~ControlTimerTarget() = default;
  virtual void on_control_timer(int id) = 0;
};

// Restarts the timer when it runs already.
void start_control_timer(QWidget* control, int id, int period_ms);
void stop_control_timer(QWidget* control, int id);
bool control_timer_active(const QWidget* control, int id);

}  // namespace qxr::ui

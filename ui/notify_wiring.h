#pragma once
// Turns the signals and events of standard widgets into notifications (see notification.h).
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QWidget>

namespace qxr::ui {

// Wires root and every widget below it; widgets already wired are left as they are, so it is
// safe to call again after adding children. The skin loader wires everything it builds.
void wire_notifications(QWidget* root);

// While one lives, the widget's own notifications are suppressed: a combo box selected or an
// option checked by the program ("select without notification").
class NotifySilencer {
 public:
  explicit NotifySilencer(QWidget* widget);
  ~NotifySilencer();
  NotifySilencer(const NotifySilencer&) = delete;
  NotifySilencer& operator=(const NotifySilencer&) = delete;

 private:
  QWidget* widget_;
  bool was_silent_;
};

bool notifications_silenced(const QWidget* widget);

// Selects item index of a combo box, sending "itemselect" only when notify is set.
void select_item(QComboBox* combo, int index, bool notify);

// What the program shows without it counting as the user's choice: no notification, and an
// exclusive option may be cleared as well as set.
void set_checked_quietly(QAbstractButton* button, bool on);
void set_value_quietly(QAbstractSlider* slider, int value);

}  // namespace qxr::ui

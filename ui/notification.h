#pragma once
// Notifications: what a control tells its window. A control never knows its window; it hands
// the notification to the nearest ancestor that has a handler (set_notify_handler), so a page
// built on its own and inserted into a window later reports to that window.
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace qxr::ui {

// The notification types, spelled as the routing tables of the main window expect them.
namespace notify_type {
inline const QString kWindowInit = QStringLiteral("windowinit");
inline const QString kWindowSize = QStringLiteral("windowsize");
inline const QString kClick = QStringLiteral("click");
inline const QString kDbClick = QStringLiteral("dbclick");
inline const QString kSelectChanged = QStringLiteral("selectchanged");
inline const QString kItemSelect = QStringLiteral("itemselect");
inline const QString kItemClick = QStringLiteral("itemclick");
inline const QString kItemActivate = QStringLiteral("itemactivate");
inline const QString kValueChanged = QStringLiteral("valuechanged");
inline const QString kMoveValueChanged = QStringLiteral("movevaluechanged");
inline const QString kTextChanged = QStringLiteral("textchanged");
inline const QString kKillFocus = QStringLiteral("killfocus");
inline const QString kTimer = QStringLiteral("timer");
inline const QString kColorChanged = QStringLiteral("colorchanged");
inline const QString kMouseEnter = QStringLiteral("msenter");
inline const QString kMouseLeave = QStringLiteral("msleave");
inline const QString kSelectEnd = QStringLiteral("click_select_end");
inline const QString kHandDelete = QStringLiteral("click_handdelete");
// A context-menu item chosen: the sender is the widget whose menu it is, the name the item's.
inline const QString kMenu = QStringLiteral("menu");
}  // namespace notify_type

struct Notification {
  QString type;
  QString sender_name;         // the sender's objectName at the time it was sent
  QPointer<QWidget> sender;    // may be gone by the time a queued handler looks
  qintptr param1 = 0;
  qintptr param2 = 0;
};

class NotifyHandler {
 public:
  // Detaches from every root it serves, so widgets torn down later (a focused edit reporting
  // "killfocus" as its window is destroyed) find no handler instead of a dead one. A class that
  // is also a widget should name its widget base first, so this runs before its children go.
  virtual ~NotifyHandler();
  virtual void Notify(const Notification& notification) = 0;

 private:
  friend void set_notify_handler(QWidget* root, NotifyHandler* handler);
  QList<QPointer<QObject>> routes_;
};

// Makes handler receive the notifications of root and everything below it, until either is
// destroyed or set_notify_handler(root, nullptr) is called. Also sends "windowinit" the first
// time root is shown and "windowsize" whenever it is resized (sender root).
void set_notify_handler(QWidget* root, NotifyHandler* handler);
NotifyHandler* notify_handler_for(const QWidget* widget);

// Delivers at once to the nearest handler above sender (sender included). Returns false when
// no ancestor has a handler: the notification is then dropped, as for a control not yet placed
// in a window.
bool send_notify(QWidget* sender, const QString& type, qintptr param1 = 0, qintptr param2 = 0);
// "menu" from owner, named after the chosen item.
bool send_menu_notify(QWidget* owner, const QString& item_name);

}  // namespace qxr::ui

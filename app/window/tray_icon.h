#pragma once
// The tray icon: a left click shows the window, the menu of a right click offers "show" and
// "exit". The menu follows language switches.
#include <QObject>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace qxr::app {

class TrayIcon : public QObject {
  Q_OBJECT
 public:
  explicit TrayIcon(QObject* parent = nullptr);
  ~TrayIcon() override;
  bool available() const;
  QMenu* menu() const { return menu_; }

 signals:
  void show_requested();
  void exit_requested();

 private:
  void translate();

  QSystemTrayIcon* icon_ = nullptr;
  QMenu* menu_ = nullptr;
  QAction* show_ = nullptr;
  QAction* exit_ = nullptr;
};

}  // namespace qxr::app

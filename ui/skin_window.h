#pragma once
// A frameless window built from a skin, with its own title bar. Chrome every window shares:
// "closebtn" closes with result 0, "minbtn"/"maxbtn"/"restorebtn" minimise, maximise and
// restore, and "maxbtn"/"restorebtn" swap visibility whenever the maximised state changes.
// The skin's root may carry the attribute "caption": the height (at 96 DPI) of the strip at the
// top by which the window is dragged.
#include <QDialog>

#include "ui/control_cache.h"
#include "ui/dpi.h"
#include "ui/notification.h"

namespace qxr::ui {

class SkinWindow : public QDialog, public NotifyHandler {
  Q_OBJECT
 public:
  SkinWindow(const QString& skin_name, const QString& window_class, DpiWindow dpi_window, QWidget* parent = nullptr);
  ~SkinWindow() override;

  // False when the skin could not be built; the window is then empty.
  bool loaded() const { return root_ != nullptr; }
  QWidget* root() const { return root_; }
  const QString& window_class() const { return window_class_; }

  // Found by name below the skin root and kept for later calls.
  QWidget* find_control(const QString& name) { return controls_.find(name); }
  template <typename T>
  T* find(const QString& name) {
    return qobject_cast<T*>(find_control(name));
  }

  // Accepts the DPI as every window does and applies it to all skin windows at once.
  int set_dpi(int dpi);
  // The interface DPI in force (shared by all windows).
  int dpi() const;

  // Shows the window modally; the result is what closed it (0 for the close button).
  int ShowModal() { return exec(); }

  void Notify(const Notification& notification) override;

 protected:
  // Everything the chrome did not consume.
  virtual void on_notify(const Notification&) {}
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void update_zoom_buttons();
  bool in_caption(const QPoint& pos) const;

  QWidget* root_ = nullptr;
  QString window_class_;
  DpiWindow dpi_window_;
  ControlCache controls_;
};

}  // namespace qxr::ui

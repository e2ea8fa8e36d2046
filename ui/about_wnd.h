#pragma once
// The about window: the software version.
#include "ui/skin_window.h"

class CAboutWnd : public qxr::ui::SkinWindow {
  Q_OBJECT
 public:
  explicit CAboutWnd(QWidget* parent = nullptr);

  // "software_ver_label" shows the text of "software_rev_text" followed by version; it follows
  // language switches.
  void SetVersion(const QString& version);
  const QString& version() const { return version_; }

 private:
  void show_version();
  QString version_;
};

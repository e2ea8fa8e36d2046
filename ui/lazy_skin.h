#pragma once
// A panel's content, built from its own skin file into the panel the first time it is needed
// (a panel nobody opens costs nothing). A failed build is reported once and not tried again.
// UI thread.
#include <QString>

class QLayout;
class QVariant;
class QWidget;

namespace qxr::ui {

class ControlCache;

class LazySkin {
 public:
  // what names the panel in the debug line of a failed build.
  LazySkin(const char* default_skin, const char* what) : default_skin_(default_skin), what_(what) {}

  // The "skinfile" attribute (true when name is it); once built, the skin stays.
  bool take_attribute(const QString& name, const QVariant& value);
  // The content, added to layout and made the cache's root; nullptr when the skin failed.
  QWidget* build(QWidget& panel, QLayout& layout, ControlCache& cache);
  QWidget* content() const { return content_; }

 private:
  const char* default_skin_;
  const char* what_;
  QString file_;
  QWidget* content_ = nullptr;
  bool failed_ = false;
};

}  // namespace qxr::ui

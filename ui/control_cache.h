#pragma once
// Controls found by name below a root, looked up once and kept while they live.
#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace qxr::ui {

class ControlCache {
 public:
  explicit ControlCache(QWidget* root = nullptr) : root_(root) {}
  void set_root(QWidget* root) {
    root_ = root;
    controls_.clear();
  }

  // The root itself when it carries the name, else the first descendant with it; nullptr when
  // there is none (a miss is not remembered: the control may be added later).
  QWidget* find(const QString& name) {
    auto it = controls_.constFind(name);
    if (it != controls_.constEnd() && !it->isNull()) return *it;
    if (root_ == nullptr) return nullptr;
    QWidget* found = root_->objectName() == name ? root_.data() : root_->findChild<QWidget*>(name);
    if (found != nullptr) controls_.insert(name, found);
    return found;
  }
  template <typename T>
  T* find(const QString& name) {
    return qobject_cast<T*>(find(name));
  }

 private:
  QPointer<QWidget> root_;
  QHash<QString, QPointer<QWidget>> controls_;
};

}  // namespace qxr::ui

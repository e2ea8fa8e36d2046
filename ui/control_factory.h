#pragma once
// Creators for the program's own widget classes, by the class name a skin uses.
#include <QHash>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace qxr::ui {

using ControlCreator = std::function<QWidget*(QWidget* parent)>;

class ControlFactory {
 public:
  // Replaces an earlier creator of the same name. An empty name or creator is refused.
  bool register_class(const QString& class_name, ControlCreator creator);
  bool contains(const QString& class_name) const { return creators_.contains(class_name); }
  // nullptr for an unknown name.
  QWidget* create(const QString& class_name, QWidget* parent) const;
  QStringList class_names() const { return creators_.keys(); }

  // The factory the skin loader uses unless given another; the controls of this library are
  // registered in it on first use, the program registers its own classes at start-up.
  static ControlFactory& global();

 private:
  QHash<QString, ControlCreator> creators_;
};

// Registers this library's controls under their class names ("CDeviceKeyButtonUI", ...) and
// the short names the pages ask for ("DeviceKeyButton", ...).
void register_builtin_controls(ControlFactory& factory);

}  // namespace qxr::ui

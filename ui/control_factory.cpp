#include "ui/control_factory.h"

namespace qxr::ui {

bool ControlFactory::register_class(const QString& class_name, ControlCreator creator) {
  if (class_name.isEmpty() || !creator) return false;
  creators_.insert(class_name, std::move(creator));
  return true;
}

QWidget* ControlFactory::create(const QString& class_name, QWidget* parent) const {
  const auto it = creators_.constFind(class_name);
  return it == creators_.constEnd() ? nullptr : (*it)(parent);
}

ControlFactory& ControlFactory::global() {
  static ControlFactory factory = [] {
    ControlFactory f;
    register_builtin_controls(f);
    return f;
  }();
  return factory;
}

}  // namespace qxr::ui

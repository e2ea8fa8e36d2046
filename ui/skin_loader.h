#pragma once
// Builds widget trees from the skin's Designer files. Class names the factory knows are created
// by it (skins declare them in <customwidgets>); everything else is a Qt widget. Every tree is
// wired for notifications and translated into the current language as it is built.
#include <QStringList>
#include <QUiLoader>

#include "ui/control_factory.h"
#include "ui/skin_resources.h"

namespace qxr::ui {

namespace detail {
// The loader's base constructor loads every Designer plugin on the library paths (one pulls in
// the whole Quick stack, several ms of start-up); our skins use none. This base, constructed
// first, hides the paths from it; the loader's constructor puts them back.
class PluginPathsHidden {
 protected:
  PluginPathsHidden();
  void restore_plugin_paths();

 private:
  QStringList saved_;
};
}  // namespace detail

class SkinLoader : private detail::PluginPathsHidden, public QUiLoader {
 public:
  explicit SkinLoader(const ControlFactory& factory = ControlFactory::global(),
                      const SkinResources& resources = SkinResources::global(), QObject* parent = nullptr);

  // Builds the skin behind name (a res.xml name or a file of the skin folder) as a child of
  // parent. nullptr when the name resolves to nothing or the file cannot be built; the reason
  // goes to the debug output.
  QWidget* load_skin(const QString& name, QWidget* parent = nullptr);
  QWidget* load_file(const QString& path, QWidget* parent = nullptr);

  QWidget* createWidget(const QString& class_name, QWidget* parent, const QString& name) override;

 private:
  const ControlFactory& factory_;
  const SkinResources& resources_;
};

}  // namespace qxr::ui

#include "ui/skin_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/debug_line.h"
#include "ui/language.h"
#include "ui/notify_wiring.h"

namespace qxr::ui {

namespace detail {

PluginPathsHidden::PluginPathsHidden() : saved_(QCoreApplication::libraryPaths()) {
  QCoreApplication::setLibraryPaths({});
}

void PluginPathsHidden::restore_plugin_paths() { QCoreApplication::setLibraryPaths(saved_); }

}  // namespace detail

SkinLoader::SkinLoader(const ControlFactory& factory, const SkinResources& resources, QObject* parent)
    : QUiLoader(parent), factory_(factory), resources_(resources) {
  restore_plugin_paths();
  // Texts are language keys resolved by our own tables, not Qt's translators.
  setTranslationEnabled(false);
}

QWidget* SkinLoader::load_skin(const QString& name, QWidget* parent) {
  const QString path = resources_.resolve(name);
  if (path.isEmpty()) {
    debug_fmt("skin {} not found in {}", name.toStdString(), resources_.dir().toStdString());
    return nullptr;
  }
  return load_file(path, parent);
}

QWidget* SkinLoader::load_file(const QString& path, QWidget* parent) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    debug_fmt("skin {} cannot be read", path.toStdString());
    return nullptr;
  }
  setWorkingDirectory(QFileInfo(path).absoluteDir());
  QWidget* root = load(&file, parent);
  if (root == nullptr) {
    debug_fmt("skin {}: {}", path.toStdString(), errorString().toStdString());
    return nullptr;
  }
  wire_notifications(root);
  Language::instance().translate_tree(root);
  return root;
}

QWidget* SkinLoader::createWidget(const QString& class_name, QWidget* parent, const QString& name) {
  if (QWidget* w = factory_.create(class_name, parent)) {
    w->setObjectName(name);
    return w;
  }
  return QUiLoader::createWidget(class_name, parent, name);
}

}  // namespace qxr::ui

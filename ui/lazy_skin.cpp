#include "ui/lazy_skin.h"

#include <QLayout>
#include <QVariant>

#include "core/debug_line.h"
#include "ui/control_cache.h"
#include "ui/skin_loader.h"

namespace qxr::ui {

bool LazySkin::take_attribute(const QString& name, const QVariant& value) {
  if (name != QLatin1String("skinfile")) return false;
  if (content_ == nullptr) file_ = value.toString();
  return true;
}

QWidget* LazySkin::build(QWidget& panel, QLayout& layout, ControlCache& cache) {
  if (content_ != nullptr || failed_) return content_;
  const QString skin = file_.isEmpty() ? QString::fromLatin1(default_skin_) : file_;
  SkinLoader loader;
  content_ = loader.load_skin(skin, &panel);
  if (content_ == nullptr) {
    failed_ = true;
    debug_fmt("{}: skin {} not built", what_, skin.toStdString());
    return nullptr;
  }
  layout.addWidget(content_);
  cache.set_root(content_);
  return content_;
}

}  // namespace qxr::ui

#include "app/window/skin_pictures.h"

#include <QLabel>
#include <QPixmap>

#include "app/pages/key_canvas.h"
#include "ui/image_description.h"
#include "ui/skin_resources.h"

namespace qxr::app {

QString skin_image_path(const QString& file_or_description) {
  QString file = file_or_description;
  if (file.contains(QLatin1Char('='))) {
    auto parsed = ui::parse_image_description(file_or_description);
    file = parsed ? parsed->file : QString();
  }
  if (file.isEmpty()) return {};
  return ui::SkinResources::global().file_path(file);
}

void apply_pictures(QWidget* root) {
  if (root == nullptr) return;
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (w->property(kMouseThroughAttribute).toBool()) w->setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  const QList<QLabel*> labels = root->findChildren<QLabel*>();
  for (QLabel* label : labels) {
    const QVariant picture = label->property(kPictureAttribute);
    if (!picture.isValid()) continue;
    label->setPixmap(QPixmap(skin_image_path(picture.toString())));
  }
  for (KeyCanvas* canvas : root->findChildren<KeyCanvas*>()) {
    const QVariant picture = canvas->property(kPictureAttribute);
    if (picture.isValid()) canvas->set_picture(QPixmap(skin_image_path(picture.toString())));
  }
}

}  // namespace qxr::app

#include "app/window/app_style.h"

#include <QApplication>
#include <QFile>

#include "ui/interface_scale.h"
#include "ui/skin_resources.h"

namespace qxr::app {
namespace {

QString& app_sheet() {
  static QString sheet;
  return sheet;
}

QString& font_face() {
  static QString face;
  return face;
}

// The base sheet as the toolkit last set it, without our additions.
QString& base_sheet() {
  static QString sheet;
  return sheet;
}

void append_app_sheet() {
  if (qApp == nullptr) return;
  base_sheet() = ui::scale_style_sheet(ui::base_style_sheet(), ui::interface_dpi());
  QString sheet = base_sheet() + QLatin1Char('\n') + ui::scale_style_sheet(app_sheet(), ui::interface_dpi());
  if (!font_face().isEmpty()) {
    sheet += QStringLiteral("\n* { font-family: \"%1\", \"Noto Sans\", \"DejaVu Sans\", sans-serif; }\n").arg(font_face());
  }
  qApp->setStyleSheet(sheet);
}

}  // namespace

bool apply_app_style() {
  ui::apply_style();
  QFile file(ui::SkinResources::global().file_path(QString::fromLatin1(kAppStyleFile)));
  if (!file.open(QIODevice::ReadOnly)) return false;
  QString sheet = QString::fromUtf8(file.readAll());
  // "skin:" urls need the skin folder's search path, which the toolkit installed already.
  app_sheet() = sheet;
  append_app_sheet();
  return true;
}

void set_interface_font(const QString& face) {
  font_face() = face;
  append_app_sheet();
}

QString interface_font() { return font_face(); }

int set_app_interface_dpi(int dpi, ui::DpiWindow window) {
  const int in_force = ui::set_interface_dpi(dpi, window);
  append_app_sheet();
  return in_force;
}

}  // namespace qxr::app

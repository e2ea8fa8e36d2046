#include "app/startup/private_fonts.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>

namespace qxr::app {

PrivateFont::~PrivateFont() {
  if (id_ >= 0) QFontDatabase::removeApplicationFont(id_);
}

bool PrivateFont::load(const QString& relative_name) {
  QFile file(QDir(folder_).filePath(relative_name));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray data = file.readAll();
  id_ = QFontDatabase::addApplicationFontFromData(data);
  return id_ >= 0;
}

QStringList PrivateFont::families() const {
  return id_ >= 0 ? QFontDatabase::applicationFontFamilies(id_) : QStringList();
}

PrivateFonts::PrivateFonts(const QString& folder) {
  for (size_t i = 0; i < kPrivateFontFiles.size(); ++i) {
    fonts_[i] = new PrivateFont(folder);
    fonts_[i]->load(QString::fromLatin1(kPrivateFontFiles[i]));
  }
}

PrivateFonts::~PrivateFonts() {
  for (size_t i = fonts_.size(); i-- > 0;) delete fonts_[i];
}

int PrivateFonts::loaded_count() const {
  int n = 0;
  for (const PrivateFont* f : fonts_) n += f->loaded() ? 1 : 0;
  return n;
}

}  // namespace qxr::app

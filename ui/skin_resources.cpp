#include "ui/skin_resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include "core/debug_line.h"
#include "profile/data_paths.h"

namespace qxr::ui {
namespace {

SkinResources& global_resources() {
  static SkinResources resources;
  return resources;
}

}  // namespace

std::optional<SkinResources> SkinResources::open(const QString& dir) {
  QFile file(QDir(dir).filePath(QString::fromLatin1(kSkinIndexFile)));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  SkinResources result;
  result.dir_ = QDir(dir).absolutePath();
  QXmlStreamReader xml(&file);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("Skin")) continue;
    const QString name = xml.attributes().value(QLatin1String("name")).toString();
    const QString target = xml.attributes().value(QLatin1String("file")).toString();
    if (name.isEmpty() || target.isEmpty()) continue;
    result.index_.insert(name, target);
  }
  if (xml.hasError()) {
    debug_fmt("res.xml: {} (line {})", xml.errorString().toStdString(), xml.lineNumber());
    return std::nullopt;
  }
  return result;
}

QStringList SkinResources::search_dirs() {
  QStringList dirs;
  const QByteArray source = qgetenv(kSourceDirEnv);
  if (!source.isEmpty()) dirs << QDir(QString::fromLocal8Bit(source)).filePath(QStringLiteral("skin"));
  // Installed beside DefaultData, or the source tree when run from the build.
  dirs << QDir(QString::fromStdString(ProgramDataRoot())).filePath(QStringLiteral("skin"));
#ifdef QXR_SOURCE_DATA_DIR
  dirs << QDir(QStringLiteral(QXR_SOURCE_DATA_DIR)).filePath(QStringLiteral("skin"));
#endif
  dirs.removeDuplicates();
  return dirs;
}

std::optional<SkinResources> SkinResources::locate() {
  for (const QString& dir : search_dirs()) {
    if (auto found = open(dir)) return found;
  }
  return std::nullopt;
}

void SkinResources::install(const SkinResources& resources) {
  global_resources() = resources;
  QDir::setSearchPaths(QStringLiteral("skin"), {resources.dir()});
}

const SkinResources& SkinResources::global() { return global_resources(); }

QString SkinResources::resolve(const QString& name) const {
  if (dir_.isEmpty() || name.isEmpty()) return {};
  const auto it = index_.constFind(name);
  const QString candidate = file_path(it != index_.constEnd() ? *it : name);
  return QFileInfo(candidate).isFile() ? candidate : QString();
}

QString SkinResources::file_path(const QString& relative) const {
  if (dir_.isEmpty()) return {};
  QString normalised = relative;
  normalised.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return QDir::cleanPath(QDir(dir_).filePath(normalised));
}

}  // namespace qxr::ui

#include "app/startup/app_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "app/startup/app_identity.h"

namespace qxr::app {

QString default_settings_file() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
  return base + QLatin1Char('/') + QString::fromLatin1(kAppIdentity) + QStringLiteral("/settings.ini");
}

AppSettings::AppSettings(QString file) : file_(file.isEmpty() ? default_settings_file() : std::move(file)) {}

std::optional<int> AppSettings::language_id() const {
  if (!QFileInfo::exists(file_)) return std::nullopt;
  QSettings s(file_, QSettings::IniFormat);
  bool ok = false;
  const int id = s.value(QString::fromLatin1(kLanguageSetting)).toInt(&ok);
  if (!ok) return std::nullopt;
  return id;
}

bool AppSettings::set_language_id(int id) {
  if (!QDir().mkpath(QFileInfo(file_).absolutePath())) return false;
  QSettings s(file_, QSettings::IniFormat);
  s.setValue(QString::fromLatin1(kLanguageSetting), id);
  s.sync();
  return s.status() == QSettings::NoError;
}

}  // namespace qxr::app

#include "app/startup/autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/startup/app_identity.h"
#include "core/atomic_file.h"

namespace qxr::app {
namespace {

// An Exec argument: quoted when it holds anything but plain path characters; inside the quotes
// '"', '`', '$' and '\' are escaped, and every '\' is doubled once more for the key file.
QString exec_argument(const QString& arg) {
  bool plain = !arg.isEmpty();
  for (QChar c : arg) {
    plain = plain && (c.isLetterOrNumber() || QStringLiteral("/._+-").contains(c));
  }
  if (plain) return arg;
  QString quoted = QStringLiteral("\"");
  for (QChar c : arg) {
    if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')) {
      quoted += QStringLiteral("\\\\");
    } else if (c == QLatin1Char('\\')) {
      quoted += QStringLiteral("\\\\\\");
    } else if (c == QLatin1Char('%')) {
      quoted += QLatin1Char('%');
    }
    quoted += c;
  }
  return quoted + QLatin1Char('"');
}

}  // namespace

QString default_autostart_file() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
  return base + QStringLiteral("/autostart/") + QString::fromLatin1(kAutostartFileName);
}

QString autostart_entry(const QString& program) {
  return QStringLiteral(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=%1\n"
             "Exec=%2 %3\n"
             "Icon=qxr470\n"
             "Terminal=false\n"
             "X-GNOME-Autostart-enabled=true\n")
      .arg(QString::fromLatin1(kAppIdentity), exec_argument(program), QString::fromLatin1(kMinimizedOption));
}

bool autostart_enabled(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return false;
  for (const QByteArray& line : f.readAll().split('\n')) {
    if (line.trimmed() == "Hidden=true") return false;
  }
  return true;
}

bool set_autostart(const QString& file, bool on, const QString& program) {
  if (!on) return !QFileInfo::exists(file) || QFile::remove(file);
  if (!QDir().mkpath(QFileInfo(file).absolutePath())) return false;
  return write_file_atomic(file.toStdString(), autostart_entry(program).toStdString());
}

}  // namespace qxr::app

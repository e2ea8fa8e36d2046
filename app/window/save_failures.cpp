#include "app/window/save_failures.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>

#include "app/window/user_prompts.h"
#include "profile/write_outcomes.h"
#include "ui/language.h"

namespace qxr::app {

SaveFailureNotice::SaveFailureNotice(QWidget* window) : QObject(window), window_(window) {
  SetWriteListener([this](const WriteOutcome& outcome) {
    // Writes happen on the devices' threads: the notice belongs to the UI thread.
    QMetaObject::invokeMethod(this, [this, outcome] { take(outcome.path, outcome.error); }, Qt::QueuedConnection);
  });
}

SaveFailureNotice::~SaveFailureNotice() { SetWriteListener({}); }

void SaveFailureNotice::take(const std::string& path, int error) {
  if (error == 0) {
    failing_ = false;
    return;
  }
  const bool new_burst = !failing_ || last_failure_.elapsed() > kSaveFailureQuietMs;
  failing_ = true;
  last_failure_.restart();
  if (!new_burst) return;
  ++shown_;
  prompts().notify(window_, save_failure_text(path, error));
}

QString save_failure_text(const std::string& path, int error) {
  const QString folder = QDir::toNativeSeparators(QFileInfo(QString::fromStdString(path)).absolutePath());
  const QString reason = QString::fromLocal8Bit(std::strerror(error));
  QString format = ui::Language::instance().text(QString::fromLatin1(kSaveFailedText));
  // Without the language files the notice must still say where and why.
  if (!format.contains(QLatin1String("%1")) || !format.contains(QLatin1String("%2"))) {
    format = QStringLiteral("Changes could not be saved in %1 (%2).");
  }
  return format.arg(folder, reason);
}

}  // namespace qxr::app

#include "app/startup/sleep_watcher.h"

#ifdef QXR_HAVE_DBUS
#include <QDBusConnection>
#endif

namespace qxr::app {

SleepWatcher::SleepWatcher(QObject* parent) : QObject(parent) {
#ifdef QXR_HAVE_DBUS
  QDBusConnection bus = QDBusConnection::systemBus();
  if (bus.isConnected()) {
    watching_ = bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                            SLOT(prepare_for_sleep(bool)));
  }
#endif
}

void SleepWatcher::prepare_for_sleep(bool start) {
  if (start) {
    emit suspending();
  } else {
    emit resumed();
  }
}

}  // namespace qxr::app

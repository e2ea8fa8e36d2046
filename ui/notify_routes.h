#pragma once
// A routing table for notifications: by type, then by the sender's exact name or by the prefix
// of an indexed name ("key_" for "key_12"). A window fills one table at start-up and hands
// every notification to dispatch, instead of comparing names in a chain of ifs.
#include <QHash>
#include <QString>

#include <functional>

#include "ui/notification.h"

namespace qxr::ui {

class NotifyRoutes {
 public:
  // index is the number after the prefix for prefix routes, -1 otherwise.
  using Handler = std::function<void(const Notification& notification, int index)>;

  // A later route for the same type and name replaces the earlier one.
  void on(const QString& type, const QString& name, Handler handler);
  void on_prefix(const QString& type, const QString& prefix, Handler handler);
  // Any sender, after the exact and prefix routes of the type found nothing.
  void on_any(const QString& type, Handler handler);

  // Runs the route that matches: exact name first, then the indexed name's prefix, then the
  // type's catch-all. False when no route took the notification.
  bool dispatch(const Notification& notification) const;

 private:
  static QString key(const QString& type, const QString& name) { return type + QLatin1Char('\n') + name; }
  QHash<QString, Handler> exact_;
  QHash<QString, Handler> prefixed_;
  QHash<QString, Handler> any_;
};

}  // namespace qxr::ui

#include "ui/notify_routes.h"

#include "ui/indexed_name.h"

namespace qxr::ui {

void NotifyRoutes::on(const QString& type, const QString& name, Handler handler) {
  if (handler) exact_.insert(key(type, name), std::move(handler));
}

void NotifyRoutes::on_prefix(const QString& type, const QString& prefix, Handler handler) {
  if (handler) prefixed_.insert(key(type, prefix), std::move(handler));
}

void NotifyRoutes::on_any(const QString& type, Handler handler) {
  if (handler) any_.insert(type, std::move(handler));
}

bool NotifyRoutes::dispatch(const Notification& n) const {
  if (auto it = exact_.constFind(key(n.type, n.sender_name)); it != exact_.constEnd()) {
    (*it)(n, -1);
    return true;
  }
  if (auto split = split_indexed_name(n.sender_name)) {
    if (auto it = prefixed_.constFind(key(n.type, split->prefix)); it != prefixed_.constEnd()) {
      (*it)(n, split->index);
      return true;
    }
  }
  if (auto it = any_.constFind(n.type); it != any_.constEnd()) {
    (*it)(n, -1);
    return true;
  }
  return false;
}

}  // namespace qxr::ui

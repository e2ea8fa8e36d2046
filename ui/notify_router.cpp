#include <QEvent>

#include "ui/notification.h"

namespace qxr::ui {
namespace {

// Lives as a child of the root it serves, so it dies with that window.
class NotifyRoute : public QObject {
 public:
  NotifyRoute(QWidget* root, NotifyHandler* handler) : QObject(root), root_(root), handler_(handler) {
    setObjectName(QStringLiteral("qxr_notify_route"));
    root->installEventFilter(this);
    initialised_ = root->isVisible();
  }
  NotifyHandler* handler() const { return handler_; }
  void set_handler(NotifyHandler* handler) { handler_ = handler; }
  void detach(const NotifyHandler* handler) {
    if (handler_ == handler) handler_ = nullptr;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == root_ && handler_ != nullptr) {
      if (event->type() == QEvent::Show && !initialised_) {
        initialised_ = true;
        send_notify(root_, notify_type::kWindowInit);
      } else if (event->type() == QEvent::Resize) {
        send_notify(root_, notify_type::kWindowSize, root_->width(), root_->height());
      }
    }
    return false;
  }

 private:
  QWidget* root_;
  NotifyHandler* handler_;
  bool initialised_ = false;
};

NotifyRoute* route_of(const QWidget* widget) {
  return widget->findChild<NotifyRoute*>(QStringLiteral("qxr_notify_route"), Qt::FindDirectChildrenOnly);
}

}  // namespace

NotifyHandler::~NotifyHandler() {
  for (const QPointer<QObject>& route : routes_) {
    if (route != nullptr) static_cast<NotifyRoute*>(route.data())->detach(this);
  }
}

void set_notify_handler(QWidget* root, NotifyHandler* handler) {
  if (root == nullptr) return;
  NotifyRoute* route = route_of(root);
  if (handler == nullptr) {
    delete route;
    return;
  }
  if (route == nullptr) {
    route = new NotifyRoute(root, handler);
  } else {
    route->set_handler(handler);
  }
  handler->routes_.removeAll(QPointer<QObject>());
  if (!handler->routes_.contains(route)) handler->routes_.push_back(route);
}

NotifyHandler* notify_handler_for(const QWidget* widget) {
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    if (NotifyRoute* route = route_of(w)) {
      if (route->handler() != nullptr) return route->handler();
    }
  }
  return nullptr;
}

bool send_notify(QWidget* sender, const QString& type, qintptr param1, qintptr param2) {
  if (sender == nullptr) return false;
  NotifyHandler* handler = notify_handler_for(sender);
  if (handler == nullptr) return false;
  Notification n{type, sender->objectName(), QPointer<QWidget>(sender), param1, param2};
  handler->Notify(n);
  return true;
}

bool send_menu_notify(QWidget* owner, const QString& item_name) {
  if (owner == nullptr) return false;
  NotifyHandler* handler = notify_handler_for(owner);
  if (handler == nullptr) return false;
  handler->Notify({notify_type::kMenu, item_name, QPointer<QWidget>(owner), 0, 0});
  return true;
}

}  // namespace qxr::ui

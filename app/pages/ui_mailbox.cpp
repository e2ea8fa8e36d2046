#include "app/pages/ui_mailbox.h"

namespace qxr::app {

void UiMailbox::post(std::function<void()> work) {
  bool wake;
  {
    std::lock_guard lock(mutex_);
    pending_.push_back(std::move(work));
    wake = !wake_queued_;
    wake_queued_ = true;
  }
  if (wake) QMetaObject::invokeMethod(this, "drain", Qt::QueuedConnection);
}

void UiMailbox::drain() {
  std::vector<std::function<void()>> work;
  {
    std::lock_guard lock(mutex_);
    work.swap(pending_);
    wake_queued_ = false;
  }
  for (auto& w : work) w();
}

}  // namespace qxr::app

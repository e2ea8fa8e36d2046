#pragma once
// Hands work from device threads to the UI thread. The hand-over goes through our own mutex
// and not only through Qt's event queue, so ThreadSanitizer, which cannot see inside the
// uninstrumented Qt libraries, sees the ordering too; the wake-up is one queued call by name
// that carries no data of ours.
#include <QObject>

#include <functional>
#include <mutex>
#include <vector>

namespace qxr::app {

class UiMailbox : public QObject {
  Q_OBJECT
 public:
  // Lives on the thread of parent (the UI thread); destroyed with it.
  explicit UiMailbox(QObject* parent) : QObject(parent) {}

  // Any thread. Work runs on the UI thread in the order posted.
  void post(std::function<void()> work);

 private:
  Q_INVOKABLE void drain();

  std::mutex mutex_;
  std::vector<std::function<void()>> pending_;
  bool wake_queued_ = false;
};

}  // namespace qxr::app

#pragma once
// Suspend and resume of the computer, from logind's PrepareForSleep signal on the system bus.
// Without a system bus (containers, some tests) it stays silent.
#include <QObject>

namespace qxr::app {

class SleepWatcher : public QObject {
  Q_OBJECT
 public:
  explicit SleepWatcher(QObject* parent = nullptr);
  bool watching() const { return watching_; }

 signals:
  void suspending();
  void resumed();

 private slots:
  void prepare_for_sleep(bool start);

 private:
  bool watching_ = false;
};

}  // namespace qxr::app

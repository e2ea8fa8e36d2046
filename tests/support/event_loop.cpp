// The event loop is run in short slices with a short sleep between them, so that worker
// threads get the core while the test waits.
#include "tests/support/event_loop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace qxr::testing::qt {

namespace {

void run_slice() {
  QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  QThread::msleep(2);
}

}  // namespace

bool wait_until(const std::function<bool()>& pred, int timeout_ms) {
  QElapsedTimer t;
  t.start();
  while (!pred()) {
    if (t.elapsed() > timeout_ms) return pred();
    run_slice();
  }
  return true;
}

void settle() {
  // Each round delivers what the round before posted; a handful covers any chain a widget
  // starts (layout, update request, paint).
  constexpr int kRounds = 8;
  for (int i = 0; i < kRounds; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
}

void spin(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) run_slice();
}

}  // namespace qxr::testing::qt

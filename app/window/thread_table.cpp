#include "app/window/thread_table.h"

#include "core/debug_line.h"

namespace qxr::app {

void ThreadTable::attach(size_t slot, Signal signal, Stop stop) {
  if (slot >= kThreadSlots) return;
  slots_[slot] = {std::move(signal), std::move(stop)};
}

int ThreadTable::shutdown() {
  for (Slot& s : slots_) {
    if (s.signal) s.signal();
  }
  int late = 0;
  for (size_t i = 0; i < kThreadSlots; ++i) {
    Slot& s = slots_[i];
    if (!s.stop) continue;
    switch (s.stop()) {
      case WorkerThread::StopOutcome::Ended:
        debug_line(kAllEndedLine);
        break;
      case WorkerThread::StopOutcome::TimedOut:
        debug_line(kTimedOutLine);
        ++late;
        break;
      case WorkerThread::StopOutcome::NotRunning:
        break;
    }
    s = {};
  }
  return late;
}

}  // namespace qxr::app

#pragma once
// The main window's worker threads, by slot: 0 discovery, 1 audio daemon, 8 synchronised
// lighting. At shutdown every slot is signalled first, then each is waited for in slot order
// (up to 1000 ms) and its outcome written; every thread is joined, none is killed.
#include <array>
#include <functional>

#include "core/worker_thread.h"

namespace qxr::app {

inline constexpr size_t kThreadSlots = 20;
inline constexpr size_t kDiscoverySlot = 0;
inline constexpr size_t kAudioDaemonSlot = 1;
inline constexpr size_t kSyncLightingSlot = 8;

inline constexpr const char* kAllEndedLine = "所有对象处于激发状态\n";
inline constexpr const char* kTimedOutLine = "所有对象处于非激发状态，超时\n";

class ThreadTable {
 public:
  using Signal = std::function<void()>;
  using Stop = std::function<WorkerThread::StopOutcome()>;

  // signal may be empty for a thread whose stop does both.
  void attach(size_t slot, Signal signal, Stop stop);
  bool attached(size_t slot) const { return slot < kThreadSlots && static_cast<bool>(slots_[slot].stop); }
  // Returns the number of threads that did not end within their wait.
  int shutdown();

 private:
  struct Slot {
    Signal signal;
    Stop stop;
  };
  std::array<Slot, kThreadSlots> slots_{};
};

}  // namespace qxr::app

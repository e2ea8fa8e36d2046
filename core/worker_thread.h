#pragma once
// A worker thread with its own stop event. Stopping never kills: it sets the event, lets
// the owner cancel pending transport I/O, waits up to the grace period, reports the outcome
// in the debug output and then joins.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "core/stop_event.h"

namespace qxr {

inline constexpr int kThreadStopWaitMs = 1000;

// The outcome lines written when a thread is stopped.
inline constexpr const char* kThreadEndedLine = "线程退出：：对象处于激发状态\n";
inline constexpr const char* kThreadTimeoutLine = "线程退出：：对象处于非激发状态，超时\n";

class WorkerThread {
 public:
  using Body = std::function<void(StopEvent& stop)>;
  enum class StopOutcome { NotRunning, Ended, TimedOut };

  WorkerThread() = default;
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Resets the stop event and runs body on a new thread. False if already running.
  bool start(Body body);
  // cancel runs after the event is set, e.g. to release a read waiting without timeout.
  StopOutcome stop(const std::function<void()>& cancel = {}, int wait_ms = kThreadStopWaitMs);
  bool running() const;
  StopEvent& stop_event() { return stop_; }
  bool is_current_thread() const { return thread_.get_id() == std::this_thread::get_id(); }
  // The thread's name (see core/thread_name.h); given to the next start, and to the running
  // thread at once.
  void set_name(std::string name);

 private:
  StopEvent stop_;
  std::thread thread_;
  std::string name_;  // under mutex_
  mutable std::mutex mutex_;
  std::condition_variable done_cv_;
  bool done_ = true;
};

}  // namespace qxr

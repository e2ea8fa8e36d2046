#include "core/worker_thread.h"

#include <chrono>

#include "core/debug_line.h"
#include "core/thread_name.h"

namespace qxr {

WorkerThread::~WorkerThread() {
  if (thread_.joinable()) stop();
}

bool WorkerThread::start(Body body) {
  if (thread_.joinable()) return false;
  stop_.reset();
  std::string name;
  {
    std::lock_guard lock(mutex_);
    done_ = false;
    name = name_;
  }
  // Named on both sides: the body runs under its name, and the name is there when start returns.
  thread_ = std::thread([this, name, body = std::move(body)]() mutable {
    name_this_thread(name);
    body(stop_);
    std::lock_guard lock(mutex_);
    done_ = true;
    done_cv_.notify_all();
  });
  name_thread(thread_, name);
  return true;
}

WorkerThread::StopOutcome WorkerThread::stop(const std::function<void()>& cancel, int wait_ms) {
  if (!thread_.joinable()) return StopOutcome::NotRunning;
  stop_.set();
  if (cancel) cancel();
  bool ended;
  {
    std::unique_lock lock(mutex_);
    ended = done_cv_.wait_for(lock, std::chrono::milliseconds(wait_ms), [this] { return done_; });
  }
  debug_line(ended ? kThreadEndedLine : kThreadTimeoutLine);
  // Joined even after a timeout: a forced end could leave a channel lock held.
  thread_.join();
  return ended ? StopOutcome::Ended : StopOutcome::TimedOut;
}

void WorkerThread::set_name(std::string name) {
  std::lock_guard lock(mutex_);
  name_ = std::move(name);
  if (!done_) name_thread(thread_, name_);
}

bool WorkerThread::running() const {
  std::lock_guard lock(mutex_);
  return !done_;
}

}  // namespace qxr

#pragma once
// Runs posted tasks one after another on a thread of its own, in the order they were posted.
// Each device gets one, so that its commands and light frames never run on the UI thread and
// never overtake each other.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace qxr {

class SerialExecutor {
 public:
  using Task = std::function<void()>;

  SerialExecutor() = default;
  ~SerialExecutor();
  SerialExecutor(const SerialExecutor&) = delete;
  SerialExecutor& operator=(const SerialExecutor&) = delete;

  void start();
  // Runs what is queued, then ends the thread. Tasks posted afterwards are dropped.
  void stop();
  // False (and the task is dropped) when the executor is not running.
  bool post(Task task);
  // Posts unless a task with the same key is still waiting; for work where only the newest
  // request matters (a light frame, a status poll), so a slow device never builds a backlog.
  bool post_coalesced(const std::string& key, Task task);
  // Blocks until every task posted before this call has run (tests, shutdown ordering).
  void drain();
  size_t pending() const;
  bool running() const;
  bool on_executor_thread() const { return std::this_thread::get_id() == thread_.get_id(); }
  // The thread's name (see core/thread_name.h); kept for the next start as well.
  void set_name(std::string name);

 private:
  struct Item {
    std::string key;
    Task task;
  };
  void run();

  mutable std::mutex mutex_;
  std::condition_variable cv_;
  std::condition_variable idle_cv_;
  std::deque<Item> queue_;
  std::thread thread_;
  std::string name_;
  bool running_ = false;
  bool stopping_ = false;
  bool busy_ = false;
};

}  // namespace qxr

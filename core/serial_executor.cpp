#include "core/serial_executor.h"

#include <algorithm>

#include "core/thread_name.h"

namespace qxr {

SerialExecutor::~SerialExecutor() { stop(); }

void SerialExecutor::start() {
  std::lock_guard lock(mutex_);
  if (running_) return;
  running_ = true;
  stopping_ = false;
  thread_ = std::thread([this, name = name_] {
    name_this_thread(name);
    run();
  });
  name_thread(thread_, name_);
}

void SerialExecutor::set_name(std::string name) {
  std::lock_guard lock(mutex_);
  name_ = std::move(name);
  if (running_) name_thread(thread_, name_);
}

void SerialExecutor::stop() {
  {
    std::lock_guard lock(mutex_);
    if (!running_) return;
    stopping_ = true;
  }
  cv_.notify_all();
  if (thread_.joinable() && !on_executor_thread()) thread_.join();
  std::lock_guard lock(mutex_);
  running_ = false;
}

bool SerialExecutor::post(Task task) { return post_coalesced({}, std::move(task)); }

bool SerialExecutor::post_coalesced(const std::string& key, Task task) {
  {
    std::lock_guard lock(mutex_);
    if (!running_ || stopping_) return false;
    if (!key.empty() && std::any_of(queue_.begin(), queue_.end(), [&](const Item& i) { return i.key == key; }))
      return true;
    queue_.push_back({key, std::move(task)});
  }
  cv_.notify_one();
  return true;
}

void SerialExecutor::drain() {
  if (on_executor_thread()) return;
  std::unique_lock lock(mutex_);
  idle_cv_.wait(lock, [this] { return !running_ || (queue_.empty() && !busy_); });
}

size_t SerialExecutor::pending() const {
  std::lock_guard lock(mutex_);
  return queue_.size() + (busy_ ? 1 : 0);
}

bool SerialExecutor::running() const {
  std::lock_guard lock(mutex_);
  return running_ && !stopping_;
}

void SerialExecutor::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    cv_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) break;  // stopping with nothing left
    Item item = std::move(queue_.front());
    queue_.pop_front();
    busy_ = true;
    lock.unlock();
    item.task();
    lock.lock();
    busy_ = false;
    if (queue_.empty()) idle_cv_.notify_all();
  }
  busy_ = false;
  idle_cv_.notify_all();
}

}  // namespace qxr

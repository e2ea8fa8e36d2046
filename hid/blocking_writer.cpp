#include "hid/blocking_writer.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdlib>

#include "core/thread_name.h"

namespace qxr::hid {

BlockingWriter::BlockingWriter(const std::string& name) {
  done_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (done_fd_ < 0) std::abort();  // out of descriptors
  thread_ = std::thread([this, name] {
    name_this_thread(name);
    run();
  });
  name_thread(thread_, name);
}

BlockingWriter::~BlockingWriter() {
  {
    std::unique_lock lock(mutex_);
    cv_.wait(lock, [this] { return !busy_; });
    quit_ = true;
  }
  cv_.notify_all();
  thread_.join();
  ::close(done_fd_);
}

bool BlockingWriter::busy() const {
  std::lock_guard lock(mutex_);
  return busy_;
}

bool BlockingWriter::start(Job job) {
  {
    std::lock_guard lock(mutex_);
    if (busy_) return false;
    uint64_t v;
    while (::read(done_fd_, &v, sizeof v) > 0) {
    }
    job_ = std::move(job);
    busy_ = true;
  }
  cv_.notify_all();
  return true;
}

ssize_t BlockingWriter::take_result() {
  std::lock_guard lock(mutex_);
  uint64_t v;
  while (::read(done_fd_, &v, sizeof v) > 0) {
  }
  return result_;
}

void BlockingWriter::wait_idle() {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [this] { return !busy_; });
}

void BlockingWriter::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    cv_.wait(lock, [this] { return quit_ || job_; });
    if (quit_) return;
    Job job = std::move(job_);
    job_ = nullptr;
    lock.unlock();
    const ssize_t r = job();
    lock.lock();
    result_ = r;
    busy_ = false;
    uint64_t one = 1;
    ssize_t n = ::write(done_fd_, &one, sizeof one);
    (void)n;
    cv_.notify_all();
  }
}

}  // namespace qxr::hid

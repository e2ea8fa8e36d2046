#pragma once
// Runs a write that the kernel may block (a hidraw write or SET_REPORT waits up to seconds on a
// stalled device, O_NONBLOCK or not) on a helper thread, so that the caller can give up at its
// own timeout or on cancel. A write that was given up on still finishes in the background; the
// next one waits for it first.
#include <sys/types.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace qxr::hid {

class BlockingWriter {
 public:
  using Job = std::function<ssize_t()>;  // bytes written, or -errno

  // name: the helper thread's name (see core/thread_name.h).
  explicit BlockingWriter(const std::string& name = "hid writer");
  ~BlockingWriter();  // waits for a write in flight, then ends the thread
  BlockingWriter(const BlockingWriter&) = delete;
  BlockingWriter& operator=(const BlockingWriter&) = delete;

  // Readable once the job in flight has finished (poll it with the cancel descriptor).
  int done_fd() const { return done_fd_; }
  bool busy() const;
  // Starts the job. False when one is still in flight.
  bool start(Job job);
  // The finished job's result; clears done_fd. Only meaningful when !busy().
  ssize_t take_result();
  // Blocks until no job is in flight.
  void wait_idle();

 private:
  void run();

  int done_fd_ = -1;
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  Job job_;
  bool busy_ = false;
  bool quit_ = false;
  ssize_t result_ = 0;
  std::thread thread_;
};

}  // namespace qxr::hid

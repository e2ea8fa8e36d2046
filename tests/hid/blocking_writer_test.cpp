#include "hid/blocking_writer.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <thread>
#include <vector>

#include "core/thread_name.h"

namespace qxr::hid {
namespace {

// A write into a full blocking pipe stands in for a kernel write stalled on a device.
class StalledPipe {
 public:
  StalledPipe() {
    EXPECT_EQ(::pipe2(fds_, O_CLOEXEC), 0);
    ::fcntl(fds_[1], F_SETFL, O_NONBLOCK);
    std::vector<char> chunk(4096, 'x');
    while (::write(fds_[1], chunk.data(), chunk.size()) > 0) {
    }
    ::fcntl(fds_[1], F_SETFL, 0);  // from now on a write blocks
  }
  ~StalledPipe() {
    ::close(fds_[0]);
    ::close(fds_[1]);
  }
  int write_end() const { return fds_[1]; }
  void unblock() {
    std::vector<char> sink(1 << 16);
    ::fcntl(fds_[0], F_SETFL, O_NONBLOCK);
    while (::read(fds_[0], sink.data(), sink.size()) > 0) {
    }
  }

 private:
  int fds_[2];
};

bool done_within(const BlockingWriter& w, int ms) {
  pollfd p{w.done_fd(), POLLIN, 0};
  return ::poll(&p, 1, ms) == 1;
}

TEST(BlockingWriter, CallerCanGiveUpOnAStalledWriteWhichFinishesLater) {
  StalledPipe pipe;
  BlockingWriter writer;
  const int fd = pipe.write_end();
  ASSERT_TRUE(writer.start([fd]() -> ssize_t {
    char b[64] = {};
    ssize_t n = ::write(fd, b, sizeof b);
    return n < 0 ? -errno : n;
  }));
  EXPECT_FALSE(done_within(writer, 50));  // the caller's timeout expires, the write goes on
  EXPECT_TRUE(writer.busy());
  EXPECT_FALSE(writer.start([] { return ssize_t{0}; }));  // one at a time

  pipe.unblock();
  ASSERT_TRUE(done_within(writer, 5000));
  EXPECT_FALSE(writer.busy());
  EXPECT_EQ(writer.take_result(), 64);
  EXPECT_FALSE(done_within(writer, 0));  // taking the result clears the signal

  ASSERT_TRUE(writer.start([] { return ssize_t{-EIO}; }));
  writer.wait_idle();
  EXPECT_EQ(writer.take_result(), -EIO);
}

TEST(BlockingWriter, DestructionWaitsForTheWriteInFlight) {
  StalledPipe pipe;
  std::atomic<bool> finished{false};
  std::thread unblocker;
  {
    BlockingWriter writer;
    const int fd = pipe.write_end();
    ASSERT_TRUE(writer.start([fd, &finished]() -> ssize_t {
      char b[16] = {};
      ssize_t n = ::write(fd, b, sizeof b);
      finished = true;
      return n;
    }));
    unblocker = std::thread([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
      pipe.unblock();
    });
  }  // the write is still stalled here: the destructor must wait for it
  EXPECT_TRUE(finished);
  unblocker.join();
}

TEST(BlockingWriter, WritesRunOnAThreadNamedForTheirDevice) {
  BlockingWriter writer("keyboard writer");
  std::string name;
  ASSERT_TRUE(writer.start([&name]() -> ssize_t {
    name = this_thread_name();
    return 0;
  }));
  writer.wait_idle();
  EXPECT_EQ(name, "keyboard writer");
}

}  // namespace
}  // namespace qxr::hid

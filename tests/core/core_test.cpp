#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "core/atomic_file.h"
#include "core/clock.h"
#include "core/debug_line.h"
#include "core/serial_executor.h"
#include "core/stop_event.h"
#include "core/thread_name.h"
#include "core/worker_thread.h"
#include "tests/support/temp_folder.h"

using namespace qxr;
using namespace std::chrono_literals;

TEST(StopEvent, ManualResetStaysSetUntilReset) {
  StopEvent e;
  EXPECT_FALSE(e.is_set());
  EXPECT_FALSE(e.wait(5));
  e.set();
  e.set();
  EXPECT_TRUE(e.is_set());
  EXPECT_TRUE(e.wait(0));
  EXPECT_TRUE(e.is_set());  // waiting does not consume it
  e.reset();
  EXPECT_FALSE(e.is_set());
}

TEST(StopEvent, InfiniteWaitReleasedFromAnotherThread) {
  StopEvent e;
  std::thread t([&] {
    std::this_thread::sleep_for(20ms);
    e.set();
  });
  EXPECT_TRUE(e.wait(kInfinite));
  t.join();
}

TEST(WorkerThread, StopEndsAndReportsOutcomeLine) {
  DebugCapture cap;
  WorkerThread w;
  std::atomic<int> loops{0};
  ASSERT_TRUE(w.start([&](StopEvent& stop) {
    while (!stop.wait(1)) loops++;
  }));
  EXPECT_FALSE(w.start([](StopEvent&) {}));  // already running
  std::this_thread::sleep_for(10ms);
  EXPECT_EQ(w.stop(), WorkerThread::StopOutcome::Ended);
  EXPECT_EQ(cap.count(kThreadEndedLine), 1);
  EXPECT_FALSE(w.running());
  EXPECT_EQ(w.stop(), WorkerThread::StopOutcome::NotRunning);
  // Restartable after a stop: the event is reset on start.
  ASSERT_TRUE(w.start([&](StopEvent& stop) { stop.wait(kInfinite); }));
  EXPECT_EQ(w.stop(), WorkerThread::StopOutcome::Ended);
}

TEST(WorkerThread, SlowThreadIsReportedThenStillJoined) {
  DebugCapture cap;
  WorkerThread w;
  std::atomic<bool> finished{false};
  w.start([&](StopEvent&) {
    std::this_thread::sleep_for(150ms);  // ignores its stop event for a while
    finished = true;
  });
  EXPECT_EQ(w.stop({}, 20), WorkerThread::StopOutcome::TimedOut);
  EXPECT_TRUE(finished);  // joined, not abandoned
  EXPECT_EQ(cap.count(kThreadTimeoutLine), 1);
}

TEST(WorkerThread, CancelHookReleasesBlockedBody) {
  WorkerThread w;
  StopEvent device_cancel;  // stands in for a transport's cancel
  w.start([&](StopEvent&) { device_cancel.wait(kInfinite); });
  EXPECT_EQ(w.stop([&] { device_cancel.set(); }), WorkerThread::StopOutcome::Ended);
}

TEST(ManualClock, SleeperWakesOnlyWhenAdvancedPastDeadline) {
  ManualClock clock(100);
  StopEvent stop;
  std::atomic<bool> woke{false};
  std::thread t([&] {
    woke = clock.sleep_until(150, stop);
  });
  ASSERT_TRUE(clock.wait_for_sleepers(1));
  clock.advance(49);
  std::this_thread::sleep_for(10ms);
  EXPECT_FALSE(woke);
  clock.advance(1);
  t.join();
  EXPECT_TRUE(woke);
  EXPECT_EQ(clock.now_ms(), 150u);
}

TEST(ManualClock, StopEndsSleepWithFalse) {
  ManualClock clock;
  StopEvent stop;
  bool result = true;
  std::thread t([&] { result = clock.sleep_until(1000, stop); });
  ASSERT_TRUE(clock.wait_for_sleepers(1));
  stop.set();
  t.join();
  EXPECT_FALSE(result);
}

TEST(SystemClock, SleepUntilPastDeadlineReturnsAtOnce) {
  StopEvent stop;
  auto& c = system_clock();
  EXPECT_TRUE(c.sleep_until(c.now_ms() - 1, stop));
  stop.set();
  EXPECT_FALSE(c.sleep_until(c.now_ms() + 10000, stop));
}

TEST(DebugCapture, CollectsLinesOnlyWhileAlive) {
  debug_line("before");
  DebugCapture cap;
  EXPECT_TRUE(debug_enabled());
  debug_line("命令");
  debug_fmt("{:02x} {}", 10, "x");
  EXPECT_EQ(cap.lines(), (std::vector<std::string>{"命令", "0a x"}));
  EXPECT_EQ(cap.count("0a", true), 1);
  EXPECT_EQ(cap.count("0a"), 0);
}

TEST(AtomicFile, ReplacesWholeFileAndLeavesNoTemporaries) {
  qxr::testing::TempFolder dir;
  const std::string path = dir.file("a.json");
  ASSERT_TRUE(write_file_atomic(path, "first"));
  ASSERT_TRUE(write_file_atomic(path, "second, longer"));
  EXPECT_EQ(qxr::testing::read_text(path), "second, longer");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  int error = 0;
  EXPECT_FALSE(write_file_atomic(dir.file("missing/b.json"), "x", &error));
  EXPECT_EQ(error, ENOENT);
}

#include <signal.h>
#include <sys/wait.h>

#include "core/file_lock.h"

TEST(FileLock, OneHolderAtATimeAndADeadProcessLeavesNoLock) {
  qxr::testing::TempFolder dir;
  const std::string path = dir.file("lock");
  {
    FileLock first;
    ASSERT_TRUE(first.try_lock(path));
    EXPECT_TRUE(FileLock::is_held(path));
    FileLock second;
    EXPECT_FALSE(second.try_lock(path));  // a second descriptor of the same process is refused too
    first.unlock();
    EXPECT_FALSE(FileLock::is_held(path));
    EXPECT_TRUE(second.try_lock(path));
  }
  EXPECT_FALSE(FileLock::is_held(path));  // released with the object

  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    FileLock held;
    const char ok = held.try_lock(path) ? '1' : '0';
    (void)!write(ready[1], &ok, 1);
    pause();
    _exit(0);
  }
  char ok = 0;
  ASSERT_EQ(read(ready[0], &ok, 1), 1);
  EXPECT_EQ(ok, '1');
  FileLock mine;
  EXPECT_FALSE(mine.try_lock(path));
  EXPECT_TRUE(FileLock::is_held(path));
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_TRUE(mine.try_lock(path));
  close(ready[0]);
  close(ready[1]);
  EXPECT_FALSE(FileLock::is_held((std::filesystem::path(path) / "missing").string()));
  EXPECT_FALSE(mine.try_lock((std::filesystem::path(path) / "missing").string()));
}

#include "core/serial_executor.h"

TEST(SerialExecutor, RunsTasksInPostOrderOffTheCallingThread) {
  SerialExecutor ex;
  EXPECT_FALSE(ex.post([] {}));  // not started
  ex.start();
  std::vector<int> order;
  std::thread::id ran_on;
  for (int i = 0; i < 50; ++i) ex.post([&, i] {
    order.push_back(i);
    ran_on = std::this_thread::get_id();
  });
  ex.drain();
  ASSERT_EQ(order.size(), 50u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(order[i], i);
  EXPECT_NE(ran_on, std::this_thread::get_id());
  EXPECT_EQ(ex.pending(), 0u);
}

TEST(SerialExecutor, CoalescedTaskIsQueuedOnceWhileWaiting) {
  SerialExecutor ex;
  ex.start();
  StopEvent gate;
  std::atomic<int> frames{0};
  ex.post([&] { gate.wait(kInfinite); });  // keeps the executor busy
  for (int i = 0; i < 10; ++i) ex.post_coalesced("frame", [&] { frames++; });
  EXPECT_EQ(ex.pending(), 2u);
  gate.set();
  ex.drain();
  EXPECT_EQ(frames, 1);
  ex.post_coalesced("frame", [&] { frames++; });  // queue empty again: accepted
  ex.drain();
  EXPECT_EQ(frames, 2);
}

TEST(SerialExecutor, StopRunsWhatIsQueuedThenRefuses) {
  SerialExecutor ex;
  ex.start();
  std::atomic<int> ran{0};
  for (int i = 0; i < 5; ++i) ex.post([&] {
    std::this_thread::sleep_for(1ms);
    ran++;
  });
  ex.stop();
  EXPECT_EQ(ran, 5);
  EXPECT_FALSE(ex.post([&] { ran++; }));
  EXPECT_FALSE(ex.running());
  ex.drain();  // returns at once when stopped
}

TEST(ThreadName, OwnerAndRoleCutToWhatTheKernelKeeps) {
  EXPECT_EQ(thread_name("keyboard", "light"), "keyboard light");
  EXPECT_EQ(thread_name("", "discovery"), "discovery");
  EXPECT_EQ(thread_name("keyboard", "executor"), "keyboard execut");
  EXPECT_EQ(thread_name("keyboard", "executor").size(), kThreadNameMax);
}

TEST(ThreadName, WorkersAndExecutorsRunUnderTheirNamesAlsoWhenNamedLate) {
  WorkerThread worker;
  worker.set_name("a worker");
  std::string seen;
  worker.start([&](StopEvent&) { seen = this_thread_name(); });
  worker.stop();
  EXPECT_EQ(seen, "a worker");

  SerialExecutor executor;
  executor.start();
  executor.set_name("an executor named too long");  // already running: renamed in place
  std::string ran_as;
  executor.post([&] { ran_as = this_thread_name(); });
  executor.drain();
  EXPECT_EQ(ran_as, "an executor nam");
  executor.stop();
  executor.start();  // the name stays for the next thread
  executor.post([&] { ran_as = this_thread_name(); });
  executor.drain();
  EXPECT_EQ(ran_as, "an executor nam");
  // The calling thread keeps its own name throughout.
  EXPECT_NE(this_thread_name(), "an executor nam");
}

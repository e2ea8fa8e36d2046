#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "core/clock.h"
#include "core/debug_line.h"
#include "core/worker_thread.h"
#include "devices/lighting/keyboard_lighting.h"
#include "devices/lighting/light_cadence.h"
#include "devices/lighting/light_thread.h"
#include "lighting_test_util.h"

using namespace qxr::lighting;
using qxr::lighting::testing::make_info;

TEST(LightCadence, StepIsDueAfterItsCountsAndLateWakesDoNotCatchUp) {
  LightCadence cadence(kKeyboardTickMs);
  cadence.restart(100);
  cadence.set_threshold(5);
  EXPECT_EQ(cadence.next_deadline(), 110u);
  EXPECT_FALSE(cadence.due(109));
  EXPECT_EQ(cadence.counted(109), 4u);
  EXPECT_TRUE(cadence.due(110));
  cadence.stepped(137);  // woke late: one step, counting restarts from the wake
  EXPECT_EQ(cadence.next_deadline(), 147u);
  cadence.set_threshold(1);  // faster: due as soon as one tick is counted
  EXPECT_EQ(cadence.next_deadline(), 139u);
  cadence.set_threshold(0);
  EXPECT_EQ(cadence.threshold(), 1u);
}

namespace {
// A manual clock that records every deadline the thread sleeps towards.
class RecordingClock final : public qxr::Clock {
 public:
  explicit RecordingClock(uint64_t start) : manual_(start) {}
  uint64_t now_ms() const override { return manual_.now_ms(); }
  bool sleep_until(uint64_t deadline_ms, const qxr::StopEvent& stop) override {
    {
      std::lock_guard lock(mutex_);
      deadlines_.push_back(deadline_ms);
    }
    cv_.notify_all();
    return manual_.sleep_until(deadline_ms, stop);
  }
  // Waits until the thread has gone to sleep n times in all.
  bool wait_for_sleeps(size_t n) {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, std::chrono::seconds(5), [&] { return deadlines_.size() >= n; });
  }
  std::vector<uint64_t> deadlines() {
    std::lock_guard lock(mutex_);
    return deadlines_;
  }
  void advance(uint64_t ms) { manual_.advance(ms); }

 private:
  qxr::ManualClock manual_;
  std::mutex mutex_;
  std::condition_variable cv_;
  std::vector<uint64_t> deadlines_;
};

class FixedDriver final : public LightDriver {
 public:
  LightPace pace() override {
    std::lock_guard lock(mutex_);
    return pace_;
  }
  void set_pace(LightPace pace) {
    std::lock_guard lock(mutex_);
    pace_ = pace;
  }
  void step(uint64_t now_ms) override {
    std::lock_guard lock(mutex_);
    steps_.push_back(now_ms);
  }
  std::vector<uint64_t> steps() {
    std::lock_guard lock(mutex_);
    return steps_;
  }

 private:
  std::mutex mutex_;
  LightPace pace_ = LightPace::steps_every(5);
  std::vector<uint64_t> steps_;
};

// The keyboard device's use of the runner, without the device.
class KeyboardDriver final : public LightDriver {
 public:
  explicit KeyboardDriver(KeyboardLighting& lighting) : lighting_(lighting) {}
  LightPace pace() override { return LightPace::steps_every(lighting_.step_ticks()); }
  void step(uint64_t now_ms) override { lighting_.step(now_ms); }

 private:
  KeyboardLighting& lighting_;
};
}  // namespace

TEST(LightThreadRunner, SleepsUntilTheStepIsDueAndNeverInBetween) {
  RecordingClock clock(1000);
  FixedDriver driver;  // 5 ticks of 2 ms
  LightThreadRunner runner(clock, kKeyboardTickMs, kKeyboardLightExitLine);
  ASSERT_TRUE(runner.start(driver));
  ASSERT_TRUE(clock.wait_for_sleeps(1));
  for (int i = 0; i < 9; ++i) clock.advance(1);  // nothing due yet
  clock.advance(1);
  ASSERT_TRUE(clock.wait_for_sleeps(2));
  EXPECT_EQ(clock.deadlines(), (std::vector<uint64_t>{1010, 1020}));
  EXPECT_EQ(driver.steps(), (std::vector<uint64_t>{1010}));

  clock.advance(30);  // a late wake at 1040: one step, no burst of the missed ones
  ASSERT_TRUE(clock.wait_for_sleeps(3));
  EXPECT_EQ(clock.deadlines().back(), 1050u);
  EXPECT_EQ(driver.steps(), (std::vector<uint64_t>{1010, 1040}));
  EXPECT_EQ(runner.wakeups(), 2u);
  EXPECT_EQ(runner.steps(), 2u);
  EXPECT_EQ(runner.stop(), qxr::WorkerThread::StopOutcome::Ended);
}

TEST(LightThreadRunner, KeyboardModesKeepTheirTickCadence) {
  RecordingClock clock(0);
  KeyboardLighting lighting;
  lighting.set_light_info(make_info(kModeColumnBreathing, 4, 4), true);
  KeyboardDriver driver(lighting);
  LightThreadRunner runner(clock, kKeyboardTickMs, kKeyboardLightExitLine);
  ASSERT_TRUE(runner.start(driver));
  ASSERT_TRUE(clock.wait_for_sleeps(1));
  for (size_t i = 2; i <= 4; ++i) {
    clock.advance(kKeyboardTickMs);
    ASSERT_TRUE(clock.wait_for_sleeps(i));
  }
  EXPECT_EQ(clock.deadlines(), (std::vector<uint64_t>{2, 4, 6, 8}));  // every tick
  EXPECT_EQ(lighting.inspect([](const KeyboardEffects& fx) { return fx.state().counter; }), 3);

  lighting.set_light_info(make_info(kModeSweepingBar, 4, 0), true);
  runner.poke();
  ASSERT_TRUE(clock.wait_for_sleeps(5));
  EXPECT_EQ(clock.deadlines().back(), 16u);  // 5 ticks after the last step at 6
  clock.advance(10);
  ASSERT_TRUE(clock.wait_for_sleeps(6));
  EXPECT_EQ(clock.deadlines().back(), 26u);  // every 5 ticks
  EXPECT_EQ(runner.steps(), 4u);
  runner.stop();
}

TEST(LightThreadRunner, IdlesWithoutCountingAndResumesWhenPoked) {
  RecordingClock clock(500);
  FixedDriver driver;
  driver.set_pace(LightPace::idle_for(100));
  LightThreadRunner runner(clock, kLoopMs, kLoopLightExitLine);
  ASSERT_TRUE(runner.start(driver));
  ASSERT_TRUE(clock.wait_for_sleeps(1));
  EXPECT_EQ(clock.deadlines().back(), 600u);
  clock.advance(100);
  ASSERT_TRUE(clock.wait_for_sleeps(2));
  EXPECT_EQ(clock.deadlines().back(), 700u);

  driver.set_pace(LightPace::steps_every(7));
  runner.poke();
  ASSERT_TRUE(clock.wait_for_sleeps(3));
  EXPECT_EQ(clock.deadlines().back(), 614u);  // counting starts when the idling ends
  EXPECT_TRUE(driver.steps().empty());
  runner.stop();
}

TEST(LightThreadRunner, StopsWithinTheGraceTimeFromALongSleep) {
  qxr::DebugCapture capture;
  FixedDriver driver;
  driver.set_pace(LightPace::steps_every(1'000'000));  // over half an hour away
  LightThreadRunner runner(qxr::system_clock(), kKeyboardTickMs, kKeyboardLightExitLine);
  ASSERT_TRUE(runner.start(driver));
  EXPECT_FALSE(runner.start(driver));  // already running
  EXPECT_EQ(runner.stop(), qxr::WorkerThread::StopOutcome::Ended);
  EXPECT_FALSE(runner.running());
  EXPECT_EQ(capture.count(kKeyboardLightExitLine), 1);
  EXPECT_EQ(capture.count(qxr::kThreadEndedLine), 1);
  EXPECT_TRUE(driver.steps().empty());
  // It can run again after a stop.
  ASSERT_TRUE(runner.start(driver));
  EXPECT_EQ(runner.stop(), qxr::WorkerThread::StopOutcome::Ended);
}

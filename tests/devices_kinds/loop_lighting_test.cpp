// The loop-counting lighting model and its light thread on a manual clock.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/clock.h"
#include "core/debug_line.h"
#include "devices/lighting/keyboard_modes.h"
#include "devices/loop/loop_light_thread.h"
#include "devices/loop/loop_lighting.h"

namespace qxr::devices {
namespace {

LoopLightSettings look(uint8_t mode, uint8_t speed) {
  LoopLightSettings s;
  s.mode = mode;
  s.light = 4;
  s.speed = speed;
  s.fx = 1;
  s.multi_color = 0;
  s.colour = {0, 0, 255};
  return s;
}

TEST(LoopLighting, ANewModeStartsDarkFromItsFirstStepWhileOtherChangesKeepTheCounter) {
  LoopLighting model(kMouseModeTable);
  model.set_led_count(6);
  model.set_settings(look(0, 2));
  for (int i = 0; i < 3; ++i) model.step(0);
  LoopFrame frame;
  const uint64_t v1 = model.read_frame(frame);
  ASSERT_EQ(frame.count, 6u);
  const LedRecord after_three = frame.leds[0];

  // Speed only: the wave goes on from where it was.
  model.set_settings(look(0, 4));
  model.step(0);
  const uint64_t v2 = model.read_frame(frame);
  EXPECT_GT(v2, v1);
  EXPECT_NE(frame.leds[0], after_three);

  // Static (mode 3) shows the fixed colour at the level; back to the wave restarts it dark.
  model.set_settings(look(3, 4));
  model.step(0);
  model.read_frame(frame);
  EXPECT_EQ(frame.leds[5], (LedRecord{0, 0, 255, 255}));
  model.set_settings(look(0, 4));
  model.read_frame(frame);
  EXPECT_EQ(frame.leds[5], LedRecord{});
}

TEST(LoopLighting, LedCountIsCappedAndTheProgramModeWithoutStepsIsDark) {
  LoopLighting model(kPadModeTable);
  model.set_led_count(500);
  EXPECT_EQ(model.led_count(), kMaxLoopLeds);
  model.set_led_count(15);
  model.set_settings(look(3, 0));
  model.step(0);
  model.set_settings(look(5, 0));  // the pad's program mode, with no program loaded
  EXPECT_EQ(model.current_effect(), LoopEffect::Program);
  EXPECT_EQ(model.step_loops(), 1u);
  model.step(0);
  LoopFrame frame;
  model.read_frame(frame);
  for (const LedRecord& led : frame.view()) EXPECT_EQ(led, LedRecord{});
}

TEST(LoopLighting, TheProgramPlaysItsStepsOnEveryLoop) {
  LoopLighting model(kPadModeTable);
  model.set_led_count(4);
  lighting::LightProgramStep fixed;
  fixed.type = static_cast<uint8_t>(lighting::ProgramStepType::kStatic);
  fixed.level = 4;
  fixed.speed = 4;
  fixed.colour = {10, 200, 30};
  fixed.duration_ms = 1000;
  model.program().set_steps({fixed});
  model.set_settings(look(5, 0));
  // The static step shows its colour once its own speed's loops (7) are counted.
  for (int i = 0; i < 7; ++i) model.step(0);
  LoopFrame frame;
  model.read_frame(frame);
  EXPECT_EQ(frame.leds[3], (LedRecord{10, 200, 30, 255}));
}

// A manual clock that records the deadlines the light thread sleeps towards.
class SleepCounter final : public Clock {
 public:
  uint64_t now_ms() const override { return manual_.now_ms(); }
  bool sleep_until(uint64_t deadline_ms, const StopEvent& stop) override {
    {
      std::lock_guard lock(mutex_);
      last_deadline_ = deadline_ms;
      ++sleeps_;
    }
    cv_.notify_all();
    return manual_.sleep_until(deadline_ms, stop);
  }
  bool wait_for_sleeps(int n) {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, std::chrono::seconds(5), [&] { return sleeps_ >= n; });
  }
  int sleeps() {
    std::lock_guard lock(mutex_);
    return sleeps_;
  }
  uint64_t last_deadline() {
    std::lock_guard lock(mutex_);
    return last_deadline_;
  }
  void advance(uint64_t ms) { manual_.advance(ms); }

 private:
  ManualClock manual_;
  std::mutex mutex_;
  std::condition_variable cv_;
  int sleeps_ = 0;
  uint64_t last_deadline_ = 0;
};

TEST(LoopLightThread, StepsInBatchesOnceTheirLoopsHavePassedAndSleepsInBetween) {
  SleepCounter clock;
  LoopLighting model(kPadModeTable);
  model.set_led_count(15);
  model.set_settings(look(0, 4));  // a step every 7 loops of 2 ms: a wake per batch, the steps due by then
  LoopLightThread thread(model, clock);
  ASSERT_TRUE(thread.start([] { return true; }));
  ASSERT_TRUE(clock.wait_for_sleeps(1));
  const uint64_t per_wake = kLoopBatchMs / (7 * lighting::kLoopMs);
  const uint64_t fast_wake = kLoopBatchMs;
  EXPECT_EQ(clock.last_deadline(), fast_wake);
  EXPECT_EQ(thread.model_steps(), 0u);
  clock.advance(fast_wake);
  ASSERT_TRUE(clock.wait_for_sleeps(2));
  EXPECT_EQ(thread.model_steps(), per_wake);

  // Speed 0 waits 28 loops, longer than a batch: one step per wake. Poked, the thread sleeps
  // towards the new deadline.
  model.set_settings(look(0, 0));
  thread.poke();
  ASSERT_TRUE(clock.wait_for_sleeps(3));
  EXPECT_EQ(clock.last_deadline(), fast_wake + 28 * lighting::kLoopMs);
  clock.advance(28 * lighting::kLoopMs);
  ASSERT_TRUE(clock.wait_for_sleeps(4));
  EXPECT_EQ(thread.model_steps(), per_wake + 1);
  thread.stop();
}

TEST(LoopLightThread, RunsTheProgramsLoopsInBatchesAndIdlesWhileItMayNotRun) {
  qxr::DebugCapture capture;
  SleepCounter clock;
  LoopLighting model(kPadModeTable);
  model.set_led_count(15);
  model.set_settings(look(5, 2));
  lighting::LightProgramStep wave;
  wave.type = static_cast<uint8_t>(lighting::ProgramStepType::kWave);
  wave.duration_ms = 100'000;
  model.set_program_steps({wave});
  std::atomic<bool> may_run{true};
  LoopLightThread thread(model, clock);
  ASSERT_TRUE(thread.start([&] { return may_run.load(); }));
  ASSERT_TRUE(clock.wait_for_sleeps(1));
  EXPECT_EQ(clock.last_deadline(), kLoopBatchMs);
  clock.advance(kLoopBatchMs);
  ASSERT_TRUE(clock.wait_for_sleeps(2));
  // One wake, every loop of the batch stepped.
  EXPECT_EQ(thread.model_steps(), kLoopBatchMs / lighting::kLoopMs);

  // May not run: it rests until poked, not waking to look.
  may_run = false;
  thread.poke();
  ASSERT_TRUE(clock.wait_for_sleeps(3));
  const uint64_t steps = thread.model_steps();
  EXPECT_EQ(clock.last_deadline(), clock.now_ms() + lighting::kMaxLightSleepMs);
  // Allowed again: a step at once, none for the time at rest.
  clock.advance(10'000);
  may_run = true;
  thread.poke();
  ASSERT_TRUE(clock.wait_for_sleeps(4));
  EXPECT_EQ(thread.model_steps(), steps + 1);
  EXPECT_EQ(clock.last_deadline(), clock.now_ms() + kLoopBatchMs);
  thread.stop();
  EXPECT_TRUE(capture.contains(lighting::kLoopLightExitLine));
}

TEST(LoopLightThread, AFixedColourIsSteppedOnceAndThenWaitsForNewSettings) {
  SleepCounter clock;
  LoopLighting model(kMouseModeTable);
  model.set_led_count(6);
  model.set_settings(look(3, 4));  // static
  LoopLightThread thread(model, clock);
  ASSERT_TRUE(thread.start([] { return true; }));
  ASSERT_TRUE(clock.wait_for_sleeps(1));
  clock.advance(clock.last_deadline());
  ASSERT_TRUE(clock.wait_for_sleeps(2));
  EXPECT_GE(thread.model_steps(), 1u);
  EXPECT_TRUE(model.settled());
  // At its next wake it finds nothing to do and sleeps as long as it may.
  clock.advance(clock.last_deadline() - clock.now_ms());
  ASSERT_TRUE(clock.wait_for_sleeps(3));
  EXPECT_GE(clock.last_deadline(), clock.now_ms() + lighting::kMaxLightSleepMs);
  const uint64_t steps = thread.model_steps();
  clock.advance(1000);
  EXPECT_EQ(thread.model_steps(), steps);

  // A new colour makes it step again.
  LoopLightSettings red = look(3, 4);
  red.colour = {255, 0, 0};
  model.set_settings(red);
  thread.poke();
  ASSERT_TRUE(clock.wait_for_sleeps(4));
  clock.advance(clock.last_deadline() - clock.now_ms());
  ASSERT_TRUE(clock.wait_for_sleeps(5));
  LoopFrame frame;
  model.read_frame(frame);
  EXPECT_EQ(frame.leds[0], (LedRecord{255, 0, 0, 255}));
  thread.stop();
}

}  // namespace
}  // namespace qxr::devices

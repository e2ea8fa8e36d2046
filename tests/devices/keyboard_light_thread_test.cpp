#include "devices/keyboard/keyboard_light_thread.h"

#include <gtest/gtest.h>

#include <atomic>

#include "core/clock.h"
#include "core/debug_line.h"
#include "devices/lighting/keyboard_modes.h"

namespace qxr::devices {
namespace {

class LightThreadTest : public ::testing::Test {
 protected:
  void run_mode(uint8_t mode, uint8_t speed) {
    LightInfo l;
    l.select_item = mode;
    l.speed = speed;
    l.light = 4;
    model_.set_light_info(l, true);
  }
  static constexpr std::chrono::seconds kWakeTimeout{10};

  // Advances the clock in steps of ms, letting the thread run whatever fell due each time.
  void advance(uint64_t total_ms, uint64_t step_ms) {
    for (uint64_t t = 0; t < total_ms; t += step_ms) {
      ASSERT_TRUE(clock_.wait_for_sleepers(1));
      uint64_t wakes = thread_.runner().wakeups();
      clock_.advance(step_ms);
      // Until the thread has woken; one that never does fails here instead of hanging.
      const auto deadline = std::chrono::steady_clock::now() + kWakeTimeout;
      while (thread_.runner().wakeups() == wakes) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no wake after " << t + step_ms << " ms";
        std::this_thread::yield();
      }
    }
    // The last wake's steps are done once the thread sleeps again.
    ASSERT_TRUE(clock_.wait_for_sleepers(1));
  }

  ManualClock clock_{5000};
  lighting::KeyboardLighting model_;
  KeyboardLightThread thread_{model_, clock_};
};

TEST_F(LightThreadTest, FastModesRunAllTheirStepsInBatches) {
  run_mode(lighting::kModeMusic, 0);  // one step every 2 ticks of 2 ms
  ASSERT_TRUE(thread_.start({}));
  advance(1000, kStepBatchMs);
  // 250 steps a second, as if the thread woke for each, from 50 wakes.
  EXPECT_EQ(thread_.model_steps(), 1000u / (2 * lighting::kKeyboardTickMs));
  EXPECT_LE(thread_.runner().wakeups(), 1000u / kStepBatchMs + 1);
  EXPECT_EQ(thread_.stop(), WorkerThread::StopOutcome::Ended);
}

TEST_F(LightThreadTest, SlowModesStepOnePerWake) {
  run_mode(lighting::kModeColumnWave, 0);  // 20 ticks: one step every 40 ms
  ASSERT_TRUE(thread_.start({}));
  advance(400, 40);
  EXPECT_EQ(thread_.model_steps(), 10u);
  EXPECT_EQ(thread_.stop(), WorkerThread::StopOutcome::Ended);
}

TEST_F(LightThreadTest, IdlesWhileNotAllowedAndWritesItsExitLine) {
  run_mode(lighting::kModeMusic, 0);
  std::atomic<bool> allowed{false};
  ASSERT_TRUE(thread_.start([&] { return allowed.load(); }));
  advance(1000, 100);
  EXPECT_EQ(thread_.model_steps(), 0u);
  allowed = true;
  thread_.poke();
  advance(100, kStepBatchMs);
  EXPECT_GT(thread_.model_steps(), 0u);
  DebugCapture capture;
  EXPECT_EQ(thread_.stop(), WorkerThread::StopOutcome::Ended);
  EXPECT_EQ(capture.count(lighting::kKeyboardLightExitLine), 1);
}

}  // namespace
}  // namespace qxr::devices

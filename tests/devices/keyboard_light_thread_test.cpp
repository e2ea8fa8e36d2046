#include "devices/keyboard/keyboard_light_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <vector>

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
  // One wake per batch, as often as the frames are read.
  constexpr uint32_t kStepMs = 2 * lighting::kKeyboardTickMs;
  advance(25 * kStepBatchMs, kStepBatchMs);
  // 250 steps a second, as if the thread woke for each, from 25 wakes.
  EXPECT_EQ(thread_.model_steps(), 25u * kStepBatchMs / kStepMs);
  EXPECT_LE(thread_.runner().wakeups(), 26u);
  EXPECT_EQ(thread_.stop(), WorkerThread::StopOutcome::Ended);
}

TEST_F(LightThreadTest, StepsThatDoNotDivideTheBatchKeepTheirPace) {
  run_mode(lighting::kModeColumnWave, 0);  // 20 ticks: one step every 40 ms
  ASSERT_TRUE(thread_.start({}));
  advance(400, kStepBatchMs);  // 8 wakes, not 10
  EXPECT_EQ(thread_.model_steps(), 10u);
  EXPECT_LE(thread_.runner().wakeups(), 9u);
  EXPECT_EQ(thread_.stop(), WorkerThread::StopOutcome::Ended);
}

TEST_F(LightThreadTest, IdlesWhileNotAllowedAndWritesItsExitLine) {
  run_mode(lighting::kModeMusic, 0);
  std::atomic<bool> allowed{false};
  ASSERT_TRUE(thread_.start([&] { return allowed.load(); }));
  ASSERT_TRUE(clock_.wait_for_sleepers(1));
  const uint64_t wakes = thread_.runner().wakeups();
  clock_.advance(1000);  // it rests until poked: time passing does not wake it
  EXPECT_TRUE(clock_.wait_for_sleepers(1));
  EXPECT_EQ(thread_.runner().wakeups(), wakes);
  EXPECT_EQ(thread_.model_steps(), 0u);
  allowed = true;
  thread_.poke();
  advance(100, kStepBatchMs);
  EXPECT_GT(thread_.model_steps(), 0u);
  DebugCapture capture;
  EXPECT_EQ(thread_.stop(), WorkerThread::StopOutcome::Ended);
  EXPECT_EQ(capture.count(lighting::kKeyboardLightExitLine), 1);
}


// Music: what is fed is stepped at once and its frame asked for at once, but never sooner than
// 25 ms after the previous one; the effect's pace stays 250 steps a second.
class MusicFramesTest : public LightThreadTest {
 protected:
  void SetUp() override {
    thread_.set_music_frame_sender([this] { frames_.push_back(clock_.now_ms()); });
    // Column bars, red on black: fed bands change what the keys show.
    model_.set_music_style({.visual = 0, .background = {0, 0, 0}, .foreground = {255, 0, 0}, .wheel = false});
    run_mode(lighting::kModeMusic, 0);
    ASSERT_TRUE(thread_.start({}));
    ASSERT_TRUE(clock_.wait_until_settled());
  }
  void TearDown() override { thread_.stop(); }
  // Feeds a band, as music lighting does, and lets the woken thread finish.
  void feed(int32_t magnitude) {
    int32_t bands[lighting::kMusicBands];
    std::fill(std::begin(bands), std::end(bands), magnitude);
    uint64_t wakes = thread_.runner().wakeups();
    model_.FeedSpectrum(bands, lighting::kMusicBands);
    thread_.poke();
    while (thread_.runner().wakeups() == wakes) std::this_thread::yield();
    ASSERT_TRUE(clock_.wait_until_settled());
  }
  // Moves the clock a millisecond at a time, letting the thread do whatever falls due.
  void pass(uint64_t ms) {
    for (uint64_t i = 0; i < ms; ++i) {
      clock_.advance(1);
      ASSERT_TRUE(clock_.wait_until_settled());
    }
  }
  // Data fed a moment into a step is asked for as a frame at once, as the first frame.
  void expect_first_frame_at_once(int32_t magnitude) {
    pass(3);
    const uint64_t fed_at = clock_.now_ms();
    feed(magnitude);
    ASSERT_EQ(frames_.size(), 1u);
    EXPECT_EQ(frames_[0], fed_at);
  }
  std::vector<uint64_t> frames_;  // clock times of the asks (light thread; read while it sleeps)
};

TEST_F(MusicFramesTest, FedDataIsSteppedAndSentAtOnce) {
  pass(kStepBatchMs);  // a batch on the timer, without data: no frame
  EXPECT_TRUE(frames_.empty());
  ASSERT_NO_FATAL_FAILURE(expect_first_frame_at_once(2000));
  // The frame shows the bar: column 2's bottom key (logical 106) lit at full glow.
  EXPECT_EQ(model_.inspect([](const lighting::KeyboardEffects& e) { return e.frame()[106].brightness; }), 255);
}

TEST_F(MusicFramesTest, FramesKeepTwentyFiveMillisecondsApartAndAnOwedOneIsNotLost) {
  feed(1000);
  const uint64_t first = clock_.now_ms();
  pass(10);
  feed(3000);  // too soon: owed
  ASSERT_EQ(frames_.size(), 1u);
  pass(10);
  EXPECT_EQ(frames_.size(), 1u);
  pass(4);
  EXPECT_EQ(frames_.size(), 1u);  // 24 ms: still too soon
  // Once 25 ms have passed (to the thread's tick) the owed frame goes without new data.
  pass(1 + lighting::kKeyboardTickMs);
  ASSERT_EQ(frames_.size(), 2u);
  EXPECT_GE(frames_[1], first + kMusicFrameGapMs);
  EXPECT_LT(frames_[1], first + kMusicFrameGapMs + lighting::kKeyboardTickMs);
  pass(40);
  EXPECT_EQ(frames_.size(), 2u);  // nothing new, nothing sent
}

TEST_F(MusicFramesTest, DataEveryTenMillisecondsKeepsThePaceOfTheEffect) {
  const uint64_t steps_before = thread_.model_steps();
  for (int i = 0; i < 100; ++i) {
    pass(10);
    feed(i % 2 == 0 ? 500 : 3000);
  }
  // One second: 250 steps of 4 ms, give or take the one in progress.
  EXPECT_NEAR(static_cast<double>(thread_.model_steps() - steps_before), 250.0, 2.0);
  // A frame every 25 ms (to the 2 ms tick): the data of a refused one goes when the gap has
  // passed, not with the next block.
  EXPECT_NEAR(static_cast<double>(frames_.size()), 39.0, 1.0);
  for (size_t i = 1; i < frames_.size(); ++i) EXPECT_GE(frames_[i] - frames_[i - 1], kMusicFrameGapMs);
}

TEST_F(MusicFramesTest, SilenceSendsNothingAndTheFirstSoundGoesAtOnce) {
  for (int i = 0; i < 10; ++i) {
    pass(10);
    feed(0);  // dark keys stay dark: no frame, and none owed
  }
  EXPECT_TRUE(frames_.empty());
  expect_first_frame_at_once(3000);
}

TEST_F(MusicFramesTest, OtherModesNeverAskForMusicFrames) {
  run_mode(lighting::kModeColumnWave, 0);
  thread_.poke();
  pass(1);
  const int32_t bands[lighting::kMusicBands] = {2000};
  model_.FeedSpectrum(bands, lighting::kMusicBands);
  pass(200);
  EXPECT_TRUE(frames_.empty());
}

}  // namespace
}  // namespace qxr::devices

// The model as the device shares it between threads: frames are never torn, feeds and key
// events from other threads land, and (under ThreadSanitizer) nothing races.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>
#include <vector>

#include "devices/lighting/frame_mailbox.h"
#include "devices/lighting/keyboard_lighting.h"
#include "lighting_test_util.h"

using namespace qxr::lighting;
using qxr::lighting::testing::make_info;

TEST(FrameMailbox, ReadersGetTheNewestPublishedFrame) {
  FrameMailbox<std::array<int, 4>> box;
  std::array<int, 4> out{};
  EXPECT_EQ(box.read(out), 0u);
  box.back() = {1, 1, 1, 1};
  box.publish();
  box.back() = {2, 2, 2, 2};
  box.publish();
  EXPECT_EQ(box.read(out), 2u);
  EXPECT_EQ(out, (std::array<int, 4>{2, 2, 2, 2}));
  EXPECT_EQ(box.read(out), 2u);  // nothing new: the same frame again
  box.back() = {3, 3, 3, 3};
  box.publish();
  EXPECT_EQ(box.read(out), 3u);
  EXPECT_EQ(out[3], 3);
}

TEST(FrameMailbox, FramesArriveWholeWhileTheWriterRuns) {
  FrameMailbox<std::array<uint32_t, 64>> box;
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (uint32_t i = 1; i <= 20000; ++i) {
      box.back().fill(i);
      box.publish();
    }
    done = true;
  });
  std::array<uint32_t, 64> out{};
  uint64_t last = 0;
  int torn = 0;
  while (!done) {
    const uint64_t version = box.read(out);
    for (uint32_t v : out) torn += v != out[0];
    EXPECT_GE(version, last);
    if (version) { EXPECT_EQ(out[0], version); }
    last = version;
  }
  writer.join();
  EXPECT_EQ(torn, 0);
  EXPECT_EQ(box.read(out), 20000u);
}

TEST(KeyboardLighting, PublishesAFrameForEveryStepAndPreparation) {
  KeyboardLighting lighting;
  KeyFrame frame{};
  EXPECT_EQ(lighting.read_frame(frame), 0u);
  lighting.set_light_info(make_info(kModeStatic, 4, 4, 1, 0, {9, 9, 9}), true);
  const uint64_t prepared = lighting.read_frame(frame);
  EXPECT_GT(prepared, 0u);
  EXPECT_EQ(frame[10], LedRecord{});
  lighting.step(100);
  EXPECT_GT(lighting.read_frame(frame), prepared);
  EXPECT_EQ(frame[10], make_led({9, 9, 9}, 255));
  EXPECT_EQ(lighting.step_ticks(), keyboard_step_ticks(kModeStatic, 4));

  lighting.set_light_info(make_info(kModeCustom, 1), true);
  EXPECT_TRUE(lighting.SetCustomKeyColour(7, {1, 2, 3}));
  lighting.read_frame(frame);
  EXPECT_EQ(frame[7], make_led({1, 2, 3}, 80));  // shown before the next step
}

TEST(KeyboardLighting, MusicFedFromAnotherThreadReachesTheStep) {
  KeyboardLighting lighting;
  lighting.set_music_colour_pair(0x03020100u, 0x00C800FFu);  // visual 0, background (1, 2, 3); fg (255, 0, 200)
  lighting.set_light_info(make_info(kModeMusic), true);
  std::vector<int32_t> loud(500, 0);
  std::fill(loud.begin(), loud.begin() + 25, 2000);
  std::thread audio([&] { lighting.FeedSpectrum(loud.data(), loud.size()); });
  audio.join();
  lighting.step(2);
  KeyFrame frame{};
  lighting.read_frame(frame);
  EXPECT_EQ(frame[KeyGrid[4][5]], make_led({255, 0, 200}, 255));
  EXPECT_EQ(frame[KeyGrid[4][0]], make_led({1, 2, 3}, 255));
  lighting.step(4);  // consumed: the bars fall back
  EXPECT_EQ(lighting.inspect([](const KeyboardEffects& fx) { return fx.state().glow.glow[KeyGrid[4][5]]; }), 210);
}

TEST(KeyboardLighting, SharedBetweenLightSyncAudioAndUiThreadsWithoutTornFrames) {
  KeyboardLighting lighting;
  lighting.set_light_info(make_info(kModeFedColour), true);
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0};

  std::thread light([&] {
    for (uint64_t t = 0; !stop; t += 2) lighting.step(t);
  });
  std::thread audio([&] {
    for (uint8_t v = 0; !stop; ++v) {
      const uint8_t levels[6] = {v, v, v, 0, 0, 0};
      lighting.FeedLevels(levels, 6);
      const int32_t bands[25] = {v};
      lighting.FeedSpectrum(bands, 25);
    }
  });
  std::thread sync([&] {
    for (size_t k = 0; !stop; k = (k + 1) % kKeyCount) {
      lighting.OnKeyEvent(k, kKeyPressed);
      lighting.OnKeyEvent(k, kKeyReleased);
    }
  });
  std::thread reader([&] {
    KeyFrame frame{};
    while (!stop) {
      lighting.read_frame(frame);
      for (const LedRecord& l : frame) torn += !(l == frame[0]);
    }
  });
  // The UI thread changes brightness and the program while all of that runs.
  LightProgramStep step;
  step.type = 1;
  for (int i = 0; i < 300; ++i) {
    LightInfo info = make_info(kModeFedColour, static_cast<uint8_t>(i % 5));
    lighting.set_light_info(info, false);
    lighting.program().set_steps({step});
    std::this_thread::yield();
  }
  stop = true;
  for (std::thread* t : {&light, &audio, &sync, &reader}) t->join();
  EXPECT_EQ(torn.load(), 0);

  // Key events that arrive from the sync thread in a reactive mode light their key.
  lighting.set_light_info(make_info(kModeReactive), true);
  std::thread presses([&] { lighting.OnKeyEvent(51, kKeyPressed); });
  presses.join();
  lighting.step(1);
  KeyFrame frame{};
  lighting.read_frame(frame);
  EXPECT_EQ(frame[51].brightness, 254);
}

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "core/clock.h"
#include "devices/lighting/base_effects.h"
#include "devices/lighting/effect_step.h"
#include "devices/lighting/shared_tables.h"
#include "lighting_test_util.h"

using namespace qxr::lighting;
using qxr::lighting::testing::make_info;

TEST(EffectStep, WrapsAtTheEdges) {
  EXPECT_EQ(effect_step(1, 128, 127, 1), 0);
  EXPECT_EQ(effect_step(0, 128, 0, 1), 127);
  EXPECT_EQ(effect_step(1, 192, 190, 1), 191);
  EXPECT_EQ(effect_step(1, 192, 190, 2), 0);
  EXPECT_EQ(effect_step(0, 192, 1, 2), 190);  // 1 - 2 wraps to 255, not below the limit
  EXPECT_EQ(effect_step(0, 96, 150, 1), 95);  // a counter beyond a smaller limit comes back in
  EXPECT_EQ(effect_step(1, 96, 150, 1), 0);
  EXPECT_EQ(effect_step(7, 25, 24, 1), 0);  // any non-zero direction is forward
}

TEST(BaseEffects, BreathingThroughTheWheelShowsThirteenColours) {
  std::array<LedRecord, 8> leds{};
  BaseEffectState state;
  const LightInfo info = make_info(0, 4, 0, 1, 1);
  std::vector<int> colours;
  for (int i = 0; i < 128 * 14; ++i) {
    effect_breathe_cycle(leds, info, state);
    EXPECT_EQ(leds[7], make_led(wheel_colour(state.colour_index), scale8(BreathCurve[state.phase], 255)));
    if (state.phase == 0) colours.push_back(state.colour_index);
  }
  const std::vector<int> expected = {16, 32, 48, 64, 80, 96, 112, 128, 144, 160, 176, 192, 0, 16};
  EXPECT_EQ(colours, expected);
}

TEST(BaseEffects, BreathingBackwardAndFixedColour) {
  std::array<LedRecord, 3> leds{};
  BaseEffectState state;
  const LightInfo info = make_info(0, 2, 0, 0, 0, {9, 8, 7});
  effect_breathe_cycle(leds, info, state);
  EXPECT_EQ(state.phase, 127);
  EXPECT_EQ(state.colour_index, 0);
  for (int i = 0; i < 127; ++i) effect_breathe_cycle(leds, info, state);
  EXPECT_EQ(state.phase, 0);
  EXPECT_EQ(state.colour_index, 16);
  EXPECT_EQ(leds[0], make_led({9, 8, 7}, 0));  // the fixed colour, at the curve's bottom
}

TEST(BaseEffects, BreathingFourColoursCyclesTheTable) {
  std::array<LedRecord, 2> leds{};
  BaseEffectState state;
  const LightInfo info = make_info(0, 4, 0, 1, 0);
  std::vector<Rgb> seen;
  for (int i = 0; i < 128 * 5; ++i) {
    effect_breathe_four(leds, info, state);
    if (state.phase == 64) seen.push_back({leds[0].red, leds[0].green, leds[0].blue});
  }
  const std::vector<Rgb> expected = {FourColourTable[0], FourColourTable[1], FourColourTable[2],
                                     FourColourTable[3], FourColourTable[0]};
  EXPECT_EQ(seen, expected);
}

TEST(BaseEffects, StaticSpectrumAndOff) {
  std::array<LedRecord, 4> leds{};
  BaseEffectState state;
  effect_static(leds, make_info(0, 1, 0, 1, 0, {1, 2, 3}));
  EXPECT_EQ(leds[3], make_led({1, 2, 3}, 80));
  effect_static(leds, make_info(0, 9, 0, 1, 0, {1, 2, 3}));
  EXPECT_EQ(leds[3].brightness, 255);  // a level beyond 4 is the highest
  effect_spectrum(leds, make_info(0, 3), state);
  EXPECT_EQ(leds[0], make_led(ColourWheel[1], 195));
  state.phase = 0;
  effect_spectrum(leds, make_info(0, 3, 0, 0), state);
  EXPECT_EQ(leds[2], make_led(ColourWheel[191], 195));
  effect_off(leds);
  for (const LedRecord& l : leds) EXPECT_EQ(l, LedRecord{});
}

namespace {
// Calls a blink effect every 100 ms of the test clock and returns the toggle times.
template <typename Blink>
std::vector<uint64_t> blink_toggles(uint8_t speed, Blink blink, BaseEffectState& state,
                                    std::vector<LedRecord>* on_frames = nullptr) {
  qxr::ManualClock clock(50'000);
  std::array<LedRecord, 5> leds{};
  const LightInfo info = make_info(0, 4, speed, 1, 1);
  std::vector<uint64_t> toggles;
  bool was_on = state.blink_on;
  for (int i = 0; i < 300; ++i) {
    blink(std::span<LedRecord>(leds), info, state, clock.now_ms());
    if (state.blink_on != was_on) {
      toggles.push_back(clock.now_ms());
      if (on_frames && state.blink_on) on_frames->push_back(leds[4]);
      if (!state.blink_on) { EXPECT_EQ(leds[0], LedRecord{}); }
    }
    was_on = state.blink_on;
    clock.advance(100);
  }
  return toggles;
}
}  // namespace

TEST(BaseEffects, BlinkTogglesNoSoonerThanItsPeriod) {
  for (auto [speed, period] : {std::pair<uint8_t, uint64_t>{0, 5600}, {4, 1400}}) {
    BaseEffectState state;
    std::vector<LedRecord> on_frames;
    const auto toggles = blink_toggles(speed, effect_blink_cycle, state, &on_frames);
    ASSERT_GE(toggles.size(), 3u);
    for (size_t i = 1; i < toggles.size(); ++i) {
      EXPECT_GE(toggles[i] - toggles[i - 1], period);
      EXPECT_LT(toggles[i] - toggles[i - 1], period + 100);  // and not later than the next call
    }
    // Each toggle moves 16 wheel entries on.
    for (size_t i = 0; i < on_frames.size(); ++i)
      EXPECT_EQ(on_frames[i], make_led(ColourWheel[16 * (2 * i + 1) % 192], 255)) << i;
  }
}

TEST(BaseEffects, BlinkFourWalksTheFourColours) {
  BaseEffectState state;
  std::vector<LedRecord> on_frames;
  blink_toggles(4, effect_blink_four, state, &on_frames);
  ASSERT_GE(on_frames.size(), 4u);
  EXPECT_EQ(on_frames[0], make_led(FourColourTable[1], 255));
  EXPECT_EQ(on_frames[1], make_led(FourColourTable[3], 255));
  EXPECT_EQ(on_frames[2], make_led(FourColourTable[1], 255));
}

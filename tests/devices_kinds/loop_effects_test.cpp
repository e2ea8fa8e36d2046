// The loop-counting kinds' lighting steps against hand-worked frames.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "devices/lighting/shared_tables.h"
#include "devices/loop/loop_effects.h"

namespace qxr::devices {
namespace {

constexpr Rgb kWheel2{255, 5, 0};   // rising segment, third entry
constexpr Rgb kWheel9{255, 32, 0};  // rising segment, tenth entry
constexpr Rgb kWheel0{255, 1, 0};

// Full level (4) times a glow, as the groups show it.
constexpr uint8_t lit(uint8_t glow) { return lighting::scale8(255, glow); }
constexpr uint8_t kFirstStep = lit(215);   // 255 after one fall on the common curve
constexpr uint8_t kSecondStep = lit(175);
constexpr uint8_t kThirdStep = lit(135);

LoopLightSettings settings(uint8_t mode, uint8_t light, uint8_t fx, uint8_t multi, Rgb colour = {10, 20, 30}) {
  LoopLightSettings s;
  s.mode = mode;
  s.light = light;
  s.fx = fx;
  s.multi_color = multi;
  s.colour = colour;
  return s;
}

TEST(LoopModeTables, MouseAndPadStepsAndTheProgramBeyond) {
  EXPECT_EQ(effect_of_mode(kMouseModeTable, 0), LoopEffect::Wave);
  EXPECT_EQ(effect_of_mode(kMouseModeTable, 4), LoopEffect::BlinkCycle);
  EXPECT_EQ(effect_of_mode(kMouseModeTable, 5), LoopEffect::Zones);
  EXPECT_EQ(effect_of_mode(kMouseModeTable, 8), LoopEffect::Off);
  EXPECT_EQ(effect_of_mode(kMouseModeTable, 9), LoopEffect::Program);
  EXPECT_EQ(effect_of_mode(kPadModeTable, 5), LoopEffect::Program);
  EXPECT_EQ(effect_of_mode(kPadModeTable, 6), LoopEffect::Leds);
  EXPECT_EQ(effect_of_mode(kPadModeTable, 7), LoopEffect::Pairs);
  EXPECT_EQ(effect_of_mode(kPadModeTable, 8), LoopEffect::Off);
  EXPECT_EQ(effect_of_mode(kPadModeTable, 200), LoopEffect::Program);
}

TEST(LoopModeTables, EveryEffectWaitsItsSpeedsLoopsAndTheProgramRunsEveryLoop) {
  const uint32_t expected[] = {28, 23, 18, 13, 7};
  for (uint8_t speed = 0; speed < 5; ++speed) {
    EXPECT_EQ(loop_step_threshold(LoopEffect::Wave, speed), expected[speed]);
    EXPECT_EQ(loop_step_threshold(LoopEffect::Pairs, speed), expected[speed]);
    EXPECT_EQ(loop_step_threshold(LoopEffect::Program, speed), 1u);
  }
  EXPECT_EQ(loop_step_threshold(LoopEffect::Zones, 9), 7u);  // out of range: fastest
}

TEST(StepWave, ColourWaveRunsAlongTheLedsSevenWheelEntriesApart) {
  std::array<LedRecord, 3> leds{};
  LoopEffectState state;
  state.restart();
  step_wave(leds, settings(0, 4, 1, 1), state);
  EXPECT_EQ(state.counter, 1);
  EXPECT_EQ(leds[0], lighting::make_led(kWheel2, 255));
  EXPECT_EQ(leds[1], lighting::make_led(kWheel9, 255));

  // Backwards from 0 the counter wraps to 191: LED 0 shows entry 192, i.e. entry 0.
  state.restart();
  step_wave(leds, settings(0, 4, 0, 1), state);
  EXPECT_EQ(state.counter, 191);
  EXPECT_EQ(leds[0], lighting::make_led(kWheel0, 255));
}

TEST(StepWave, SingleColourBreathesThroughTheShortCurve) {
  std::array<LedRecord, 2> leds{};
  LoopEffectState state;
  state.restart();
  step_wave(leds, settings(0, 2, 1, 0), state);
  // Curve entries 2 and 9 of the 96-entry curve are 27 and 49; level 2 is 135.
  EXPECT_EQ(leds[0], (LedRecord{10, 20, 30, 135 * 27 >> 8}));
  EXPECT_EQ(leds[1], (LedRecord{10, 20, 30, 135 * 49 >> 8}));
  // The single-colour counter wraps at 96, not 192.
  state.counter = 95;
  step_wave(leds, settings(0, 2, 1, 0), state);
  EXPECT_EQ(state.counter, 0);
}

TEST(StepZones, TheRingLightsOneZoneAfterTheOtherAndTheyFade) {
  std::array<LedRecord, 19> leds{};
  LoopEffectState state;
  state.restart();
  const LoopLightSettings s = settings(5, 4, 1, 0, {200, 0, 0});
  step_zones(leds, s, state);
  // Zone 0 (LEDs 0 and 18) was lit and fell once on the mode's curve: 255 - 40.
  EXPECT_EQ(leds[0], (LedRecord{200, 0, 0, kFirstStep}));
  EXPECT_EQ(leds[18], (LedRecord{200, 0, 0, kFirstStep}));
  EXPECT_EQ(leds[1].brightness, 0);
  step_zones(leds, s, state);
  EXPECT_EQ(leds[1].brightness, kFirstStep);  // zone 1: LEDs 1 and 17
  EXPECT_EQ(leds[17].brightness, kFirstStep);
  EXPECT_EQ(leds[0].brightness, kSecondStep);
  // Zone 7 holds LEDs 7, 9, 11 and zone 8 holds 8, 9, 10: LED 9 shows the later zone.
  for (int i = 0; i < 7; ++i) step_zones(leds, s, state);
  EXPECT_EQ(leds[8].brightness, kFirstStep);
  EXPECT_EQ(leds[9].brightness, kFirstStep);
  EXPECT_EQ(leds[7].brightness, kSecondStep);
}

TEST(StepZones, ZonesTakeWheelColoursTwelveApartAndBackwardsTheLightLeavesTheZones) {
  std::array<LedRecord, 6> leds{};  // the mouse's six LEDs: zone entries beyond are skipped
  LoopEffectState state;
  state.restart();
  step_zones(leds, settings(5, 4, 1, 1), state);
  step_zones(leds, settings(5, 4, 1, 1), state);
  // After two steps the counter is 2: zone 1 shows wheel entry 14.
  EXPECT_EQ((Rgb{leds[1].red, leds[1].green, leds[1].blue}), (Rgb{255, 65, 0}));

  state.restart();
  step_zones(leds, settings(5, 4, 0, 0), state);
  step_zones(leds, settings(5, 4, 0, 0), state);
  // Backwards the lit entry moved to the ring's far end, which names no zone.
  EXPECT_EQ(leds[1].brightness, 0);
}

TEST(StepPadPairs, TheRingMovesEverySecondCallAndLightsBothLedsOfAPair) {
  std::array<LedRecord, 15> leds{};
  leds[0] = {1, 2, 3, 4};  // LED 0 is in no pair
  LoopEffectState state;
  state.restart();
  const LoopLightSettings s = settings(7, 4, 1, 0, {0, 90, 0});
  step_pairs(leds, s, state);
  EXPECT_EQ(leds[1].brightness, 0);
  step_pairs(leds, s, state);
  EXPECT_EQ(leds[1], (LedRecord{0, 90, 0, kFirstStep}));
  EXPECT_EQ(leds[14], (LedRecord{0, 90, 0, kFirstStep}));
  EXPECT_EQ(leds[0], (LedRecord{1, 2, 3, 4}));
  // Forward, the pairs travel towards lower ring entries: 0, then the unused entry 7, then
  // pair 6 (LEDs 7 and 8).
  for (int i = 0; i < 4; ++i) step_pairs(leds, s, state);
  EXPECT_EQ(leds[7].brightness, kFirstStep);
  EXPECT_EQ(leds[8].brightness, kFirstStep);
  EXPECT_EQ(leds[2].brightness, 0);
}

TEST(StepPadLeds, EachLedOnItsOwnAndNothingBeyondTheFrame) {
  std::array<LedRecord, 20> storage{};
  storage[15] = {9, 9, 9, 9};
  std::span<LedRecord> leds(storage.data(), 15);
  LoopEffectState state;
  state.restart();
  const LoopLightSettings s = settings(6, 4, 1, 1);
  for (int call = 0; call < 4; ++call) step_leds(leds, s, state);
  EXPECT_EQ(leds[0].brightness, kThirdStep);  // lit on the second call
  EXPECT_EQ(leds[1].brightness, kFirstStep);   // lit on the fourth call
  EXPECT_EQ(leds[2].brightness, 0);
  // LED n's colour is 12 wheel entries further than LED n - 1.
  EXPECT_EQ((Rgb{leds[1].red, leds[1].green, leds[1].blue}), lighting::ColourWheel[16]);
  for (int call = 0; call < 60; ++call) step_leds(leds, s, state);
  EXPECT_EQ(storage[15], (LedRecord{9, 9, 9, 9}));
}

}  // namespace
}  // namespace qxr::devices

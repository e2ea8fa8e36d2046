#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "devices/lighting/light_program.h"
#include "devices/lighting/shared_tables.h"
#include "lighting_test_util.h"

using namespace qxr::lighting;

namespace {
using qxr::lighting::testing::make_step;

class Player : public ::testing::Test {
 protected:
  void run(int loops, uint64_t step_ms = 2) {
    for (int i = 0; i < loops; ++i) {
      player_.run(program_, leds_, light_speed_, now_);
      now_ += step_ms;
    }
  }

  LightProgram program_;
  LightProgramPlayer player_;
  std::array<LedRecord, 6> leds_{};
  uint8_t light_speed_ = 4;
  uint64_t now_ = 10'000;
};
}  // namespace

TEST_F(Player, EmptyProgramTurnsTheLedsOff) {
  leds_.fill(make_led({1, 1, 1}, 9));
  run(1);
  for (const LedRecord& l : leds_) EXPECT_EQ(l, LedRecord{});
}

TEST_F(Player, StaticStepWaitsForItsThreshold) {
  program_.set_steps({make_step(ProgramStepType::kStatic, 3)});  // 13 loops at speed 3
  run(12);
  EXPECT_EQ(leds_[0], LedRecord{});
  run(1);
  EXPECT_EQ(leds_[5], make_led({40, 50, 60}, 255));
}

TEST_F(Player, BreathingStepsItsPhaseAndCyclesThreeWheelColours) {
  LightProgramStep step = make_step(ProgramStepType::kBreathing, 4, 100000, 1);
  step.state[0] = 1;  // starts at the second colour
  program_.set_steps({step});
  run(7 * 64);
  EXPECT_EQ(leds_[2], make_led(ColourWheel[64], 254));  // phase 64 at full
  run(7 * 64);                                            // phase back at 0: next colour
  EXPECT_EQ(leds_[2], make_led(ColourWheel[128], 0));
}

TEST_F(Player, WaveAndSpectrumSteps) {
  program_.set_steps({make_step(ProgramStepType::kWave, 4, 100000, 1)});
  run(7);
  for (size_t n = 0; n < leds_.size(); ++n) EXPECT_EQ(leds_[n], make_led(ColourWheel[1 + 12 * n], 255)) << n;
  LightProgramStep single = make_step(ProgramStepType::kWave, 4);
  program_.set_steps({single});
  run(7);
  EXPECT_EQ(leds_[1], make_led({40, 50, 60}, scale8(BreathCurve96[13], 255)));
  program_.set_steps({make_step(ProgramStepType::kSpectrum, 4)});  // 2 ticks at speed 4
  run(2);
  EXPECT_EQ(leds_[0], make_led(ColourWheel[1], 255));
}

TEST_F(Player, BlinkFollowsTheDevicesSpeedNotTheSteps) {
  program_.set_steps({make_step(ProgramStepType::kBlink, 0, 100000, 1)});
  light_speed_ = 4;  // 1400 ms
  run(1, 700);
  EXPECT_EQ(leds_[0], make_led(ColourWheel[14], 255));
  run(2, 700);
  EXPECT_EQ(leds_[0], LedRecord{});
  run(2, 700);
  EXPECT_EQ(leds_[0], make_led(ColourWheel[42], 255));
}

TEST_F(Player, StepsAdvanceByDurationAndWrap) {
  program_.set_steps({make_step(ProgramStepType::kStatic, 4, 100, 0, {1, 1, 1}),
                      make_step(ProgramStepType::kStatic, 4, 200, 0, {2, 2, 2})});
  run(50);  // 100 ms at 2 ms a loop
  EXPECT_EQ(leds_[0].red, 1);
  run(10);
  EXPECT_EQ(leds_[0].red, 2);
  run(100);
  EXPECT_EQ(leds_[0].red, 1);  // after 200 ms back at the first step

  program_.set_steps({make_step(ProgramStepType::kStatic, 4, 100000, 0, {3, 3, 3})});
  run(7);
  EXPECT_EQ(leds_[0].red, 3);  // a new program starts at its first step
}

TEST_F(Player, OneStepProgramKeepsItsPhaseWhenItWrapsRound) {
  program_.set_steps({make_step(ProgramStepType::kBreathing, 4, 10)});
  run(7 * 30);  // many wraps of a 10 ms step
  EXPECT_EQ(leds_[0].brightness, scale8(BreathCurve[30], 255));
}

TEST_F(Player, ProgramCanBeReplacedWhilePlaying) {
  std::thread editor([this] {
    for (int i = 0; i < 200; ++i)
      program_.set_steps({make_step(ProgramStepType::kStatic, 4, 4, 0, {static_cast<uint8_t>(i), 0, 0}),
                          make_step(ProgramStepType::kWave, 4, 4)});
  });
  run(2000);
  editor.join();
  EXPECT_EQ(program_.size(), 2u);
}

TEST(ProgramStep, BytesAndEffectStepsCarryEveryField) {
  LightProgramStep step = make_step(ProgramStepType::kWave, 3, 0x01020304, 1, {7, 8, 9});
  step.state = {2, 0, 5};
  step.value = 0xBEEF;
  const ProgramStepBytes bytes = program_step_to_bytes(step);
  EXPECT_EQ(bytes[0], 4);
  EXPECT_EQ(bytes[7], 9);
  EXPECT_EQ(bytes[8], 2);
  EXPECT_EQ(bytes[12], 0xEF);
  EXPECT_EQ(bytes[13], 0xBE);
  EXPECT_EQ(bytes[16], 0x04);
  EXPECT_EQ(bytes[19], 0x01);
  EXPECT_EQ(program_step_from_bytes(bytes), step);

  qxr::LightEffectStep effect;
  effect.led_reg_mode = 2;
  effect.led_brightness = 3;
  effect.led_speed = 1;
  effect.led_multi_color = 1;
  effect.green = 77;
  effect.time = 1500;
  effect.cycle = 3;
  const LightProgramStep from = program_step_from_effect(effect);
  EXPECT_EQ(from.type, 2);
  EXPECT_EQ(from.level, 3);
  EXPECT_EQ(from.colour.green, 77);
  EXPECT_EQ(from.duration_ms, 1500u);
  EXPECT_EQ(from.value, 3);
  effect.time = -5;
  EXPECT_EQ(program_step_from_effect(effect).duration_ms, 0u);
}

TEST(PlayerQuiet, RunsLeftOutWhileQuietChangeNothingThatEveryLoopWouldShow) {
  LightProgram every_loop, when_due;
  const std::vector<LightProgramStep> steps = {
      make_step(ProgramStepType::kStatic, 2, 300, 0, {9, 8, 7}),
      make_step(ProgramStepType::kBlink, 0, 5000, 1),
      make_step(ProgramStepType::kWave, 3, 200, 1),
      make_step(ProgramStepType::kStatic, 4, 1000, 0, {1, 2, 3}),
      make_step(static_cast<ProgramStepType>(3), 4, 400),  // no effect of its own
  };
  every_loop.set_steps(steps);
  when_due.set_steps(steps);
  LightProgramPlayer a, b;
  std::array<LedRecord, 6> leds_a{}, leds_b{};
  size_t runs_b = 0, loops = 0;
  for (uint64_t now = 10'000; now < 30'000; now += 2, ++loops) {
    a.run(every_loop, leds_a, 4, now);
    if (now >= b.quiet_until()) {
      b.run(when_due, leds_b, 4, now);
      ++runs_b;
    }
    ASSERT_EQ(leds_a, leds_b) << "at " << now;
  }
  // Quiet most of the time: the static steps, the blink between toggles, the empty step.
  EXPECT_LT(runs_b * 10, loops);
}

TEST(PlayerQuiet, AnEmptyProgramIsQuietUntilItGetsSteps) {
  LightProgram program;
  LightProgramPlayer player;
  std::array<LedRecord, 2> leds{};
  player.run(program, leds, 4, 100);
  EXPECT_EQ(player.quiet_until(), kQuietForever);
  program.set_steps({make_step(ProgramStepType::kSpectrum, 4)});
  player.run(program, leds, 4, 102);
  EXPECT_EQ(player.quiet_until(), 0u);
}

// Frames of the keyboard's steady and fading modes against frames worked out by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "devices/lighting/key_glow.h"
#include "devices/lighting/keyboard_effect_tables.h"
#include "devices/lighting/keyboard_effects.h"
#include "devices/lighting/keyboard_layout.h"
#include "devices/lighting/shared_tables.h"
#include "lighting_test_util.h"

using namespace qxr::lighting;
using namespace qxr::lighting::testing;

namespace {
class KeyboardModes : public ::testing::Test {
 protected:
  void start(const LightInfo& info) { enter(fx_, info); }
  void steps(int n, const MusicFrame& music = {}) { run_steps(fx_, program_, n, music); }
  const KeyFrame& frame() const { return fx_.frame(); }
  const KeyboardEffectState& st() const { return fx_.state(); }

  KeyboardEffects fx_;
  LightProgram program_;
};
}  // namespace

TEST_F(KeyboardModes, ColumnWaveInWheelColours) {
  start(make_info(kModeColumnWave));
  steps(1);  // counter 1: column c shows entry 2 + 7c
  EXPECT_EQ(frame()[124], led({255, 5, 0}, 255));   // column 0
  EXPECT_EQ(frame()[0], led({255, 81, 0}, 255));    // column 2: entry 16
  EXPECT_EQ(frame()[51], led({0, 255, 26}, 255));   // column 10: entry 72
  EXPECT_EQ(frame()[140], led({213, 0, 255}, 255)); // column 22: entry 156
  EXPECT_EQ(frame()[13], LedRecord{});              // not in the grid: left dark
}

TEST_F(KeyboardModes, SingleColourColumnWaveBackward) {
  start(make_info(kModeColumnWave, 2, 4, 0, 0, {10, 20, 30}));
  steps(1);  // counter 0 backward: 95; column c reads entry (96 + 7c) mod 96 of the 96-curve
  EXPECT_EQ(st().counter, 95);
  EXPECT_EQ(frame()[124], led({10, 20, 30}, 11));  // 135 * 22 / 256
  EXPECT_EQ(frame()[0], led({10, 20, 30}, 36));    // entry 14 = 69: 135 * 69 / 256
}

TEST_F(KeyboardModes, NarrowRowRingAndKeyOrderWaves) {
  start(make_info(kModeNarrowColumnWave));
  steps(1);
  EXPECT_EQ(frame()[51], led(ColourWheel[22], 255));  // 2 + 2 * 10
  start(make_info(kModeRowWave));
  steps(1);
  EXPECT_EQ(frame()[51], led({53, 255, 0}, 255));  // row 2: entry 50
  EXPECT_EQ(frame()[140], led(ColourWheel[2], 255));
  start(make_info(kModeRingWave));
  steps(1);
  EXPECT_EQ(frame()[51], led({255, 5, 0}, 255));   // ring 0: entry 2
  EXPECT_EQ(frame()[30], led({255, 32, 0}, 255));  // ring 1: entry 9
  start(make_info(kModeKeyOrderWave));
  steps(1);  // the counter moves by 2; cell i shows entry 3 + 5i
  EXPECT_EQ(frame()[58], led({255, 7, 0}, 255));
  EXPECT_EQ(frame()[12], led({255, 152, 0}, 255));
}

TEST_F(KeyboardModes, ColumnBreathing) {
  start(make_info(kModeColumnBreathing));
  steps(1);
  EXPECT_EQ(frame()[51], led({0, 255, 18}, 0));  // entry 70, curve 1 -> 0
  steps(63);
  EXPECT_EQ(frame()[51], led({0, 255, 18}, 254));  // top of the curve
  EXPECT_EQ(frame()[124], led(ColourWheel[0], 254));
  steps(64);
  EXPECT_EQ(st().counter, 0);  // past 127 it starts again
  start(make_info(kModeColumnBreathing, 4, 4, 1, 0, {1, 2, 3}));
  steps(64);
  EXPECT_EQ(frame()[51], led({1, 2, 3}, 254));
}

TEST_F(KeyboardModes, StaticRingsOrOneColour) {
  start(make_info(kModeStatic, 3));
  steps(1);
  EXPECT_EQ(frame()[51], led({0, 20, 255}, 195));  // ring 0: entry 120
  EXPECT_EQ(frame()[118], led({6, 255, 0}, 195));  // ring 11: entry 252 - 192
  EXPECT_EQ(frame()[100], LedRecord{});            // on no ring
  start(make_info(kModeStatic, 3, 0, 1, 0, {7, 8, 9}));
  steps(1);
  for (const LedRecord& l : frame()) EXPECT_EQ(l, led({7, 8, 9}, 195));
}

TEST_F(KeyboardModes, ColourCycleStartsFromTheRamp) {
  start(make_info(kModeColourCycle));
  const std::vector<int> ramp(st().colour_tab.begin(), st().colour_tab.begin() + 8);
  EXPECT_EQ(ramp, (std::vector<int>{0, 33, 66, 99, 132, 165, 6, 39}));
  for (uint8_t index : st().colour_tab) EXPECT_LE(index, 192);
  steps(1);
  EXPECT_EQ(frame()[1], led({220, 255, 0}, 255));  // entry 34
  EXPECT_EQ(frame()[169], led(ColourWheel[(st().colour_tab[169])], 255));
}

TEST_F(KeyboardModes, StaticWheelKeepsTheBaseEffectsColour) {
  start(make_info(kModeSpectrum));
  steps(5);
  EXPECT_EQ(frame()[100], led(ColourWheel[5], 255));
  start(make_info(kModeStaticWheel));
  steps(3);
  for (const LedRecord& l : frame()) EXPECT_EQ(l, led({255, 14, 0}, 255));  // still entry 5
}

TEST_F(KeyboardModes, CustomColoursAndFedColour) {
  std::array<Rgb, kKeyCount> custom{};
  custom[3] = {1, 2, 3};
  fx_.set_custom_colours(custom);
  EXPECT_FALSE(fx_.SetCustomKeyColour(3, {9, 9, 9}));  // not in custom mode
  start(make_info(kModeCustom, 1));
  EXPECT_EQ(frame()[3], led({1, 2, 3}, 80));  // loaded when the mode is entered
  EXPECT_TRUE(fx_.SetCustomKeyColour(4, {4, 5, 6}));
  EXPECT_FALSE(fx_.SetCustomKeyColour(170, {4, 5, 6}));
  steps(2);
  EXPECT_EQ(frame()[4], led({4, 5, 6}, 80));
  EXPECT_EQ(frame()[3], led({1, 2, 3}, 80));

  start(make_info(kModeFedColour, 2));
  MusicFrame fed;
  fed.levels = {200, 100, 50, 1, 1, 1};
  steps(1, fed);
  for (const LedRecord& l : frame()) EXPECT_EQ(l, led({200, 100, 50}, 135));
}

TEST_F(KeyboardModes, BaseEffectModesAndOff) {
  start(make_info(kModeBreatheFour));
  steps(64);
  EXPECT_EQ(frame()[7], led(FourColourTable[0], 254));
  start(make_info(kModeOff));
  steps(1);
  for (const LedRecord& l : frame()) EXPECT_EQ(l, LedRecord{});
  start(make_info(kModeBlinkCycle));
  fx_.step(50'000, {}, program_);  // long after the last toggle: on; the base's phase goes 64 -> 80
  EXPECT_EQ(frame()[9], led(ColourWheel[80], 255));
}

TEST_F(KeyboardModes, FillWalksItsPathSkipsEmptyCellsAndRestarts) {
  start(make_info(kModeFill));
  const uint8_t fresh = decayed_glow(254, kModeFill);
  std::vector<int> lit;  // the key lit on each step, -1 for none
  for (int i = 0; i < 172; ++i) {
    steps(1);
    int key = -1;
    for (size_t k = 0; k < kKeyCount; ++k)
      if (st().glow.glow[k] == fresh) key = static_cast<int>(k);
    lit.push_back(key);
  }
  for (size_t cell = 0; cell < kFillLength; ++cell)
    EXPECT_EQ(lit[cell], FillOrder[cell] == kNoKey ? -1 : FillOrder[cell]) << cell;
  EXPECT_EQ(lit[170], -1);  // past the last cell: nothing, then from the start
  EXPECT_EQ(lit[171], 0);
  EXPECT_EQ(frame()[0].brightness, scale8(255, fresh));
  EXPECT_EQ(st().glow.glow[13], 0);  // off the key-order path, yet faded out
}

TEST_F(KeyboardModes, FillBackwardRestartsAfterCellOne) {
  start(make_info(kModeFill, 4, 4, 0));
  steps(2);  // 0 -> 170, then cell 170 lights nothing
  EXPECT_EQ(st().counter, 169);
  steps(168);  // cells 169 ... 2
  EXPECT_EQ(st().counter, 1);
  steps(1);  // cell 1 (key 1)
  EXPECT_EQ(st().glow.glow[1], decayed_glow(254, kModeFill));
  steps(1);  // counter 0 -> 170, cell 0 stays unlit
  EXPECT_EQ(st().counter, 170);
}

TEST_F(KeyboardModes, FallingKeysDropAndFade) {
  start(make_info(kModeFallingKeys, 4, 4, 1, 0, {100, 100, 100}));
  steps(1);
  const uint8_t first = FallingKeys[0][0];
  EXPECT_EQ(st().glow.glow[first], 255);
  EXPECT_EQ(frame()[first], led({100, 100, 100}, 254));
  steps(1);
  EXPECT_EQ(st().glow.glow[first], 250);
  EXPECT_EQ(st().colour_tab[first], 3);
  EXPECT_EQ(frame()[first].brightness, scale8(255, 250));
  fx_.set_light_info(make_info(kModeFallingKeys));
  steps(1);  // with wheel colours every key shows its colour at the full level
  EXPECT_EQ(frame()[first], led(ColourWheel[6], 255));
}

TEST_F(KeyboardModes, SparkleLightsAtMostSixListedKeysPerStep) {
  start(make_info(kModeSparkle));
  for (int i = 0; i < 50; ++i) {
    steps(1);
    int fresh = 0;
    for (size_t k = 0; k < kKeyCount; ++k) {
      if (st().glow.glow[k] != decayed_glow(255, kModeSparkle)) continue;
      ++fresh;
      EXPECT_NE(std::find(SparkleKeys.begin(), SparkleKeys.end(), k), SparkleKeys.end());
      EXPECT_LT(st().colour_tab[k], 192);
    }
    EXPECT_GE(fresh, 1);
    EXPECT_LE(fresh, 6);
  }
}

TEST_F(KeyboardModes, TwinklesStartAsAWaveOverTheLayout) {
  start(make_info(kModeFlowingTwinkle));
  EXPECT_EQ(st().phase[105], 140);  // column 0: 192 -> 157 ... 17 -> wraps to 175 -> 140
  EXPECT_EQ(st().phase[21], 79);    // column 1: 184 -> 149 -> 114 -> 79
  EXPECT_EQ(st().colour_tab[21], 7);
  steps(1);
  EXPECT_EQ(frame()[21], led({255, 22, 0}, 6));  // phase 80: curve 7

  start(make_info(kModeTwinkle));
  EXPECT_EQ(st().phase[119], 72);  // (128 + 6 * 22 + 4) wrapped
  EXPECT_EQ(st().glow.glow[119], 20);
  EXPECT_EQ(st().colour_tab[119], 154);
  steps(1);
  EXPECT_EQ(st().phase[119], 74);
  EXPECT_EQ(frame()[119].brightness, 15);  // curve 16
}

TEST_F(KeyboardModes, TwinkleTakesANewColourEachTimeRound) {
  start(make_info(kModeFlowingTwinkle));
  fx_.state().phase[51] = 191;
  fx_.state().colour_tab[51] = 250;  // impossible on purpose: must be replaced
  steps(1);
  EXPECT_EQ(st().phase[51], 0);
  EXPECT_LT(st().colour_tab[51], 192);
  EXPECT_EQ(frame()[51].brightness, 0);
}

TEST_F(KeyboardModes, ProgramModesPlayTheLightingProgram) {
  start(make_info(kModeProgram));
  steps(1);
  for (const LedRecord& l : frame()) EXPECT_EQ(l, LedRecord{});  // no program: off
  program_.set_steps({make_step(ProgramStepType::kStatic, 4, 100000, 0, {5, 6, 7}, 1)});
  for (uint8_t mode : {kModeProgram, kModeProgramToo, uint8_t{31}, uint8_t{200}}) {
    start(make_info(mode));
    steps(7);
    EXPECT_EQ(frame()[169], led({5, 6, 7}, 80)) << int(mode);
  }
}

// The light thread sleeps while a mode is quiet: every step it leaves out must have changed
// nothing, and in every other mode it must not sleep.
TEST_F(KeyboardModes, StillModesAreQuietAfterOneStepAndTheirFurtherStepsChangeNothing) {
  for (uint8_t mode = 1; mode <= kLastKeyboardMode; ++mode) {
    if (is_program_mode(mode)) continue;
    for (uint8_t multi : {0, 1}) {
      LightInfo info = make_info(mode);
      info.multi_color = multi;
      start(info);
      steps(1);
      const KeyFrame after_one = frame();
      if (!is_still_mode(mode)) {
        EXPECT_EQ(fx_.quiet_until(), 0u) << int{mode};
        continue;
      }
      EXPECT_EQ(fx_.quiet_until(), kQuietForever) << int{mode};
      steps(500);
      EXPECT_EQ(frame(), after_one) << int{mode} << "/" << int{multi};
      fx_.set_light_info(info);  // settings given again: look again
      EXPECT_EQ(fx_.quiet_until(), 0u) << int{mode};
      fx_.OnKeyEvent(5, kKeyPressed);
      steps(1);
      EXPECT_EQ(frame(), after_one) << int{mode};
    }
  }
}

TEST_F(KeyboardModes, AProgramModeIsQuietWhileItsStaticStepShows) {
  program_.set_steps({make_step(ProgramStepType::kStatic, 4, 5000, 0, {1, 2, 3})});
  start(make_info(kModeProgram));
  steps(20);
  EXPECT_GT(fx_.quiet_until(), 0u);
  EXPECT_NE(fx_.quiet_until(), kQuietForever);  // the step's time runs out
}

// The tables are typed in from paper: these checks catch a mistyped or missing entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "devices/lighting/keyboard_effect_tables.h"
#include "devices/lighting/keyboard_layout.h"
#include "devices/lighting/keyboard_modes.h"
#include "devices/lighting/shared_tables.h"

using namespace qxr::lighting;

TEST(ColourWheel, SegmentsJoinSmoothlyAndEndsMatch) {
  EXPECT_EQ(ColourWheel[0], (Rgb{255, 1, 0}));
  EXPECT_EQ(ColourWheel[31], (Rgb{255, 255, 0}));
  EXPECT_EQ(ColourWheel[32], (Rgb{248, 255, 0}));
  EXPECT_EQ(ColourWheel[72], (Rgb{0, 255, 26}));
  EXPECT_EQ(ColourWheel[191], (Rgb{255, 0, 0}));
  EXPECT_EQ(ColourWheel[192], (Rgb{255, 1, 0}));
  for (size_t i = 0; i < kWheelCycle; ++i) {
    const Rgb a = ColourWheel[i], b = ColourWheel[i + 1];
    const auto [lo, hi] = std::minmax({a.red, a.green, a.blue});
    EXPECT_EQ(lo, 0) << i;  // a pure hue: one component off, one full
    EXPECT_EQ(hi, 255) << i;
    EXPECT_LE(std::abs(a.red - b.red) + std::abs(a.green - b.green) + std::abs(a.blue - b.blue), 14) << i;
  }
  EXPECT_EQ(wheel_colour(192 + 5), ColourWheel[5]);  // larger indices wrap
}

TEST(BreathCurves, RiseToFullAndFallBackSymmetrically) {
  EXPECT_EQ(BreathCurve.front(), 0);
  EXPECT_EQ(BreathCurve[63], 255);
  EXPECT_EQ(BreathCurve[64], 255);
  EXPECT_EQ(BreathCurve96.front(), 22);
  EXPECT_EQ(BreathCurve96.back(), 22);
  EXPECT_EQ(BreathCurve96[47], 255);
  for (size_t i = 0; i + 1 < BreathCurve.size() / 2; ++i) EXPECT_LE(BreathCurve[i], BreathCurve[i + 1]);
  for (size_t i = 0; i < BreathCurve.size(); ++i) EXPECT_EQ(BreathCurve[i], BreathCurve[127 - i]);
  for (size_t i = 0; i < BreathCurve96.size(); ++i) EXPECT_EQ(BreathCurve96[i], BreathCurve[16 + (i < 48 ? i : 95 - i)]) << i;
}

TEST(PhaseCurve, FlashesOnceThenStaysDark) {
  EXPECT_EQ(PhaseCurve[0], 0);
  EXPECT_EQ(PhaseCurve[24], 255);
  EXPECT_EQ(PhaseCurve[87], 1);
  for (size_t i = 0; i < 24; ++i) EXPECT_LT(PhaseCurve[i], PhaseCurve[i + 1]) << i;
  for (size_t i = 24; i < 87; ++i) EXPECT_GE(PhaseCurve[i], PhaseCurve[i + 1]) << i;
  for (size_t i = 88; i < kPhaseCycle; ++i) EXPECT_EQ(PhaseCurve[i], 0) << i;
}

TEST(KeyLayout, GridHoldsEveryKeyOnceAndCellsPointBack) {
  std::set<int> seen;
  for (size_t c = 0; c < kGridColumns; ++c)
    for (size_t r = 0; r < kGridRows; ++r) {
      const uint8_t key = KeyGrid[c][r];
      if (key == kNoKey) continue;
      ASSERT_LT(key, kKeyCount);
      EXPECT_TRUE(seen.insert(key).second) << int(key);
      EXPECT_EQ(KeyCells[key].column, c);
      EXPECT_EQ(KeyCells[key].row, r);
    }
  EXPECT_EQ(seen.size(), 136u);
  EXPECT_FALSE(KeyCells[13].valid());  // print screen has no grid cell
  EXPECT_EQ(grid_key(10, 2), 51);
  EXPECT_EQ(grid_key(-1, 2), kNoKey);
  EXPECT_EQ(grid_key(23, 0), kNoKey);
  EXPECT_EQ(grid_key(0, 6), kNoKey);
}

TEST(KeyLayout, RingsKeyOrderAndFillOrderHoldTheirKeys) {
  std::set<int> ring_keys;
  for (const Ring& ring : RingGrid)
    for (uint8_t key : ring)
      if (key != kNoKey) { EXPECT_TRUE(ring_keys.insert(key).second) << int(key); }
  EXPECT_EQ(ring_keys.size(), 106u);
  EXPECT_EQ(RingGrid[0][0], 51);

  std::set<int> order_keys;
  int order_empty = 0;
  for (uint8_t key : KeyOrder) {
    if (key == kNoKey)
      ++order_empty;
    else
      EXPECT_TRUE(order_keys.insert(key).second) << int(key);
  }
  EXPECT_EQ(order_keys.size(), 102u);
  EXPECT_EQ(order_empty, 24);

  std::map<int, int> fill_count;
  for (uint8_t key : FillOrder) ++fill_count[key];
  EXPECT_EQ(fill_count[kNoKey], 18);
  EXPECT_EQ(fill_count[0], 45);  // the first cell and the 44 cells at the end
  for (const auto& [key, count] : fill_count)
    if (key != kNoKey && key != 0) { EXPECT_EQ(count, 1) << key; }
  EXPECT_EQ(FillOrder[109], 105);

  for (const WaveColumn& column : WaveLayout)
    for (uint8_t key : column) EXPECT_TRUE(key == kNoCell || key < kKeyCount);
  EXPECT_EQ(WaveLayout[20][0], 125);
  EXPECT_EQ(WaveLayout[0][6], 105);
}

TEST(EffectTables, PatternsOnlyNameKeys) {
  for (const ScanRow& row : ScanRows)
    for (uint8_t key : row) EXPECT_TRUE(key == kNoCell || key < kKeyCount);
  for (const ScanPair& pair : ScanPairs)
    for (uint8_t key : pair) EXPECT_LT(key, kKeyCount);
  std::set<int> sparkle(SparkleKeys.begin(), SparkleKeys.end());
  EXPECT_EQ(sparkle.size(), kSparkleKeyCount);
  EXPECT_LT(*sparkle.rbegin(), 170);
}

TEST(EffectTables, EveryGridKeyFallsTwicePerTable) {
  std::map<int, int> drops;
  for (const FallingRow& row : FallingKeys)
    for (uint8_t key : row)
      if (key != kNoKey) ++drops[key];
  EXPECT_EQ(drops.size(), 136u);
  for (const auto& [key, count] : drops) EXPECT_EQ(count, 2) << key;
  // A drop moves one row down per step.
  const uint8_t top = KeyGrid[3][0];
  for (size_t t = 0; t < kFallingRowCount; ++t) {
    const FallingRow& row = FallingKeys[t];
    if (std::find(row.begin(), row.end(), top) == row.end()) continue;
    const FallingRow& next = FallingKeys[(t + 1) % kFallingRowCount];
    EXPECT_NE(std::find(next.begin(), next.end(), KeyGrid[3][1]), next.end());
  }
}

TEST(EffectTicks, ModesStepAtTheirRows) {
  EXPECT_EQ(keyboard_step_ticks(kModeColumnBreathing, 4), 1u);  // every tick
  EXPECT_EQ(keyboard_step_ticks(kModeColumnBreathing, 0), 5u);
  for (uint8_t speed = 0; speed < 5; ++speed) {
    EXPECT_EQ(keyboard_step_ticks(kModeSweepingBar, speed), 5u);
    EXPECT_EQ(keyboard_step_ticks(kModeRingWave, speed), 5u);
    EXPECT_EQ(keyboard_step_ticks(kModeMusic, speed), 2u);
    EXPECT_EQ(keyboard_step_ticks(kModeKeyOrderWave, speed), kKeyOrderTicks[speed]);
    EXPECT_EQ(keyboard_step_ticks(kModeRowWave, speed), keyboard_step_ticks(kModeColumnWave, speed));
    EXPECT_EQ(keyboard_step_ticks(kModeBreatheFour, speed), keyboard_step_ticks(kModeColumnBreathing, speed));
    EXPECT_EQ(keyboard_step_ticks(kModeBlinkFour, speed), keyboard_step_ticks(kModeBlinkCycle, speed));
    for (uint8_t mode : {kModeReactiveRipple, kModeOff, kModeFlowingTwinkle, kModeFill})
      EXPECT_EQ(keyboard_step_ticks(mode, speed), kCommonTicks[speed]) << int(mode);
    // The program counts its own ticks.
    EXPECT_EQ(keyboard_step_ticks(kModeProgram, speed), 1u);
    EXPECT_EQ(keyboard_step_ticks(31, speed), 1u);
    EXPECT_EQ(keyboard_step_ticks(kModeProgramToo, speed), kCommonTicks[speed]);
    EXPECT_EQ(loop_step_counts(speed), SpeedTable[speed]);
  }
  EXPECT_EQ(keyboard_step_ticks(kModeColumnWave, 9), 2u);  // a speed beyond 4 runs as 4
  EXPECT_EQ(loop_step_counts(0), 28u);
}

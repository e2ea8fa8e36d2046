// The modes a key press starts, and the ones that move the ripple masks by themselves.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "devices/lighting/key_glow.h"
#include "devices/lighting/keyboard_effects.h"
#include "devices/lighting/keyboard_layout.h"
#include "lighting_test_util.h"

using namespace qxr::lighting;
using namespace qxr::lighting::testing;

namespace {
class KeyboardReactive : public ::testing::Test {
 protected:
  void start(const LightInfo& info) { enter(fx_, info); }
  void steps(int n) { run_steps(fx_, program_, n); }
  uint8_t glow(size_t key) const { return fx_.state().glow.glow[key]; }
  uint8_t reactive(size_t key) const { return fx_.state().reactive[key]; }
  std::set<int> lit_keys() const {
    std::set<int> keys;
    for (size_t k = 0; k < kKeyCount; ++k)
      if (glow(k) != 0) keys.insert(static_cast<int>(k));
    return keys;
  }

  KeyboardEffects fx_;
  LightProgram program_;
};
}  // namespace

TEST_F(KeyboardReactive, PressGlowsWhileHeldAndFadesAfterRelease) {
  start(make_info(kModeReactive));
  fx_.OnKeyEvent(51, kKeyPressed);
  EXPECT_EQ(glow(51), 255);
  EXPECT_EQ(reactive(51), kReactivePressed);
  EXPECT_LT(fx_.state().colour_tab[51], 192);
  steps(3);
  EXPECT_EQ(glow(51), 255);
  EXPECT_EQ(fx_.frame()[51], led(ColourWheel[fx_.state().colour_tab[51]], 254));
  fx_.OnKeyEvent(51, kKeyReleased);
  steps(1);
  EXPECT_EQ(glow(51), 250);
  steps(50);
  EXPECT_EQ(glow(51), 0);
  EXPECT_EQ(reactive(51), kReactiveIdle);
  fx_.OnKeyEvent(170, kKeyPressed);  // beyond the keys: ignored
  fx_.OnKeyEvent(5, 3);               // neither press nor release: ignored
  EXPECT_TRUE(lit_keys().empty());
}

TEST_F(KeyboardReactive, PressedKeysRiseBackToFull) {
  start(make_info(kModeReactive));
  fx_.state().reactive[10] = kReactivePressed;
  fx_.state().glow.glow[10] = 100;
  steps(1);
  EXPECT_EQ(glow(10), 115);
  steps(20);
  EXPECT_EQ(glow(10), 255);
}

TEST_F(KeyboardReactive, ReactiveRippleSpreadsAroundThePress) {
  start(make_info(kModeReactiveRipple));
  fx_.OnKeyEvent(51, kKeyPressed);  // column 10, row 2
  EXPECT_EQ(glow(51), 255);
  for (int k : {30, 72, 50, 52}) EXPECT_EQ(glow(k), 150) << k;      // next to it
  for (int k : {29, 31, 71, 73, 7, 92}) EXPECT_EQ(glow(k), 90) << k;  // diagonal, two rows off
  for (int k : {49, 53}) EXPECT_EQ(glow(k), 60) << k;                 // two columns off
  EXPECT_EQ(lit_keys().size(), 13u);
  for (int k : lit_keys()) EXPECT_EQ(reactive(k), kReactivePressed) << k;

  fx_.OnKeyEvent(52, kKeyPressed);  // column 11, row 2
  EXPECT_EQ(glow(50), 210);         // 150 + 60
  EXPECT_EQ(glow(30), 240);         // 150 + 90
  EXPECT_EQ(glow(51), 255);         // capped

  fx_.OnKeyEvent(51, kKeyReleased);  // cells that 52 still holds stay pressed
  for (int k : {51, 30, 72, 50, 52, 31, 73, 53}) EXPECT_EQ(reactive(k), kReactivePressed) << k;
  for (int k : {7, 92, 49, 29, 71}) EXPECT_EQ(reactive(k), kReactiveReleased) << k;
  fx_.OnKeyEvent(52, kKeyReleased);
  for (int k : lit_keys()) EXPECT_EQ(reactive(k), kReactiveReleased) << k;
  steps(60);
  EXPECT_TRUE(lit_keys().empty());
}

TEST_F(KeyboardReactive, RippleSpreadsDiagonallyFromThePress) {
  start(make_info(kModeRipple));
  fx_.OnKeyEvent(51, kKeyPressed);
  fx_.OnKeyEvent(51, kKeyReleased);  // a release starts nothing
  steps(1);
  EXPECT_EQ(lit_keys(), (std::set<int>{51}));
  EXPECT_EQ(glow(51), 215);
  EXPECT_EQ(fx_.frame()[51].brightness, 214);
  steps(1);
  EXPECT_EQ(lit_keys(), (std::set<int>{51, 50, 52, 30, 72}));
  EXPECT_EQ(glow(50), 215);
  EXPECT_EQ(glow(51), 175);
}

TEST_F(KeyboardReactive, RowRippleStaysInItsRow) {
  start(make_info(kModeRowRipple));
  fx_.OnKeyEvent(51, kKeyPressed);
  steps(2);
  EXPECT_EQ(lit_keys(), (std::set<int>{50, 51, 52}));
  steps(12);
  for (int k : lit_keys()) EXPECT_EQ(KeyCells[k].row, 2) << k;
  EXPECT_GT(glow(KeyGrid[22][2]), 0);  // reached both ends of the row
  EXPECT_GT(glow(KeyGrid[0][2]), 0);
}

TEST_F(KeyboardReactive, BouncingBarReachesTopAndBottomAndNeverStops) {
  start(make_info(kModeBouncingBar));
  bool top = false, bottom = false;
  for (int i = 0; i < 400; ++i) {
    steps(1);
    if (i > 4) { ASSERT_FALSE(lit_keys().empty()) << i; }
    top = top || glow(KeyGrid[9][0]) > 0;
    bottom = bottom || glow(KeyGrid[9][5]) > 0;
  }
  EXPECT_TRUE(top);
  EXPECT_TRUE(bottom);
}

TEST_F(KeyboardReactive, SweepingBarCrossesTheKeyboardBothWays) {
  start(make_info(kModeSweepingBar));
  int reached_right = -1, back_left = -1;
  for (int i = 0; i < 400 && back_left < 0; ++i) {
    steps(1);
    if (reached_right < 0 && glow(KeyGrid[22][5]) > 0) reached_right = i;
    if (reached_right >= 0 && glow(KeyGrid[1][1]) > 0) back_left = i;
  }
  EXPECT_GE(reached_right, 0);
  EXPECT_GT(back_left, reached_right);
}

TEST_F(KeyboardReactive, ScanRunsItsFivePhasesInOrder) {
  start(make_info(kModeScan));
  steps(1);
  EXPECT_EQ(lit_keys(), (std::set<int>{0, 118}));
  std::vector<int> phases = {0};
  bool corner = false;
  for (int i = 0; i < 600 && phases.size() < 6; ++i) {
    steps(1);
    if (fx_.state().scan.phase != phases.back()) phases.push_back(fx_.state().scan.phase);
    corner = corner || glow(124) > 0;
  }
  EXPECT_EQ(phases, (std::vector<int>{0, 1, 2, 3, 4, 0}));
  EXPECT_TRUE(corner);
}

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "devices/lighting/keyboard_effects.h"
#include "devices/lighting/keyboard_layout.h"
#include "devices/lighting/music_input.h"
#include "lighting_test_util.h"

using namespace qxr::lighting;
using namespace qxr::lighting::testing;

TEST(MusicHeight, SilenceLightsNoRowAndFullScaleRowsOneToFive) {
  EXPECT_EQ(music_first_row(0), 7);
  EXPECT_EQ(music_first_row(2000), 1);
  EXPECT_EQ(music_first_row(1000), 4);
  EXPECT_EQ(music_first_row(333), 6);  // too quiet for a row
  EXPECT_EQ(music_first_row(-40), 7);  // out-of-range input is clamped, not extrapolated
  EXPECT_EQ(music_first_row(90000), 1);
}

TEST(MusicInput, TakesTheFirstBandsClampedAndConsumesThem) {
  MusicInput input;
  std::vector<int32_t> frame(500, 0);
  frame[0] = 2500;
  frame[3] = -7;
  frame[24] = 700;
  frame[25] = 2000;  // beyond the 25 bands
  input.FeedSpectrum(frame.data(), frame.size());
  MusicFrame taken;
  input.take(taken);
  EXPECT_EQ(taken.bands[0], 2000);
  EXPECT_EQ(taken.bands[3], 0);
  EXPECT_EQ(taken.bands[24], 700);
  input.take(taken);
  EXPECT_EQ(taken.bands, (std::array<int32_t, kMusicBands>{}));  // a step consumes them

  const int32_t short_frame[2] = {100, 200};
  input.FeedSpectrum(short_frame, 2);
  input.take(taken);
  EXPECT_EQ(taken.bands[1], 200);
  EXPECT_EQ(taken.bands[2], 0);
  input.FeedSpectrum(nullptr, 25);  // nothing to read: silence
  input.take(taken);
  EXPECT_EQ(taken.bands[1], 0);
}

TEST(MusicInput, LevelsAreCutToSixAndKept) {
  MusicInput input;
  const uint8_t values[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  input.FeedLevels(values, 10);
  EXPECT_EQ(input.levels(), (std::array<uint8_t, 6>{1, 2, 3, 4, 5, 6}));
  input.FeedLevels(values, 2);
  EXPECT_EQ(input.levels(), (std::array<uint8_t, 6>{1, 2, 0, 0, 0, 0}));
  MusicFrame taken;
  input.take(taken);
  EXPECT_EQ(input.levels()[1], 2);  // not consumed
  input.clear();
  EXPECT_EQ(input.levels()[1], 0);
}

TEST(MusicInput, RipplesFollowTheAccumulatedLevel) {
  MusicInput input;
  MusicFrame taken;
  std::array<int32_t, kMusicBands> quiet;
  quiet.fill(400);  // 20 % of full scale
  for (int feed = 1; feed <= 4; ++feed) {
    input.FeedSpectrum(quiet.data(), quiet.size());
    input.take(taken);
    EXPECT_EQ(taken.ripple, feed == 4) << feed;  // 20, 40, 60, 80 > 71
  }
  std::array<int32_t, kMusicBands> silent{};
  for (int feed = 0; feed < 20; ++feed) input.FeedSpectrum(silent.data(), silent.size());
  input.take(taken);
  EXPECT_FALSE(taken.ripple);
}

namespace {
constexpr Rgb kBackground{1, 2, 3};
constexpr Rgb kForeground{200, 0, 0};

class MusicEffect : public ::testing::Test {
 protected:
  void start(uint8_t visual, bool wheel = false) {
    fx_.set_music_style({visual, kBackground, kForeground, wheel});
    enter(fx_, make_info(kModeMusic));
  }
  void feed(int32_t all, int steps = 1) {
    MusicFrame music;
    music.bands.fill(all);
    run_steps(fx_, program_, steps, music);
  }
  void feed(const MusicFrame& music, int steps = 1) { run_steps(fx_, program_, steps, music); }
  bool lit(size_t key) const { return fx_.frame()[key] == led(bar_, 255) && fx_.state().glow.glow[key] == 255; }
  bool lit_any() const {
    for (uint8_t g : fx_.state().glow.glow)
      if (g != 0) return true;
    return false;
  }

  KeyboardEffects fx_;
  LightProgram program_;
  Rgb bar_ = kForeground;
};
}  // namespace

TEST_F(MusicEffect, SilenceLightsNothingInAnyVisualisation) {
  for (uint8_t visual = 0; visual < kMusicVisualCount; ++visual) {
    start(visual);
    feed(0, 10);
    EXPECT_FALSE(lit_any()) << int(visual);
    for (const LedRecord& l : fx_.frame())
      if (l.brightness != 0) { EXPECT_EQ(l, led(kBackground, 255)) << int(visual); }
  }
}

TEST_F(MusicEffect, EveryVisualisationShowsFullScale) {
  for (uint8_t visual = 0; visual < kMusicVisualCount; ++visual) {
    start(visual);
    MusicFrame loud;
    loud.bands.fill(2000);
    loud.ripple = true;
    feed(loud, 3);
    EXPECT_TRUE(lit_any()) << int(visual);
  }
}

TEST_F(MusicEffect, ColumnBarsLightRowsOneToFiveAtFullScale) {
  start(0);
  feed(2000);
  for (size_t c = 0; c < kGridColumns; ++c) {
    if (KeyGrid[c][0] != kNoKey) { EXPECT_EQ(fx_.frame()[KeyGrid[c][0]], led(kBackground, 255)) << c; }
    for (size_t row = 1; row < kGridRows; ++row)
      if (KeyGrid[c][row] != kNoKey) { EXPECT_TRUE(lit(KeyGrid[c][row])) << c << "," << row; }
  }
}

TEST_F(MusicEffect, EachColumnShowsItsBandInItsWheelColour) {
  start(0, true);
  MusicFrame music;
  music.bands[3] = 1000;  // rows 4 and 5 of column 3
  feed(music);
  bar_ = ColourWheel[31];  // colour counter 1, column 3: 1 + 30
  EXPECT_TRUE(lit(KeyGrid[3][4]));
  EXPECT_TRUE(lit(KeyGrid[3][5]));
  EXPECT_FALSE(lit(KeyGrid[3][3]));
  EXPECT_EQ(fx_.state().glow.glow[KeyGrid[2][5]], 0);
  EXPECT_EQ(fx_.state().glow.glow[KeyGrid[4][5]], 0);
}

TEST_F(MusicEffect, BarsFadeIntoTheBackground) {
  start(0);
  feed(2000);
  feed(0);
  const uint8_t key = KeyGrid[5][3];
  EXPECT_EQ(fx_.state().glow.glow[key], 210);
  EXPECT_EQ(fx_.frame()[key], led(kForeground, 209));
  feed(0, 5);  // 165, 120, 75, 40, 5
  EXPECT_EQ(fx_.frame()[key], led(kBackground, 255));
}

TEST_F(MusicEffect, BandOffsetMovesEveryThirtyOneSteps) {
  start(0);
  MusicFrame music;
  music.bands[1] = 2000;
  feed(music, 30);
  EXPECT_TRUE(lit(KeyGrid[1][5]));
  feed(music);  // the 31st step moves the offset: column 0 now shows band 1
  EXPECT_TRUE(lit(KeyGrid[0][5]));
  EXPECT_FALSE(lit(KeyGrid[1][5]));
}

TEST_F(MusicEffect, RippleStartsAtTheCentreKeyAndSpreads) {
  start(2);
  feed(0, 3);
  EXPECT_FALSE(lit_any());
  MusicFrame music;
  music.ripple = true;
  feed(music);
  EXPECT_GT(fx_.state().glow.glow[51], 0);
  EXPECT_EQ(fx_.state().glow.glow[50], 0);
  feed(0);
  EXPECT_GT(fx_.state().glow.glow[50], 0);
  EXPECT_GT(fx_.state().glow.glow[52], 0);
  EXPECT_EQ(fx_.frame()[50].red, ColourWheel[fx_.state().colour_tab[50]].red);
}

TEST_F(MusicEffect, HangingBarsRingsAndRowBarsHaveTheirShapes) {
  start(4);
  feed(2000);
  EXPECT_TRUE(lit(KeyGrid[2][0]));
  EXPECT_TRUE(lit(KeyGrid[2][4]));
  EXPECT_FALSE(lit(KeyGrid[2][5]));

  start(3);
  feed(2000);
  for (const Ring& ring : RingGrid)
    for (uint8_t key : ring)
      if (key != kNoKey) { EXPECT_TRUE(lit(key)) << int(key); }

  start(1);
  MusicFrame music;
  music.bands[0] = 1000;  // bottom row: two rows' worth of 5 -> 10 of 23 columns
  feed(music);
  EXPECT_TRUE(lit(KeyGrid[9][5]));
  EXPECT_FALSE(lit(KeyGrid[10][5]));
  EXPECT_FALSE(lit(KeyGrid[9][4]));
}

TEST_F(MusicEffect, SixBandRowsGroupTheBands) {
  start(5);
  MusicFrame music;
  music.bands[0] = music.bands[1] = 2000;  // the first group of two
  feed(music);
  for (size_t c = 0; c < kGridColumns; ++c) EXPECT_TRUE(lit(KeyGrid[c][5])) << c;
  EXPECT_FALSE(lit(KeyGrid[5][4]));

  start(6);
  music.bands = {};
  music.bands[0] = 1000;  // a group of one; bars grow from column 11 to 5 columns each way
  feed(music);
  EXPECT_TRUE(lit(KeyGrid[7][5]));
  EXPECT_TRUE(lit(KeyGrid[15][5]));
  EXPECT_FALSE(lit(KeyGrid[6][5]));
  EXPECT_FALSE(lit(KeyGrid[16][5]));
}

// The band reduction against values worked out by hand from the steps: the difference to the
// previous block, 25 integer means of 20, the rest of the frame 0.
#include <gtest/gtest.h>

#include <limits>

#include "music/band_reduction.h"

namespace qxr::music {
namespace {

SampleFrame ramp(int32_t start, int32_t step) {
  SampleFrame s{};
  for (size_t i = 0; i < s.size(); ++i) s[i] = start + static_cast<int32_t>(i) * step;
  return s;
}

TEST(BandReduction, FirstBlockIsMeasuredAgainstSilence) {
  BandReducer reducer;
  // Sample i = i: band g holds 20g .. 20g+19, mean (400g + 190) / 20 = 20g + 9 (9.5 cut to 9).
  const SampleFrame& out = reducer.reduce(ramp(0, 1));
  EXPECT_EQ(out[0], 9);
  EXPECT_EQ(out[1], 29);
  EXPECT_EQ(out[24], 489);
  for (size_t i = kBandCount; i < kSampleCount; ++i) EXPECT_EQ(out[i], 0) << i;
}

TEST(BandReduction, DifferencesAreTakenToThePreviousBlockWhateverTheirSign) {
  BandReducer reducer;
  reducer.reduce(ramp(0, 1));
  // Now sample i = 3 - i: |3 - 2i|, band 0: 3,1,1,3,5,...,35 -> sum 3+1+1+3+...: 3+1 + (1+3+..+35)
  // = 4 + 18^2 = 328, mean 16 (16.4 cut).
  SampleFrame next = ramp(3, -1);
  const SampleFrame& out = reducer.reduce(next);
  EXPECT_EQ(out[0], 16);
  // Band 1: i = 20..39, |3 - 2i| = 2i - 3: sum 2*590 - 60 = 1120, mean 56.
  EXPECT_EQ(out[1], 56);
}

TEST(BandReduction, TwoIdenticalBlocksInARowGiveSilence) {
  BandReducer reducer;
  SampleFrame loud{};
  loud.fill(8000);
  EXPECT_EQ(reducer.reduce(loud)[3], 8000);
  const SampleFrame& out = reducer.reduce(loud);
  for (int32_t v : out) EXPECT_EQ(v, 0);
}

TEST(BandReduction, OneSampleChangesOnlyItsBandByAtwentieth) {
  BandReducer reducer;
  SampleFrame s{};
  reducer.reduce(s);
  s[47] = 39;  // band 2; 39 / 20 = 1 in integers
  const SampleFrame& out = reducer.reduce(s);
  EXPECT_EQ(out[1], 0);
  EXPECT_EQ(out[2], 1);
  EXPECT_EQ(out[3], 0);
}

TEST(BandReduction, ExtremeSamplesNeitherOverflowNorTurnNegative) {
  BandReducer reducer;
  SampleFrame low{};
  low.fill(std::numeric_limits<int32_t>::min());
  reducer.reduce(low);
  SampleFrame high{};
  high.fill(std::numeric_limits<int32_t>::max());
  const SampleFrame& out = reducer.reduce(high);
  EXPECT_EQ(out[0], std::numeric_limits<int32_t>::max());
  reducer.reset();
  EXPECT_EQ(reducer.reduce(SampleFrame{})[0], 0);
}

}  // namespace
}  // namespace qxr::music

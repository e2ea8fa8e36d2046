// The recorder's analysis: a tone shows at its pitch and nowhere far from it, silence is 0,
// and the level bytes carry the style colour at the loudness.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "recorder/sound_analyser.h"

namespace qxr::recorder {
namespace {

constexpr unsigned kRate = 48000;

std::vector<float> tone(double hz, double amplitude, size_t n) {
  std::vector<float> out(n);
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hz * i / kRate));
  return out;
}

// The output value whose frequency is nearest hz.
size_t index_of(double hz) {
  const double top = std::min(kHighestHz, kRate / 2.0);
  return static_cast<size_t>(std::lround(std::log(hz / kLowestHz) / std::log(top / kLowestHz) * (music::kSampleCount - 1)));
}

TEST(SoundAnalyser, OneBlockPerTenMillisecondsOfSound) {
  SoundAnalyser a(kRate);
  EXPECT_EQ(a.hop(), 480u);
  EXPECT_FALSE(a.add(tone(1000, 0.5, 479)));
  EXPECT_TRUE(a.add(tone(1000, 0.5, 1)));
}

TEST(SoundAnalyser, AToneShowsAtItsPitchAndSilenceIsZero) {
  SoundAnalyser a(kRate);
  music::SampleFrame spectrum{};
  LevelsBlock levels{};
  a.add(std::vector<float>(kWindow, 0.0f));
  a.analyse(spectrum, levels);
  EXPECT_EQ(*std::max_element(spectrum.begin(), spectrum.end()), 0);
  EXPECT_EQ(levels[3], 0);

  a.add(tone(1000, 0.5, kWindow));
  a.analyse(spectrum, levels);
  const size_t peak = static_cast<size_t>(std::max_element(spectrum.begin(), spectrum.end()) - spectrum.begin());
  EXPECT_NEAR(static_cast<double>(peak), static_cast<double>(index_of(1000)), 6.0);
  // Half of full scale is -6 dB: about 92 % of the 72 dB range.
  EXPECT_GT(spectrum[peak], kSpectrumFullScale * 85 / 100);
  // Two octaves away the window's leakage is far below the floor.
  EXPECT_EQ(spectrum[index_of(250)], 0);
  EXPECT_EQ(spectrum[index_of(4000)], 0);
}

TEST(SoundAnalyser, LevelsCarryTheStyleColourAtTheLoudness) {
  SoundAnalyser a(kRate);
  a.set_colour({9, 0, 3});
  music::SampleFrame spectrum{};
  LevelsBlock loud{}, quiet{};
  a.add(tone(440, 1.0, kWindow));
  a.analyse(spectrum, loud);
  EXPECT_GT(loud[0], 230);
  EXPECT_EQ(loud[1], 0);
  EXPECT_NEAR(loud[2], loud[0] / 3, 2);
  EXPECT_GT(loud[4], 250);  // the peak
  a.add(tone(440, 0.01, kWindow));
  a.analyse(spectrum, quiet);
  EXPECT_LT(quiet[3], loud[3]);
  EXPECT_LT(quiet[0], loud[0]);
}

TEST(SoundAnalyser, TheFftFindsASingleBin) {
  std::vector<std::complex<float>> data(16);
  std::vector<std::complex<float>> twiddle(8);
  for (size_t k = 0; k < 8; ++k) twiddle[k] = std::polar(1.0f, static_cast<float>(-2 * std::numbers::pi * k / 16));
  for (size_t i = 0; i < 16; ++i) data[i] = std::polar(1.0f, static_cast<float>(2 * std::numbers::pi * 3 * i / 16));
  fft(data, twiddle);
  for (size_t k = 0; k < 16; ++k) EXPECT_NEAR(std::abs(data[k]), k == 3 ? 16.0f : 0.0f, 1e-3f) << k;
}

}  // namespace
}  // namespace qxr::recorder

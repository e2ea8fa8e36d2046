#pragma once
// What the recorder makes of the sound: every hop of mono samples becomes one spectrum block
// (500 values, 0-8192: the level of 500 frequencies spaced evenly in pitch from 40 Hz to
// 16 kHz, 0 at -72 dB and below, 8192 at full scale) and one levels block (bytes 0-2 the style
// colour at the loudness, 3 the loudness, 4 the peak, 5 reserved). The program takes the
// difference of successive spectrum blocks, so the keyboard shows how the sound changes.
#include <array>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "music/band_reduction.h"
#include "music/exchange_buffers.h"
#include "music/recorder_link.h"

namespace qxr::recorder {

inline constexpr size_t kWindow = 1024;
inline constexpr int32_t kSpectrumFullScale = 8192;
inline constexpr double kFloorDb = -72.0;
inline constexpr double kLowestHz = 40.0;
inline constexpr double kHighestHz = 16000.0;
// One block per 10 ms of sound.
inline constexpr unsigned kBlocksPerSecond = 100;

using LevelsBlock = std::array<uint8_t, music::kLevelsBlockBytes>;

class SoundAnalyser {
 public:
  explicit SoundAnalyser(unsigned rate);

  unsigned rate() const { return rate_; }
  size_t hop() const { return hop_; }
  // Takes samples (-1 .. 1); true when a hop or more arrived since the last blocks were made.
  bool add(std::span<const float> samples);
  // The blocks of the newest window.
  void analyse(music::SampleFrame& spectrum, LevelsBlock& levels);
  void set_colour(const music::StyleColour& colour) { colour_ = colour; }
  // Back to silence.
  void reset();

 private:
  unsigned rate_;
  size_t hop_;
  std::vector<float> ring_;  // the last kWindow samples
  size_t write_ = 0;
  size_t fresh_ = 0;  // samples since the last analysis
  float peak_ = 0;
  music::StyleColour colour_{music::kStyleSteps, music::kStyleSteps, music::kStyleSteps};
  std::array<float, kWindow> hann_{};
  std::array<float, music::kSampleCount> bin_of_{};  // fractional FFT bin of each output value
  std::vector<std::complex<float>> work_;
  std::array<float, kWindow / 2 + 1> magnitude_{};
  std::vector<std::complex<float>> twiddle_;
};

// In-place radix-2 FFT of a power-of-two length; twiddle holds exp(-2πik/n) for k < n/2.
void fft(std::vector<std::complex<float>>& data, const std::vector<std::complex<float>>& twiddle);

}  // namespace qxr::recorder

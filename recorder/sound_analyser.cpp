#include "recorder/sound_analyser.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qxr::recorder {

void fft(std::vector<std::complex<float>>& a, const std::vector<std::complex<float>>& twiddle) {
  const size_t n = a.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    const size_t stride = n / len;
    for (size_t i = 0; i < n; i += len) {
      for (size_t k = 0; k < len / 2; ++k) {
        const std::complex<float> t = a[i + k + len / 2] * twiddle[k * stride];
        a[i + k + len / 2] = a[i + k] - t;
        a[i + k] += t;
      }
    }
  }
}

SoundAnalyser::SoundAnalyser(unsigned rate)
    : rate_(rate == 0 ? 48000 : rate), hop_(std::max<size_t>(1, rate_ / kBlocksPerSecond)), ring_(kWindow, 0.0f),
      work_(kWindow), twiddle_(kWindow / 2) {
  for (size_t i = 0; i < kWindow; ++i) {
    hann_[i] = static_cast<float>(0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(i) / kWindow));
  }
  for (size_t k = 0; k < twiddle_.size(); ++k) {
    twiddle_[k] = std::polar(1.0f, static_cast<float>(-2 * std::numbers::pi * static_cast<double>(k) / kWindow));
  }
  const double top = std::min(kHighestHz, rate_ / 2.0);
  for (size_t i = 0; i < music::kSampleCount; ++i) {
    const double hz = kLowestHz * std::pow(top / kLowestHz, static_cast<double>(i) / (music::kSampleCount - 1));
    bin_of_[i] = static_cast<float>(hz * kWindow / rate_);
  }
}

bool SoundAnalyser::add(std::span<const float> samples) {
  for (float s : samples) {
    ring_[write_] = s;
    write_ = (write_ + 1) % kWindow;
    peak_ = std::max(peak_, std::fabs(s));
  }
  fresh_ += samples.size();
  return fresh_ >= hop_;
}

void SoundAnalyser::reset() {
  std::fill(ring_.begin(), ring_.end(), 0.0f);
  fresh_ = 0;
  peak_ = 0;
}

void SoundAnalyser::analyse(music::SampleFrame& spectrum, LevelsBlock& levels) {
  double power = 0;
  for (size_t i = 0; i < kWindow; ++i) {
    const float s = ring_[(write_ + i) % kWindow];
    power += double{s} * s;
    work_[i] = {s * hann_[i], 0.0f};
  }
  fft(work_, twiddle_);
  // Each bin's magnitude once: the output values share bins, and std::abs is a slow hypot.
  for (size_t k = 0; k <= kWindow / 2; ++k) magnitude_[k] = std::sqrt(std::norm(work_[k]));
  // A full-scale sine through the Hann window peaks at a quarter of the window.
  const float reference = kWindow / 4.0f;
  for (size_t i = 0; i < music::kSampleCount; ++i) {
    const float at = bin_of_[i];
    const auto lo = static_cast<size_t>(at);
    const float frac = at - static_cast<float>(lo);
    const float a = magnitude_[std::min(lo, kWindow / 2)];
    const float b = magnitude_[std::min(lo + 1, kWindow / 2)];
    const float magnitude = (a + (b - a) * frac) / reference;
    const double db = magnitude > 0 ? 20.0 * std::log10(magnitude) : kFloorDb;
    const double scaled = std::clamp((db - kFloorDb) / -kFloorDb, 0.0, 1.0);
    spectrum[i] = static_cast<int32_t>(scaled * kSpectrumFullScale);
  }
  const double rms = std::sqrt(power / kWindow);
  const double rms_db = rms > 0 ? 20.0 * std::log10(rms) : kFloorDb;
  const double loudness = std::clamp((rms_db - kFloorDb) / -kFloorDb, 0.0, 1.0);
  const auto channel = [loudness](int step) {
    return static_cast<uint8_t>(std::lround(std::clamp(step, 0, music::kStyleSteps) * 255.0 / music::kStyleSteps * loudness));
  };
  levels = {channel(colour_.red), channel(colour_.green), channel(colour_.blue),
            static_cast<uint8_t>(std::lround(loudness * 255)),
            static_cast<uint8_t>(std::lround(std::clamp(peak_, 0.0f, 1.0f) * 255)), 0};
  fresh_ = 0;
  peak_ = 0;
}

}  // namespace qxr::recorder

#pragma once
// What the program does with each spectrum block of the recorder: the difference to the
// previous block, averaged over 25 groups of 20, as the first 25 values of a 500-value frame
// for the keyboard's music effect. Runs on the UI thread; holds the previous block.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qxr::music {

inline constexpr size_t kSampleCount = 500;
inline constexpr size_t kBandCount = 25;
inline constexpr size_t kBandWidth = kSampleCount / kBandCount;  // 20

using SampleFrame = std::array<int32_t, kSampleCount>;

class BandReducer {
 public:
  // The frame for FeedSpectrum: band means first, the rest 0. samples becomes the previous block.
  const SampleFrame& reduce(std::span<const int32_t, kSampleCount> samples);
  const SampleFrame& output() const { return output_; }
  // Forget the previous block (a new recorder starts from silence).
  void reset();

 private:
  SampleFrame previous_{};
  SampleFrame output_{};
};

}  // namespace qxr::music

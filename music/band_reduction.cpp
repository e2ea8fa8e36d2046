#include "music/band_reduction.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace qxr::music {

const SampleFrame& BandReducer::reduce(std::span<const int32_t, kSampleCount> samples) {
  // Samples come from another program: any 32-bit value may arrive, so differences and sums
  // are taken in 64 bits and a mean beyond 32 bits is held at the largest value.
  std::array<int64_t, kSampleCount> difference{};
  for (size_t i = 0; i < kSampleCount; ++i) {
    difference[i] = std::llabs(int64_t{samples[i]} - int64_t{previous_[i]});
  }
  std::copy(samples.begin(), samples.end(), previous_.begin());
  output_.fill(0);
  for (size_t g = 0; g < kBandCount; ++g) {
    int64_t sum = 0;
    for (size_t i = 0; i < kBandWidth; ++i) sum += difference[g * kBandWidth + i];
    const int64_t mean = sum / static_cast<int64_t>(kBandWidth);
    output_[g] = static_cast<int32_t>(std::min<int64_t>(mean, std::numeric_limits<int32_t>::max()));
  }
  return output_;
}

void BandReducer::reset() {
  previous_.fill(0);
  output_.fill(0);
}

}  // namespace qxr::music

#include "devices/lighting/music_input.h"

#include <algorithm>

namespace qxr::lighting {

namespace {
// The bar height scale: a band at full scale is 0 high, silence 600; the first lit row is
// the height (plus a row's margin) in sixths.
constexpr int kBarScale = 600;
constexpr int kBarMargin = 100;
constexpr int kBarRows = 6;
constexpr int kPercent = 100;
}  // namespace

int music_first_row(int32_t magnitude) {
  const int v = std::clamp<int32_t>(magnitude, 0, kMusicFullScale);
  const int height = kBarScale - v * kBarScale / kMusicFullScale;
  return (height + kBarMargin) * kBarRows / kBarScale;
}

void MusicInput::FeedSpectrum(const int32_t* values, size_t count) {
  std::array<int32_t, kMusicBands> bands{};
  const size_t n = values ? std::min(count, kMusicBands) : 0;
  int64_t sum = 0;
  for (size_t i = 0; i < n; ++i) {
    bands[i] = std::clamp<int32_t>(values[i], 0, kMusicFullScale);
    sum += bands[i];
  }
  const auto average_percent =
      static_cast<uint32_t>(sum * kPercent / (int64_t{kMusicFullScale} * kMusicBands));
  std::lock_guard lock(mutex_);
  pending_.bands = bands;
  pending_.fresh = true;
  accumulated_ += average_percent;
  if (accumulated_ > kMusicRippleThreshold) {
    pending_.ripple = true;
    accumulated_ = 0;
  }
}

void MusicInput::FeedLevels(const uint8_t* values, size_t count) {
  std::array<uint8_t, kMusicLevels> levels{};
  const size_t n = values ? std::min(count, kMusicLevels) : 0;
  std::copy_n(values, n, levels.begin());
  std::lock_guard lock(mutex_);
  pending_.levels = levels;
  pending_.fresh = true;
}

void MusicInput::take(MusicFrame& out) {
  std::lock_guard lock(mutex_);
  out = pending_;
  pending_.bands.fill(0);
  pending_.ripple = false;
  pending_.fresh = false;
}

bool MusicInput::fresh() const {
  std::lock_guard lock(mutex_);
  return pending_.fresh;
}

std::array<uint8_t, kMusicLevels> MusicInput::take_levels(bool& fresh) {
  std::lock_guard lock(mutex_);
  fresh = pending_.fresh;
  pending_.fresh = false;
  return pending_.levels;
}

std::array<uint8_t, kMusicLevels> MusicInput::levels() const {
  std::lock_guard lock(mutex_);
  return pending_.levels;
}

void MusicInput::clear() {
  std::lock_guard lock(mutex_);
  pending_ = MusicFrame{};
  accumulated_ = 0;
}

}  // namespace qxr::lighting

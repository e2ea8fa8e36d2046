#include "devices/frame_repeat_filter.h"

#include <algorithm>

namespace qxr::devices {

bool FrameRepeatFilter::due(std::span<const uint8_t> bytes, uint64_t now_ms, uint64_t gen) const {
  if (!valid_ || gen != gen_ || now_ms < last_ms_ || now_ms - last_ms_ >= kFrameRefreshMs) return true;
  return !std::equal(bytes.begin(), bytes.end(), last_.begin(), last_.end());
}

void FrameRepeatFilter::sent(std::span<const uint8_t> bytes, bool ok, uint64_t now_ms, uint64_t gen) {
  valid_ = ok;
  if (!ok) return;
  last_.assign(bytes.begin(), bytes.end());
  last_ms_ = now_ms;
  gen_ = gen;
}

}  // namespace qxr::devices

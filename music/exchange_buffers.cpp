#include "music/exchange_buffers.h"

#include <algorithm>

namespace qxr::music {

std::optional<int64_t> ExchangeBuffers::store(int64_t id, std::span<const uint8_t> data) {
  if (data.empty()) return std::nullopt;
  std::span<uint8_t> buffer;
  if (id == kSpectrumBlock) {
    buffer = spectrum_;
  } else if (id == kLevelsBlock) {
    buffer = levels_;
  } else {
    return std::nullopt;
  }
  std::copy_n(data.begin(), std::min(data.size(), buffer.size()), buffer.begin());
  return id;
}

SampleFrame ExchangeBuffers::samples() const {
  SampleFrame out{};
  for (size_t i = 0; i < kSampleCount; ++i) {
    const uint8_t* b = &spectrum_[i * sizeof(int32_t)];
    out[i] = static_cast<int32_t>(uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24);
  }
  return out;
}

}  // namespace qxr::music

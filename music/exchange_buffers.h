#pragma once
// The two buffers the recorder's data blocks land in. Only block 1 (500 samples) and block 2
// (6 level bytes) are kept; any other id and empty blocks are ignored, and a block never
// writes past its buffer: a longer one is cut, a shorter one overwrites only its own length
// (the rest keeps the earlier data).
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "music/band_reduction.h"

namespace qxr::music {

inline constexpr int64_t kSpectrumBlock = 1;
inline constexpr int64_t kLevelsBlock = 2;
inline constexpr size_t kSpectrumBlockBytes = kSampleCount * sizeof(int32_t);  // 2000
inline constexpr size_t kLevelsBlockBytes = 6;

class ExchangeBuffers {
 public:
  // The block's id when it was kept (and so must be handled), nothing when ignored.
  std::optional<int64_t> store(int64_t id, std::span<const uint8_t> data);

  // Block 1 as 32-bit little-endian samples.
  SampleFrame samples() const;
  const std::array<uint8_t, kLevelsBlockBytes>& levels() const { return levels_; }

 private:
  std::array<uint8_t, kSpectrumBlockBytes> spectrum_{};
  std::array<uint8_t, kLevelsBlockBytes> levels_{};
};

}  // namespace qxr::music

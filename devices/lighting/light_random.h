#pragma once
// A small, allocation-free random source for the effects (sparkles, random key colours).
// Seedable so that tests can repeat a run.
#include <cstdint>

namespace qxr::lighting {

class LightRandom {
 public:
  static constexpr uint32_t kDefaultSeed = 0x9E3779B9u;
  explicit LightRandom(uint32_t seed = kDefaultSeed) : state_(seed != 0 ? seed : kDefaultSeed) {}

  uint32_t next() {
    // xorshift32
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // 0 <= result < bound (bound > 0).
  uint32_t below(uint32_t bound) { return next() % bound; }

 private:
  uint32_t state_;
};

}  // namespace qxr::lighting

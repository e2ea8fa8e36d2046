#pragma once
// The per-key glow of the reactive effects and the 23-entry ring pattern that lights keys
// 0-8 (zones, pairs or LEDs on the smaller devices). On the keyboard the glow array is the
// per-key brightness of every fading effect.
#include <array>
#include <cstddef>
#include <cstdint>

#include "devices/lighting/led_types.h"

namespace qxr::lighting {

// Decay curves: the ripple of the music effect has its own, 0 its own, every other number
// (usually the mode number) shares the third.
inline constexpr uint8_t kSteepCurve = 0;
inline constexpr uint8_t kMusicCurve = 21;

// One decay step of a glow value on a curve. Never wraps below 0.
uint8_t decayed_glow(uint8_t glow, uint8_t curve);

class KeyGlow {
 public:
  static constexpr size_t kGlowCount = kKeyCount;
  static constexpr size_t kRingSize = 23;
  static constexpr size_t kRingLitCount = 9;  // ring entries that light their key

  std::array<uint8_t, kGlowCount> glow{};
  std::array<uint8_t, kRingSize> ring{};

  void decay_key_glow(size_t key, uint8_t curve);
  void decay_all(uint8_t curve);
  // Keys 0-8 whose ring entry is set glow at full.
  void light_ring_keys();
  // One place along the first count entries: towards higher indices (the last becomes the
  // first) when direction != 0, towards lower indices otherwise.
  void rotate_ring(uint8_t direction, size_t count = kRingSize);
  void clear_glow();
};

}  // namespace qxr::lighting

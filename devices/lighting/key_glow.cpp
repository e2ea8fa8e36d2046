#include "devices/lighting/key_glow.h"

#include <algorithm>
#include <span>

namespace qxr::lighting {

namespace {

// The first rule that applies subtracts its step. A rule with a mask is a bit test, one
// without compares the glow against `above`.
struct DecayRule {
  uint8_t mask;
  uint8_t above;
  uint8_t step;
};

constexpr DecayRule kSteepRules[] = {
    {0x80, 0, 40}, {0x40, 0, 30}, {0x20, 0, 15}, {0, 16, 8}, {0, 0, 4},
};
constexpr DecayRule kMusicRules[] = {
    {0x90, 0, 45}, {0x80, 0, 40}, {0x70, 0, 35}, {0x60, 0, 30}, {0x50, 0, 25},
    {0x40, 0, 20}, {0x20, 0, 10}, {0, 16, 5},    {0, 0, 1},
};
constexpr DecayRule kCommonRules[] = {
    {0x80, 0, 40}, {0x40, 0, 30}, {0x20, 0, 10}, {0, 16, 8}, {0, 0, 1},
};

using DecayTable = std::array<uint8_t, 256>;

constexpr DecayTable make_decay_table(std::span<const DecayRule> rules) {
  DecayTable table{};
  for (unsigned g = 0; g < table.size(); ++g) {
    table[g] = static_cast<uint8_t>(g);
    for (const DecayRule& rule : rules) {
      const bool applies = rule.mask != 0 ? (g & rule.mask) != 0 : g > rule.above;
      if (!applies) continue;
      table[g] = static_cast<uint8_t>(g > rule.step ? g - rule.step : 0);
      break;
    }
  }
  return table;
}

constexpr DecayTable kSteepDecay = make_decay_table(kSteepRules);
constexpr DecayTable kMusicDecay = make_decay_table(kMusicRules);
constexpr DecayTable kCommonDecay = make_decay_table(kCommonRules);

constexpr const DecayTable& decay_table(uint8_t curve) {
  if (curve == kSteepCurve) return kSteepDecay;
  if (curve == kMusicCurve) return kMusicDecay;
  return kCommonDecay;
}

}  // namespace

uint8_t decayed_glow(uint8_t glow, uint8_t curve) { return decay_table(curve)[glow]; }

void KeyGlow::decay_key_glow(size_t key, uint8_t curve) {
  if (key < glow.size()) glow[key] = decay_table(curve)[glow[key]];
}

void KeyGlow::decay_all(uint8_t curve) {
  const DecayTable& table = decay_table(curve);
  for (uint8_t& g : glow) g = table[g];
}

void KeyGlow::light_ring_keys() {
  for (size_t i = 0; i < kRingLitCount; ++i)
    if (ring[i] != 0) glow[i] = 255;
}

void KeyGlow::rotate_ring(uint8_t direction, size_t count) {
  count = std::min(count, ring.size());
  if (count < 2) return;
  if (direction != 0)
    std::rotate(ring.begin(), ring.begin() + (count - 1), ring.begin() + count);
  else
    std::rotate(ring.begin(), ring.begin() + 1, ring.begin() + count);
}

void KeyGlow::clear_glow() {
  glow.fill(0);
  ring.fill(0);
}

}  // namespace qxr::lighting

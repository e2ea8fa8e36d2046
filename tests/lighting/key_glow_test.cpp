#include <gtest/gtest.h>

#include <vector>

#include "devices/lighting/key_glow.h"

using namespace qxr::lighting;

namespace {
std::vector<int> decay_from(uint8_t start, uint8_t curve) {
  KeyGlow glow;
  glow.glow[5] = start;
  std::vector<int> seen;
  for (int i = 0; i < 300 && glow.glow[5] != 0; ++i) {
    glow.decay_key_glow(5, curve);
    seen.push_back(glow.glow[5]);
  }
  return seen;
}
}  // namespace

TEST(KeyGlow, CurvesFromFullFollowTheirSteps) {
  EXPECT_EQ(decay_from(255, 0), (std::vector<int>{215, 175, 135, 95, 65, 35, 20, 12, 8, 4, 0}));
  EXPECT_EQ(decay_from(255, 21), (std::vector<int>{210, 165, 120, 75, 40, 5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(decay_from(255, 8),
            (std::vector<int>{215, 175, 135, 95, 65, 35, 25, 17, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
}

TEST(KeyGlow, EveryCurveFadesAnyGlowToExactlyZeroWithoutWrapping) {
  for (int curve = 0; curve < 256; ++curve) {
    for (int start = 1; start < 256; ++start) {
      const auto seen = decay_from(static_cast<uint8_t>(start), static_cast<uint8_t>(curve));
      ASSERT_FALSE(seen.empty());
      ASSERT_EQ(seen.back(), 0) << "curve " << curve << " from " << start;
      int previous = start;
      for (int g : seen) {
        ASSERT_LT(g, previous) << "curve " << curve << " from " << start;
        previous = g;
      }
    }
  }
  EXPECT_EQ(decayed_glow(0, 0), 0);
  EXPECT_EQ(decayed_glow(3, 0), 0);  // a step of 4 from 3 stops at 0
}

TEST(KeyGlow, DecayAllMatchesPerKeyDecay) {
  KeyGlow a, b;
  for (size_t k = 0; k < KeyGlow::kGlowCount; ++k) a.glow[k] = b.glow[k] = static_cast<uint8_t>(k * 37);
  a.decay_all(21);
  for (size_t k = 0; k < KeyGlow::kGlowCount; ++k) b.decay_key_glow(k, 21);
  EXPECT_EQ(a.glow, b.glow);
  b.decay_key_glow(KeyGlow::kGlowCount, 21);  // out of range: ignored
}

TEST(KeyGlow, RingLightsTheFirstNineKeysAndRotates) {
  KeyGlow glow;
  glow.ring[0] = 1;
  glow.ring[8] = 1;
  glow.ring[9] = 1;
  glow.light_ring_keys();
  EXPECT_EQ(glow.glow[0], 255);
  EXPECT_EQ(glow.glow[8], 255);
  EXPECT_EQ(glow.glow[9], 0);
  EXPECT_EQ(glow.glow[1], 0);

  glow.ring = {};
  glow.ring[22] = 7;
  glow.ring[0] = 1;
  glow.rotate_ring(1);  // towards higher indices: the last becomes the first
  EXPECT_EQ(glow.ring[0], 7);
  EXPECT_EQ(glow.ring[1], 1);
  glow.rotate_ring(0);  // towards lower indices: the first becomes the last
  EXPECT_EQ(glow.ring[0], 1);
  EXPECT_EQ(glow.ring[22], 7);
  EXPECT_EQ(glow.ring[21], 0);

  glow.ring = {};
  glow.ring[0] = 3;
  glow.ring[10] = 4;
  glow.rotate_ring(0, 8);  // only the first eight entries turn
  EXPECT_EQ(glow.ring[7], 3);
  EXPECT_EQ(glow.ring[10], 4);

  glow.clear_glow();
  EXPECT_EQ(glow.glow, decltype(glow.glow){});
  EXPECT_EQ(glow.ring, decltype(glow.ring){});
}

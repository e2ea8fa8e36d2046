// The recorder's pacing, driven by a simulated main loop in virtual time: chunks of sound
// arrive at the pace of the sound, the loop wakes for an arrival (a little late, as a real
// wake is) or at the end of a hold, and reads everything that has arrived.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "recorder/hop_pacer.h"

namespace qxr::recorder {
namespace {

using Clock = HopPacer::Clock;
using std::chrono::microseconds;
constexpr unsigned kRate = 48000;
constexpr size_t kHop = 480;

struct Outcome {
  size_t wakes = 0;
  size_t hops = 0;
  microseconds worst_delay{0};  // from the completing chunk's arrival to its hop being taken
};

// Chunks of the given sizes at the pace of the sound; late(k) delays arrival k beyond it.
template <typename Late>
Outcome simulate(const std::vector<size_t>& sizes, microseconds wake_delay, Late late) {
  HopPacer pacer(kRate, kHop);
  const Clock::time_point start{};
  std::vector<Clock::time_point> arrival(sizes.size());
  size_t sound = 0;
  for (size_t k = 0; k < sizes.size(); ++k) {
    sound += sizes[k];
    arrival[k] = start + microseconds(sound * 1'000'000 / kRate) + late(k);
  }
  Outcome run;
  size_t next = 0;
  size_t fresh = 0;
  Clock::time_point now = start;
  while (next < sizes.size()) {
    const auto hold = pacer.hold_until();
    if (hold && *hold > now) {  // a hold is slept through, whatever arrives
      now = *hold;
      pacer.woke(now, true);
    } else {
      now = std::max(now, arrival[next] + wake_delay);
      pacer.woke(now, false);
    }
    ++run.wakes;
    for (; next < sizes.size() && arrival[next] <= now; ++next) {
      pacer.read(sizes[next]);
      fresh += sizes[next];
      if (fresh < kHop) continue;
      fresh = 0;
      ++run.hops;
      pacer.hop_done();
      run.worst_delay = std::max(run.worst_delay, std::chrono::duration_cast<microseconds>(now - arrival[next]));
    }
  }
  return run;
}

Outcome simulate(size_t chunk, microseconds wake_delay, size_t chunks) {
  return simulate(std::vector<size_t>(chunks, chunk), wake_delay, [](size_t) { return microseconds(0); });
}

TEST(HopPacer, SmallChunksAreGatheredIntoOneWakePerHopWithoutHoldingTheHopBack) {
  // One second of 2.5 ms chunks: 400 wakes unpaced.
  const Outcome run = simulate(120, microseconds(150), 400);
  EXPECT_EQ(run.hops, 100u);
  EXPECT_LE(run.wakes, 140u);
  // A hop is taken no later than a wake for its last chunk would have taken it.
  EXPECT_LE(run.worst_delay, microseconds(150) + microseconds(5));
}

TEST(HopPacer, ChunksOfAHopOrMoreAreNeverHeld) {
  for (const size_t chunk : {480u, 1024u}) {
    const Outcome run = simulate(chunk, microseconds(100), 200);
    EXPECT_EQ(run.wakes, 200u) << chunk;
    EXPECT_LE(run.worst_delay, microseconds(100)) << chunk;
  }
}

TEST(HopPacer, ALateChunkIsTakenWhenItArrivesAndThePacingRecovers) {
  // From chunk 100 on, everything comes 1.7 ms later than the pace so far promised.
  const Outcome run = simulate(std::vector<size_t>(400, 120), microseconds(150),
                               [](size_t k) { return k >= 100 ? microseconds(1700) : microseconds(0); });
  EXPECT_EQ(run.hops, 100u);
  EXPECT_LE(run.worst_delay, microseconds(150) + microseconds(5));
  EXPECT_LE(run.wakes, 150u);
}

TEST(HopPacer, UnevenChunksCostNoMoreWakesThanChunks) {
  // A server that sends 5, 10 or 15 ms at a time, in no fixed order, each up to 0.4 ms late.
  std::vector<size_t> sizes;
  uint32_t lcg = 12345;
  for (size_t k = 0; k < 300; ++k) {
    lcg = lcg * 1664525u + 1013904223u;
    sizes.push_back(240 * (1 + (lcg >> 16) % 3));
  }
  const Outcome run = simulate(sizes, microseconds(150), [](size_t k) { return microseconds((k * 7919) % 400); });
  // Holding would cost a wake for nothing whenever a short chunk is followed by a long one.
  EXPECT_LE(run.wakes, sizes.size() + sizes.size() / 50);
  // Gathered early chunks never hold a hop back by more than the chunks' unevenness.
  EXPECT_LE(run.worst_delay, microseconds(150) + microseconds(400));
}

TEST(HopPacer, AResetForgetsThePace) {
  HopPacer pacer(kRate, kHop);
  for (int k = 0; k < 4; ++k) {
    pacer.woke(Clock::time_point{} + microseconds(2500 * (k + 1)), false);
    pacer.read(120);
  }
  pacer.hop_done();
  ASSERT_TRUE(pacer.hold_until().has_value());
  pacer.reset();
  EXPECT_FALSE(pacer.hold_until().has_value());
}

}  // namespace
}  // namespace qxr::recorder

// The recorder's pacing, driven by a simulated main loop in virtual time: chunks of sound
// arrive at the pace of the sound, the loop wakes for an arrival (a little late, as a real
// wake is) or at the end of a hold, and reads everything that has arrived.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
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

// chunk samples every period; late(k) delays arrival k beyond its due time.
template <typename Late>
Outcome simulate(size_t chunk, microseconds period, microseconds wake_delay, size_t chunks, Late late) {
  HopPacer pacer(kRate, kHop);
  const Clock::time_point start{};
  std::vector<Clock::time_point> arrival(chunks);
  for (size_t k = 0; k < chunks; ++k) arrival[k] = start + period * static_cast<long>(k + 1) + late(k);
  Outcome run;
  size_t next = 0;
  size_t fresh = 0;
  Clock::time_point now = start;
  while (next < chunks) {
    const auto hold = pacer.hold_until();
    if (hold && *hold > now) {  // a hold is slept through, whatever arrives
      now = *hold;
      pacer.woke(now, true);
    } else {
      now = std::max(now, arrival[next] + wake_delay);
      pacer.woke(now, false);
    }
    ++run.wakes;
    for (; next < chunks && arrival[next] <= now; ++next) {
      pacer.read(chunk);
      fresh += chunk;
      if (fresh < kHop) continue;
      fresh = 0;
      ++run.hops;
      pacer.hop_done();
      run.worst_delay = std::max(run.worst_delay, std::chrono::duration_cast<microseconds>(now - arrival[next]));
    }
  }
  return run;
}

Outcome simulate(size_t chunk, microseconds period, microseconds wake_delay, size_t chunks) {
  return simulate(chunk, period, wake_delay, chunks, [](size_t) { return microseconds(0); });
}

TEST(HopPacer, SmallChunksAreGatheredIntoOneWakePerHopWithoutHoldingTheHopBack) {
  // One second of 2.5 ms chunks: 400 wakes unpaced.
  const Outcome run = simulate(120, microseconds(2500), microseconds(150), 400);
  EXPECT_EQ(run.hops, 100u);
  EXPECT_LE(run.wakes, 140u);
  // A hop is taken no later than a wake for its last chunk would have taken it, give or take
  // the slack.
  EXPECT_LE(run.worst_delay, microseconds(150) + HopPacer::kSlack + microseconds(5));
}

TEST(HopPacer, ChunksOfAHopOrMoreAreNeverHeld) {
  for (const size_t chunk : {480u, 1024u}) {
    const auto period = microseconds(chunk * 1'000'000 / kRate);
    const Outcome run = simulate(chunk, period, microseconds(100), 200);
    EXPECT_EQ(run.wakes, 200u) << chunk;
    EXPECT_LE(run.worst_delay, microseconds(100)) << chunk;
  }
}

TEST(HopPacer, ALateChunkIsTakenWhenItArrivesAndThePacingRecovers) {
  // From chunk 100 on, everything comes 1.7 ms later than the pace so far promised.
  const Outcome run = simulate(120, microseconds(2500), microseconds(150), 400,
                           [](size_t k) { return k >= 100 ? microseconds(1700) : microseconds(0); });
  EXPECT_EQ(run.hops, 100u);
  EXPECT_LE(run.worst_delay, microseconds(150) + HopPacer::kSlack + microseconds(5));
  EXPECT_LE(run.wakes, 150u);
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

#pragma once
// When the recorder may sleep through sound that cannot finish a hop. A server may hand a hop
// over in several small chunks (a PulseAudio output whose player wants 10 ms sends 2.5 ms
// ones), and a wake for each costs far more than the analysis. Chunks arrive at the pace of
// the sound, so from the arrivals seen, the arrival of the chunk that completes the next hop
// is known: the recorder sleeps until it is due and takes the whole hop in one wake. A chunk
// later than that wakes it on arrival and corrects the timing; every tenth hop is
// watched chunk by chunk and the earliest arrival it shows is kept (a wake is never early, so
// the earliest is the truest). Chunks of a hop or more never cause a hold, and neither do
// chunks that come too unevenly to foretell: a hold that gathered nothing stops holding for a
// while. Single-threaded: the recorder's main loop.
#include <chrono>
#include <cstddef>
#include <optional>

namespace qxr::recorder {

class HopPacer {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr unsigned kWatchEvery = 10;
  // Hops watched chunk by chunk after a hold that gathered nothing.
  static constexpr unsigned kWatchAfterEmptyHold = 50;

  HopPacer(unsigned rate, size_t hop) : rate_(rate), hop_(hop) {}

  // The loop woke at `now`: for something that arrived, or because a hold ended.
  void woke(Clock::time_point now, bool hold_ended);
  // Sound read in this wake.
  void read(size_t samples);
  // What was read in this wake completed a hop.
  void hop_done();
  // Until when the loop may leave the sound unread; nullopt: it must watch it now.
  std::optional<Clock::time_point> hold_until() const { return hold_; }
  // The sound stopped or restarted: nothing is known about its chunks.
  void reset();

 private:
  struct Arrival {
    Clock::time_point at;
    size_t total;  // samples read up to and with that chunk
  };

  bool earlier(const Arrival& a, const Arrival& b) const;

  unsigned rate_;
  size_t hop_;
  size_t total_ = 0;
  size_t chunk_ = 0;
  std::optional<Arrival> seen_;
  std::optional<Arrival> hop_seen_;  // the earliest arrival seen during the current hop
  unsigned hops_since_seen_ = 0;
  unsigned hops_unheld_ = 0;  // hops still to be watched after an empty hold
  Clock::time_point wake_{};
  bool wake_is_arrival_ = false;
  bool wake_ended_hold_ = false;
  bool wake_read_ = false;
  std::optional<Clock::time_point> hold_;
};

}  // namespace qxr::recorder

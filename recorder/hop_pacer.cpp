#include "recorder/hop_pacer.h"

namespace qxr::recorder {

void HopPacer::woke(Clock::time_point now, bool hold_ended) {
  // The chunks do not come as foretold: a hold that ran its time gathered nothing.
  if (wake_ended_hold_ && !wake_read_) hops_unheld_ = kWatchAfterEmptyHold;
  const bool hold_ran_out = hold_ && now >= *hold_;
  wake_ = now;
  wake_read_ = false;
  wake_is_arrival_ = !hold_ended;
  wake_ended_hold_ = hold_ended && hold_ran_out;
  if (hold_ran_out) hold_.reset();
}

// Which of two arrivals puts the sound's start earlier.
bool HopPacer::earlier(const Arrival& a, const Arrival& b) const {
  const auto span = [this](size_t samples) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(static_cast<double>(samples) / rate_));
  };
  return a.at - span(a.total) < b.at - span(b.total);
}

void HopPacer::read(size_t samples) {
  total_ += samples;
  wake_read_ = true;
  // Each read is one chunk as the server sent it; in a wake for an arrival, it came no later.
  chunk_ = samples;
  if (!wake_is_arrival_ || rate_ == 0) return;
  const Arrival now{wake_, total_};
  if (!hop_seen_ || earlier(now, *hop_seen_)) hop_seen_ = now;
}

void HopPacer::hop_done() {
  hold_.reset();
  // Only wakes for an arrival time the chunks; a wake at the end of a hold does not.
  if (hop_seen_) {
    seen_ = hop_seen_;
    hop_seen_.reset();
    hops_since_seen_ = 0;
  } else if (++hops_since_seen_ >= kWatchEvery) {
    seen_.reset();
  }
  if (hops_unheld_ > 0) {
    --hops_unheld_;
    return;
  }
  if (!seen_ || chunk_ == 0 || rate_ == 0) return;
  // A hop ends with a chunk: the analysis starts counting afresh after each.
  const size_t chunks_per_hop = (hop_ + chunk_ - 1) / chunk_;
  if (chunks_per_hop < 2) return;
  const size_t completing = total_ + chunks_per_hop * chunk_;
  const std::chrono::duration<double> after_seen(static_cast<double>(completing - seen_->total) / rate_);
  // No slack: the expected arrival is already as late as a wake for it would be, and a chunk
  // later than that costs a wake, not time.
  hold_ = seen_->at + std::chrono::duration_cast<Clock::duration>(after_seen);
}

void HopPacer::reset() {
  hold_.reset();
  seen_.reset();
  hop_seen_.reset();
  chunk_ = 0;
  hops_since_seen_ = 0;
  hops_unheld_ = 0;
  wake_is_arrival_ = false;
  wake_ended_hold_ = false;
}

}  // namespace qxr::recorder

#pragma once
// When the next effect step is due. A light thread counts ticks (keyboard) or loops (other
// kinds) of count_ms each and steps once `threshold` of them have been counted. Instead of
// waking for every tick it asks for the deadline of the step and sleeps until then; like
// the counting it replaces, a late wake yields one step, not a burst of catch-up steps.
#include <cstdint>

namespace qxr::lighting {

class LightCadence {
 public:
  explicit LightCadence(uint32_t count_ms) : count_ms_(count_ms == 0 ? 1 : count_ms) {}

  // Counting starts afresh at now (thread start, end of a pause).
  void restart(uint64_t now_ms) { anchor_ms_ = now_ms; }
  // Counts between two steps (at least 1). A change takes effect on the step being counted,
  // as when the counter is compared against a new threshold.
  void set_threshold(uint32_t counts) { threshold_ = counts == 0 ? 1 : counts; }
  uint32_t threshold() const { return threshold_; }

  uint64_t next_deadline() const { return anchor_ms_ + uint64_t{threshold_} * count_ms_; }
  bool due(uint64_t now_ms) const { return now_ms >= next_deadline(); }
  // Counts whole ticks since the last step, as the counting thread would have.
  uint32_t counted(uint64_t now_ms) const {
    return now_ms <= anchor_ms_ ? 0 : static_cast<uint32_t>((now_ms - anchor_ms_) / count_ms_);
  }
  // A step ran at now: counting starts again from zero.
  void stepped(uint64_t now_ms) { anchor_ms_ = now_ms; }

 private:
  uint32_t count_ms_;
  uint32_t threshold_ = 1;
  uint64_t anchor_ms_ = 0;
};

}  // namespace qxr::lighting

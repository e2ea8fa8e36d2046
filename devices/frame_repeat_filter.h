#pragma once
// Which light frames need to go to the device. A frame equal to the last one the device took
// adds nothing but traffic (a fixed colour, an effect between its steps), so it is left out;
// it still goes again after a failed send, after the device (re)connected or took its own
// lighting back (a new generation), and at least every kFrameRefreshMs, so a device that lost a
// frame or restarted without our noticing shows the right colours soon.
#include <cstdint>
#include <span>
#include <vector>

namespace qxr::devices {

inline constexpr uint64_t kFrameRefreshMs = 2000;
// How often a still frame is offered again (the page's timer). Offered once it is this much short
// of kFrameRefreshMs old, it goes again within kFrameRefreshMs of the last send whatever the
// timer's phase, and when offered on every tick only on every second one.
inline constexpr uint64_t kStillFrameCheckMs = 900;

class FrameRepeatFilter {
 public:
  // True when bytes must be sent now (at clock time now_ms, connection generation gen).
  bool due(std::span<const uint8_t> bytes, uint64_t now_ms, uint64_t gen) const;
  // The outcome of a send of bytes: only a frame the device took is remembered.
  void sent(std::span<const uint8_t> bytes, bool ok, uint64_t now_ms, uint64_t gen);

 private:
  std::vector<uint8_t> last_;
  uint64_t last_ms_ = 0;
  uint64_t gen_ = 0;
  bool valid_ = false;
};

}  // namespace qxr::devices

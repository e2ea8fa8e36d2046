#pragma once
// When the keyboard gets a frame in the music modes. The 50 ms light timer alone would make
// the keys trail the sound by up to 50 ms, which people notice; so a frame goes out as soon as
// a step has used new music data, but never sooner than kMusicFrameGapMs after the previous
// one: a frame refused for that is owed and goes out when the gap has passed. Light thread.
#include <cstdint>
#include <optional>

namespace qxr::devices {

inline constexpr uint64_t kMusicFrameGapMs = 25;

class MusicFramePacer {
 public:
  // A step used new music data at now: true when its frame may go now (it is then counted as
  // sent); otherwise the frame is owed.
  bool data_step(uint64_t now_ms);
  // An owed frame may go now (it is then counted as sent).
  bool owed_due(uint64_t now_ms);
  // When the owed frame may go; nothing when none is owed.
  std::optional<uint64_t> owed_at() const;
  // The music modes ended: nothing is owed any more.
  void forget() { owed_ = false; }
  std::optional<uint64_t> last_sent() const { return sent_ ? std::optional<uint64_t>(last_ms_) : std::nullopt; }

 private:
  bool may_send(uint64_t now_ms) const { return !sent_ || now_ms >= last_ms_ + kMusicFrameGapMs; }
  void mark_sent(uint64_t now_ms);

  bool sent_ = false;
  bool owed_ = false;
  uint64_t last_ms_ = 0;
};

}  // namespace qxr::devices

#include "devices/keyboard/music_frame_pacer.h"

namespace qxr::devices {

void MusicFramePacer::mark_sent(uint64_t now_ms) {
  sent_ = true;
  owed_ = false;
  last_ms_ = now_ms;
}

bool MusicFramePacer::data_step(uint64_t now_ms) {
  if (may_send(now_ms)) {
    mark_sent(now_ms);
    return true;
  }
  owed_ = true;
  return false;
}

bool MusicFramePacer::owed_due(uint64_t now_ms) {
  if (!owed_ || !may_send(now_ms)) return false;
  mark_sent(now_ms);
  return true;
}

std::optional<uint64_t> MusicFramePacer::owed_at() const {
  if (!owed_) return std::nullopt;
  return last_ms_ + kMusicFrameGapMs;
}

}  // namespace qxr::devices

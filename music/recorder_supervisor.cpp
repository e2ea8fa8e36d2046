#include "music/recorder_supervisor.h"

#include <algorithm>

namespace qxr::music {

void RecorderSupervisor::set_needed(bool needed, uint64_t now_ms) {
  if (needed == needed_) return;
  needed_ = needed;
  if (needed) {
    // A new need starts at once, whatever waits from an earlier one.
    retry_delay_ = kFirstRetryMs;
    start(now_ms);
    return;
  }
  if (phase_ == Phase::Starting || phase_ == Phase::Connected) actions_.stop_recorder();
  phase_ = Phase::Off;
  state_ = RecorderState::Idle;
}

void RecorderSupervisor::start(uint64_t now_ms) {
  phase_ = Phase::Starting;
  started_at_ = now_ms;
  state_ = RecorderState::Idle;
  actions_.start_recorder();
}

void RecorderSupervisor::recorder_ready(uint64_t) {
  if (phase_ != Phase::Starting) return;
  phase_ = Phase::Connected;
  actions_.connect_recorder();
}

void RecorderSupervisor::recorder_state(RecorderState state) {
  if (phase_ != Phase::Connected) return;
  state_ = state;
  switch (state) {
    case RecorderState::Capturing:
      // Trouble from now on is a new episode, reported again.
      shown_.clear();
      retry_delay_ = kFirstRetryMs;
      break;
    case RecorderState::NoSoundServer:
      notice_once(MusicNotice::NoSoundServer);
      break;
    case RecorderState::NoOutput:
      notice_once(MusicNotice::NoOutput);
      break;
    case RecorderState::Idle:
      break;
  }
}

void RecorderSupervisor::start_failed(uint64_t now_ms) {
  if (phase_ != Phase::Starting) return;
  fail(MusicNotice::RecorderNotStarted, now_ms);
}

void RecorderSupervisor::ended(uint64_t now_ms) {
  if (phase_ == Phase::Starting) {
    fail(MusicNotice::RecorderNotStarted, now_ms);
  } else if (phase_ == Phase::Connected) {
    fail(MusicNotice::RecorderEnded, now_ms);
  }
}

void RecorderSupervisor::fail(MusicNotice notice, uint64_t now_ms) {
  notice_once(notice);
  phase_ = Phase::Waiting;
  state_ = RecorderState::Idle;
  retry_at_ = now_ms + retry_delay_;
  retry_delay_ = std::min(retry_delay_ * 2, kLongestRetryMs);
}

void RecorderSupervisor::tick(uint64_t now_ms) {
  if (phase_ == Phase::Starting && now_ms - started_at_ >= kReadyTimeoutMs) {
    actions_.stop_recorder();
    fail(MusicNotice::RecorderNotStarted, now_ms);
  } else if (phase_ == Phase::Waiting && needed_ && now_ms >= retry_at_) {
    start(now_ms);
  }
}

void RecorderSupervisor::notice_once(MusicNotice notice) {
  if (shown_.insert(notice).second) actions_.show_notice(notice);
}

}  // namespace qxr::music

#pragma once
// When the recorder runs. The program needs it while a keyboard's lighting follows music or
// the music style window is open, and only then: no recorder process, no recording stream
// otherwise. A recorder that cannot start, dies, or finds no sound server or no output is
// reported once per episode (until capture works again) and started again later, each time
// waiting longer, up to a minute. Nothing here waits: the program reports what happened and
// acts on what it is asked to do. UI thread.
#include <cstdint>
#include <set>

#include "music/recorder_link.h"

namespace qxr::music {

enum class MusicNotice {
  RecorderNotStarted,  // the program could not be started
  RecorderEnded,       // it ended while it was needed
  NoSoundServer,
  NoOutput,
};

// What the supervisor asks of the program.
class RecorderActions {
 public:
  virtual ~RecorderActions() = default;
  // Start the process; its fate comes back as recorder_ready, start_failed or ended.
  virtual void start_recorder() = 0;
  // The connect commands and the colour, to the recorder that said it is ready.
  virtual void connect_recorder() = 0;
  // The disconnect commands; a process that does not end by itself is ended.
  virtual void stop_recorder() = 0;
  virtual void show_notice(MusicNotice notice) = 0;
};

inline constexpr uint64_t kFirstRetryMs = 2000;
inline constexpr uint64_t kLongestRetryMs = 60000;
// A started recorder that has not said it is ready by then counts as not started.
inline constexpr uint64_t kReadyTimeoutMs = 5000;

class RecorderSupervisor {
 public:
  enum class Phase { Off, Starting, Connected, Waiting };

  explicit RecorderSupervisor(RecorderActions& actions) : actions_(actions) {}

  void set_needed(bool needed, uint64_t now_ms);
  bool needed() const { return needed_; }
  void recorder_ready(uint64_t now_ms);
  void recorder_state(RecorderState state);
  void start_failed(uint64_t now_ms);
  void ended(uint64_t now_ms);
  // Retries and the ready timeout; the watcher calls it about every second.
  void tick(uint64_t now_ms);

  Phase phase() const { return phase_; }
  uint64_t retry_at_ms() const { return retry_at_; }
  RecorderState last_state() const { return state_; }

 private:
  void start(uint64_t now_ms);
  void fail(MusicNotice notice, uint64_t now_ms);
  void notice_once(MusicNotice notice);

  RecorderActions& actions_;
  bool needed_ = false;
  Phase phase_ = Phase::Off;
  RecorderState state_ = RecorderState::Idle;
  uint64_t started_at_ = 0;
  uint64_t retry_at_ = 0;
  uint64_t retry_delay_ = kFirstRetryMs;
  std::set<MusicNotice> shown_;
};

}  // namespace qxr::music

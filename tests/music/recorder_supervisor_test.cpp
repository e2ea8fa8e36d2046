// When the recorder runs: only while needed, started again after trouble with growing pauses,
// each trouble reported once until capture works again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "music/recorder_supervisor.h"

namespace qxr::music {
namespace {

struct Actions : RecorderActions {
  std::vector<std::string> log;
  std::vector<MusicNotice> notices;
  void start_recorder() override { log.push_back("start"); }
  void connect_recorder() override { log.push_back("connect"); }
  void stop_recorder() override { log.push_back("stop"); }
  void show_notice(MusicNotice n) override { notices.push_back(n); }
  std::vector<std::string> take() { return std::exchange(log, {}); }
};

using Phase = RecorderSupervisor::Phase;
using Log = std::vector<std::string>;

TEST(RecorderSupervisor, RunsOnlyWhileNeeded) {
  Actions a;
  RecorderSupervisor s(a);
  s.tick(10'000);
  EXPECT_TRUE(a.take().empty());  // nothing needs it: no process at all
  s.set_needed(true, 0);
  EXPECT_EQ(a.take(), Log{"start"});
  s.recorder_ready(100);
  EXPECT_EQ(a.take(), Log{"connect"});
  s.recorder_state(RecorderState::Capturing);
  s.set_needed(true, 200);  // no change, nothing done
  EXPECT_TRUE(a.take().empty());
  s.set_needed(false, 300);
  EXPECT_EQ(a.take(), Log{"stop"});
  EXPECT_EQ(s.phase(), Phase::Off);
  s.ended(400);  // the stopped recorder going away is no trouble
  EXPECT_TRUE(a.notices.empty());
  s.tick(100'000);
  EXPECT_TRUE(a.take().empty());
}

TEST(RecorderSupervisor, ADeadRecorderIsReportedOnceAndStartedAgainLaterAndLater) {
  Actions a;
  RecorderSupervisor s(a);
  s.set_needed(true, 0);
  s.recorder_ready(10);
  s.recorder_state(RecorderState::Capturing);
  a.take();
  s.ended(1000);
  EXPECT_EQ(a.notices, std::vector<MusicNotice>{MusicNotice::RecorderEnded});
  EXPECT_EQ(s.phase(), Phase::Waiting);
  s.tick(1000 + kFirstRetryMs - 1);
  EXPECT_TRUE(a.take().empty());
  s.tick(1000 + kFirstRetryMs);
  EXPECT_EQ(a.take(), Log{"start"});
  // Dies again before it says it is ready: reported once as not started; twice the pause.
  s.ended(5000);
  s.tick(5000 + 2 * kFirstRetryMs - 1);
  EXPECT_TRUE(a.take().empty());
  s.tick(5000 + 2 * kFirstRetryMs);
  EXPECT_EQ(a.take(), Log{"start"});
  s.start_failed(9000);
  s.ended(9001);  // already counted
  EXPECT_EQ(a.notices, (std::vector<MusicNotice>{MusicNotice::RecorderEnded, MusicNotice::RecorderNotStarted}));
  // The pauses stop growing at a minute.
  uint64_t now = 9000;
  for (int i = 0; i < 10; ++i) {
    now = s.retry_at_ms();
    s.tick(now);
    s.start_failed(now);
  }
  EXPECT_EQ(s.retry_at_ms() - now, kLongestRetryMs);
  EXPECT_EQ(a.notices.size(), 2u);
}

TEST(RecorderSupervisor, ServerTroubleIsReportedOncePerEpisode) {
  Actions a;
  RecorderSupervisor s(a);
  s.set_needed(true, 0);
  s.recorder_ready(1);
  s.recorder_state(RecorderState::NoSoundServer);
  s.recorder_state(RecorderState::NoSoundServer);
  s.recorder_state(RecorderState::NoOutput);
  s.recorder_state(RecorderState::NoSoundServer);
  EXPECT_EQ(a.notices, (std::vector<MusicNotice>{MusicNotice::NoSoundServer, MusicNotice::NoOutput}));
  s.recorder_state(RecorderState::Capturing);
  s.recorder_state(RecorderState::NoSoundServer);
  EXPECT_EQ(a.notices.size(), 3u);
  // The recorder keeps trying by itself: the process is not restarted for it.
  EXPECT_EQ(a.take(), (Log{"start", "connect"}));
}

TEST(RecorderSupervisor, ARecorderThatNeverSaysReadyIsStoppedAndCountsAsNotStarted) {
  Actions a;
  RecorderSupervisor s(a);
  s.set_needed(true, 0);
  s.tick(kReadyTimeoutMs - 1);
  EXPECT_EQ(a.take(), Log{"start"});
  s.tick(kReadyTimeoutMs);
  EXPECT_EQ(a.take(), Log{"stop"});
  EXPECT_EQ(a.notices, std::vector<MusicNotice>{MusicNotice::RecorderNotStarted});
  // A late hello from it changes nothing.
  s.recorder_ready(kReadyTimeoutMs + 1);
  EXPECT_TRUE(a.take().empty());
}

TEST(RecorderSupervisor, ANewNeedStartsAtOnceWhateverWaits) {
  Actions a;
  RecorderSupervisor s(a);
  s.set_needed(true, 0);
  s.start_failed(0);
  s.set_needed(false, 10);
  s.set_needed(true, 20);
  EXPECT_EQ(a.take(), (Log{"start", "start"}));
  EXPECT_EQ(s.phase(), Phase::Starting);
}

}  // namespace
}  // namespace qxr::music

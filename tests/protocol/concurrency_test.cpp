// The light stream against logged exchanges of other threads, and commands of several threads
// sharing one channel.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <thread>

#include "core/debug_line.h"
#include "tests/protocol/channel_fixture.h"

namespace qxr::testing {
namespace {

using namespace qxr::protocol;
using namespace std::chrono_literals;

constexpr size_t kFrameBytes = 170 * 3;  // one keyboard frame: 10 pages
constexpr size_t kFramePages = 10;

class Gate {
 public:
  void open() {
    std::lock_guard lock(m_);
    open_ = true;
    cv_.notify_all();
  }
  void wait() {
    std::unique_lock lock(m_);
    cv_.wait_for(lock, 10s, [&] { return open_; });
  }

 private:
  std::mutex m_;
  std::condition_variable cv_;
  bool open_ = false;
};

TEST_F(ChannelTest, LightFramesAreDroppedWhileALoggedExchangeRuns) {
  auto gate = std::make_shared<Gate>();
  peer_.set_script([fw = firmware_, gate](const Packet& r, ScriptedPeer& p) {
    if (r[kOffCommand] == CMD_WRITE_PARAMS) gate->wait();  // hold the reply back
    (*fw)(r, p);
  });
  uint8_t value = 0x5A;
  std::atomic<int> settings_result{-999};
  std::thread settings([&] { settings_result = channel_.write_params(&value, 1, 7); });
  ASSERT_TRUE(peer_.wait_requests(1));
  ASSERT_TRUE(channel_.busy());

  DebugCapture capture;
  auto frame = pattern(kFrameBytes, 1);
  EXPECT_EQ(channel_.light_stream(frame.data(), frame.size()), kResultOk);
  EXPECT_EQ(capture.count(kDroppedLightLine), static_cast<int>(kFramePages));
  EXPECT_TRUE(requests_of(CMD_LIGHT_STREAM).empty());

  gate->open();
  settings.join();
  EXPECT_EQ(settings_result, kResultOk);
  EXPECT_EQ(firmware_->space(CMD_WRITE_PARAMS)[7], 0x5A);
  EXPECT_FALSE(channel_.busy());

  // With nothing else running the same frame goes out whole.
  capture.clear();
  EXPECT_EQ(channel_.light_stream(frame.data(), frame.size()), kResultOk);
  EXPECT_EQ(requests_of(CMD_LIGHT_STREAM).size(), kFramePages);
  EXPECT_EQ(capture.count(kDroppedLightLine), 0);
  EXPECT_TRUE(std::equal(frame.begin(), frame.end(), firmware_->space(CMD_LIGHT_STREAM).begin()));
}

TEST_F(ChannelTest, ReceiverModeSkipsTheLightStreamSilently) {
  channel_.set_receiver_mode(true);
  DebugCapture capture;
  auto frame = pattern(kFrameBytes, 1);
  EXPECT_EQ(channel_.light_stream(frame.data(), frame.size()), kResultOk);
  EXPECT_TRUE(peer_.requests().empty());
  EXPECT_EQ(capture.count(kDroppedLightLine), 0);
  // Other commands still go out.
  EXPECT_EQ(channel_.begin(), kResultOk);
}

TEST_F(ChannelTest, LightStreamReportsAFailingPage) {
  peer_.set_script([](const Packet& r, ScriptedPeer& p) {
    p.send(echo_reply(r, report_offset(r.data()) == 112 ? kStatusBusy : 0));
  });
  auto frame = pattern(kFrameBytes, 1);
  EXPECT_EQ(channel_.light_stream(frame.data(), frame.size()), kResultStatusFE);
  EXPECT_EQ(requests_of(CMD_LIGHT_STREAM).size(), 3u);
}

TEST_F(ChannelTest, CommandsOfSeveralThreadsKeepEveryReplyWithItsRequest) {
  // Different-sized transfers from three threads: any request/reply mix-up shows up as a wrong
  // byte read back or a failed page.
  auto params = pattern(560, 3);
  auto macros = pattern(448, 101);
  auto frame = pattern(kFrameBytes, 50);
  constexpr int kRounds = 20;
  std::atomic<int> failures{0};
  std::thread a([&] {
    for (int i = 0; i < kRounds; ++i) {
      if (channel_.write_params(params.data(), params.size(), 0) != kResultOk) ++failures;
      std::vector<uint8_t> back(params.size());
      if (channel_.read_params(back.data(), back.size(), 0) != kResultOk || back != params) ++failures;
    }
  });
  std::thread b([&] {
    for (int i = 0; i < kRounds; ++i) {
      if (channel_.write_macros(macros.data(), macros.size()) != kResultOk) ++failures;
    }
  });
  std::thread c([&] {
    for (int i = 0; i < kRounds * 4; ++i) {
      if (channel_.light_stream(frame.data(), frame.size()) != kResultOk) ++failures;
    }
  });
  a.join();
  b.join();
  c.join();
  EXPECT_EQ(failures, 0);
  EXPECT_TRUE(std::equal(macros.begin(), macros.end(), firmware_->space(CMD_WRITE_MACROS).begin()));
  EXPECT_FALSE(channel_.busy());
}

}  // namespace
}  // namespace qxr::testing

// Result codes for each way an exchange can fail, and stale reports that must not be taken
// for replies.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "core/debug_line.h"
#include "tests/protocol/channel_fixture.h"

namespace qxr::testing {
namespace {

using namespace qxr::protocol;

Packet reply_with_data(const Packet& request, uint8_t command, uint8_t fill) {
  Packet reply = echo_reply(request);
  reply[kOffCommand] = command;
  std::fill(reply.begin() + kOffData, reply.end(), fill);
  return reply;
}

TEST_F(ChannelTest, NotOpenedOrHeldSendsNothingAndGivesZero) {
  channel_.set_opened(false);
  uint8_t b = 0;
  EXPECT_EQ(channel_.begin(), kResultNoReply);
  EXPECT_EQ(channel_.read_params(&b, 1, 0), kResultNoReply);
  EXPECT_FALSE(channel_.link_up());
  channel_.set_opened(true);
  channel_.set_hold(true);
  EXPECT_EQ(channel_.write_params(&b, 1, 0), kResultNoReply);
  EXPECT_EQ(channel_.exchange(nullptr, 0, nullptr, 0, nullptr), kResultNoReply);
  EXPECT_TRUE(peer_.requests().empty());
  // A refused exchange must not leave the light stream believing an exchange is running.
  EXPECT_FALSE(channel_.busy());
  channel_.set_hold(false);
  EXPECT_EQ(channel_.begin(), kResultOk);
}

TEST_F(ChannelTest, DeviceStatusesBecomeTheirResults) {
  std::atomic<uint8_t> status = kStatusError;
  peer_.set_script([&](const Packet& r, ScriptedPeer& p) { p.send(echo_reply(r, status.load())); });
  EXPECT_EQ(channel_.begin(), kResultStatusFF);
  status = kStatusBusy;
  EXPECT_EQ(channel_.host_lighting(), kResultStatusFE);
  // The exchange itself went well; only completing the command looks at the status.
  CommandReport request = make_request(CMD_BEGIN);
  uint8_t reply[kReportSize] = {};
  size_t n = 0;
  EXPECT_EQ(channel_.exchange(request.data(), request.size(), reply, sizeof reply, &n), kResultOk);
  EXPECT_EQ(reply[kOffStatus], kStatusBusy);
  status = 0x7E;  // any other value is success
  EXPECT_EQ(channel_.begin(), kResultOk);
}

TEST_F(ChannelTest, NoReplyGivesZero) {
  peer_.set_script([](const Packet&, ScriptedPeer&) {});
  EXPECT_EQ(channel_.begin(), kResultNoReply);
  EXPECT_EQ(peer_.requests().size(), 1u);
}

TEST_F(ChannelTest, WrongEchoOnceIsReadAgain) {
  peer_.set_script([](const Packet& r, ScriptedPeer& p) {
    p.send(reply_with_data(r, CMD_READ_KEYS, 0x66));
    p.send(reply_with_data(r, r[kOffCommand], 0x77));
  });
  uint8_t out[4] = {};
  ASSERT_EQ(channel_.read_params(out, sizeof out, 0), kResultOk);
  EXPECT_EQ(out[0], 0x77);
  EXPECT_EQ(out[3], 0x77);
}

TEST_F(ChannelTest, WrongEchoTwiceHandsTheReplyBackButFails) {
  // Shared: the script of the last request may still run after the test body has returned.
  auto answered = std::make_shared<std::atomic<int>>(0);
  peer_.set_script([answered](const Packet& r, ScriptedPeer& p) {
    p.send(reply_with_data(r, CMD_READ_KEYS, 0x66));
    p.send(reply_with_data(r, CMD_READ_LED_MAP, 0x55));
    p.send(reply_with_data(r, r[kOffCommand], 0x44));  // too late: only two reads are made
    answered->fetch_add(1);
  });
  CommandReport request = make_request(CMD_READ_PARAMS, 4, 0);
  set_checksum(request.data());
  uint8_t reply[kReportSize] = {};
  size_t n = 0;
  EXPECT_EQ(channel_.exchange(request.data(), request.size(), reply, sizeof reply, &n), kResultNoReply);
  EXPECT_EQ(n, kReportSize);
  EXPECT_EQ(reply[kOffCommand], CMD_READ_LED_MAP);
  EXPECT_EQ(reply[kOffData], 0x55);

  // The late reply must be queued before the next request goes out: one that comes after it
  // cannot be told from that request's own reply.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (answered->load() < 1 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_EQ(answered->load(), 1);

  // A read command never takes another command's data as its own.
  uint8_t out[4] = {};
  EXPECT_NE(channel_.read_params(out, sizeof out, 0), kResultOk);
  EXPECT_EQ(out[0], 0);
}

TEST_F(ChannelTest, StaleReplyQueuedBeforeTheRequestIsNotTakenAsTheReply) {
  // A late answer to an earlier read of the same command is already waiting.
  peer_.set_script([](const Packet&, ScriptedPeer&) {});
  uint8_t out[4] = {};
  EXPECT_EQ(channel_.read_params(out, sizeof out, 0), kResultNoReply);
  Packet late = reply_with_data(peer_.requests()[0], CMD_READ_PARAMS, 0x99);
  peer_.send(late);
  peer_.send(late);

  firmware_->space(CMD_READ_PARAMS)[0] = 0x12;
  peer_.set_script([fw = firmware_](const Packet& r, ScriptedPeer& p) { (*fw)(r, p); });
  ASSERT_EQ(channel_.read_params(out, 1, 0), kResultOk);
  EXPECT_EQ(out[0], 0x12);
}

TEST_F(ChannelTest, ReportsThatAreNotCommandRepliesDoNotCountAsReads) {
  peer_.set_script([](const Packet& r, ScriptedPeer& p) {
    p.send({0x05, 0x01, 0x02});  // an event report of the same collection
    p.send({0x05, 0x03, 0x04});
    p.send(reply_with_data(r, CMD_READ_KEYS, 0x66));
    p.send(reply_with_data(r, r[kOffCommand], 0x31));
  });
  uint8_t out = 0;
  ASSERT_EQ(channel_.read_params(&out, 1, 0), kResultOk);
  EXPECT_EQ(out, 0x31);
}

TEST_F(ChannelTest, UnplugMidTransferStopsAtTheFailingPage) {
  peer_.set_script([fw = firmware_](const Packet& r, ScriptedPeer& p) {
    if (report_offset(r.data()) == 112) {
      p.unplug();
      return;
    }
    (*fw)(r, p);
  });
  auto data = pattern(300, 8);
  int result = channel_.write_macros(data.data(), data.size());
  EXPECT_TRUE(result == kResultNoReply || result == kResultWriteFailed) << result;
  ASSERT_EQ(requests_of(CMD_WRITE_MACROS).size(), 3u);  // the third page went out, no later one
  auto& mem = firmware_->space(CMD_WRITE_MACROS);
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 112, mem.begin()));  // earlier pages stay
  EXPECT_EQ(mem[112], 0);

  // Once the device is gone the next write fails outright.
  EXPECT_EQ(channel_.begin(), kResultWriteFailed);
}

TEST_F(ChannelTest, ErrorStatusMidTransferStopsThere) {
  peer_.set_script([fw = firmware_](const Packet& r, ScriptedPeer& p) {
    if (report_offset(r.data()) == 56) p.send(echo_reply(r, kStatusError));
    else (*fw)(r, p);
  });
  auto data = pattern(200, 8);
  EXPECT_EQ(channel_.write_params(data.data(), data.size(), 0), kResultStatusFF);
  EXPECT_EQ(requests_of(CMD_WRITE_PARAMS).size(), 2u);
}

}  // namespace
}  // namespace qxr::testing

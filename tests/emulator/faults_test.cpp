// Fault injection, seen from a program handle on the device's socket.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "emulator/emulator.h"
#include "raw_client.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

namespace qxr::emu {
namespace {

using namespace protocol;
using namespace testing;
using qxr::testing::TempFolder;
using qxr::testing::wait_until;
using std::filesystem::exists;

TEST(FaultState, CountedFaultsRunOutAndNoneClearsAll) {
  FaultState f;
  f.set(FaultMode::kStatusFE, 2);
  f.set(FaultMode::kStale, 1);
  FaultPlan p = f.next();
  EXPECT_EQ(p.status, kStatusBusy);
  EXPECT_TRUE(p.stale_first);
  p = f.next();
  EXPECT_EQ(p.status, kStatusBusy);
  EXPECT_FALSE(p.stale_first);
  EXPECT_EQ(f.next().status, 0);
  EXPECT_FALSE(f.any());

  f.set(FaultMode::kWrongEcho, 0);  // 0: until cleared
  f.set(FaultMode::kLateReply, 40);
  for (int i = 0; i < 5; ++i) {
    p = f.next();
    EXPECT_TRUE(p.wrong_echo);
    EXPECT_EQ(p.delay_ms, 40u);
  }
  f.set(FaultMode::kNone, 0);
  EXPECT_FALSE(f.any());
  p = f.next();
  EXPECT_FALSE(p.wrong_echo);
  EXPECT_EQ(p.delay_ms, 0u);
}

TEST(FaultState, UnplugAfterCountsAnsweredRequests) {
  FaultState f;
  f.set(FaultMode::kUnplugAfter, 2);
  EXPECT_FALSE(f.next().unplug_after);
  FaultPlan p = f.next();
  EXPECT_TRUE(p.unplug_after);
  EXPECT_FALSE(p.unplug_now);
  EXPECT_FALSE(f.next().unplug_after);  // fired once
  f.set(FaultMode::kUnplugAfter, 0);
  EXPECT_TRUE(f.next().unplug_now);
}

TEST(FaultState, NamesRoundTrip) {
  for (FaultMode mode : {FaultMode::kNone, FaultMode::kNoReply, FaultMode::kLateReply,
                         FaultMode::kWrongEcho, FaultMode::kWrongEchoOnce, FaultMode::kStatusFF,
                         FaultMode::kStatusFE, FaultMode::kUnplugAfter, FaultMode::kStale}) {
    EXPECT_EQ(parse_fault_mode(fault_mode_name(mode)), mode);
  }
  EXPECT_FALSE(parse_fault_mode("sometimes").has_value());
}

class DeviceFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(emu.start({DeviceType::Keyboard}));
    ASSERT_TRUE(client.connect(emu.socket_path(DeviceType::Keyboard)));
  }
  // A one-byte parameter write at address 1: executed or not, visible in memory.
  CommandReport write_mode(uint8_t value) {
    uint8_t data[1] = {value};
    return page(CMD_WRITE_PARAMS, 1, 1, data);
  }
  uint8_t mode_byte() { return emu.memory(DeviceType::Keyboard, Memory::kParams)[1]; }

  TempFolder dir;
  Emulator emu{dir.path()};
  RawClient client;
};

TEST_F(DeviceFaults, NoReplySwallowsTheRequestUnexecuted) {
  emu.set_fault(DeviceType::Keyboard, FaultMode::kNoReply, 1);
  ASSERT_TRUE(client.send(write_mode(0x33)));
  EXPECT_FALSE(client.receive(kSilenceWaitMs).has_value());
  EXPECT_NE(mode_byte(), 0x33);
  auto reply = client.exchange(write_mode(0x34));  // the fault was for one request
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ((*reply)[kOffStatus], 0);
  EXPECT_EQ(mode_byte(), 0x34);
}

TEST_F(DeviceFaults, LateReplyArrivesAfterTheDelayAndInOrder) {
  constexpr uint32_t kDelay = 300;
  emu.set_fault(DeviceType::Keyboard, FaultMode::kLateReply, kDelay);
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(client.send(page(CMD_BEGIN)));
  ASSERT_TRUE(client.send(page(CMD_END)));
  auto first = client.receive();
  auto elapsed = std::chrono::steady_clock::now() - start;
  auto second = client.receive();
  ASSERT_TRUE(first.has_value());
  ASSERT_TRUE(second.has_value());
  EXPECT_GE(elapsed, std::chrono::milliseconds(kDelay));
  EXPECT_EQ((*first)[kOffCommand], CMD_BEGIN);
  EXPECT_EQ((*second)[kOffCommand], CMD_END);
}

TEST_F(DeviceFaults, EventsQueueBehindALateReplyAndUnplugWaitsForIt) {
  emu.set_fault(DeviceType::Keyboard, FaultMode::kLateReply, 150);
  emu.set_fault(DeviceType::Keyboard, FaultMode::kUnplugAfter, 2);
  ASSERT_TRUE(client.send(page(CMD_BEGIN)));
  ASSERT_TRUE(wait_until([&] { return emu.exchanges(DeviceType::Keyboard, CMD_BEGIN) == 1; }));
  ASSERT_TRUE(emu.press_key(DeviceType::Keyboard, 4));
  auto reply = client.receive();
  auto event = client.receive();
  ASSERT_TRUE(reply.has_value());
  ASSERT_TRUE(event.has_value());
  EXPECT_EQ((*reply)[kOffCommand], CMD_BEGIN);
  EXPECT_EQ((*event)[1] | ((*event)[2] << 8), 0x0504);
  // The second request's late reply still goes out before the device goes.
  ASSERT_TRUE(client.send(page(CMD_END)));
  reply = client.receive();
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ((*reply)[kOffCommand], CMD_END);
  EXPECT_FALSE(client.receive().has_value());
  EXPECT_TRUE(client.closed());
  EXPECT_FALSE(emu.plugged(DeviceType::Keyboard));
}

TEST_F(DeviceFaults, WrongEchoOnceThenAlways) {
  emu.set_fault(DeviceType::Keyboard, FaultMode::kWrongEchoOnce);
  auto reply = client.exchange(page(CMD_BEGIN));
  ASSERT_TRUE(reply.has_value());
  EXPECT_NE((*reply)[kOffCommand], CMD_BEGIN);
  EXPECT_TRUE(checksum_ok(reply->data()));
  reply = client.exchange(page(CMD_BEGIN));
  EXPECT_EQ((*reply)[kOffCommand], CMD_BEGIN);

  emu.set_fault(DeviceType::Keyboard, FaultMode::kWrongEcho);
  for (int i = 0; i < 3; ++i) {
    reply = client.exchange(page(CMD_END));
    ASSERT_TRUE(reply.has_value());
    EXPECT_NE((*reply)[kOffCommand], CMD_END);
  }
  // Only one report per request: a program that reads twice waits in vain.
  EXPECT_FALSE(client.receive(kSilenceWaitMs).has_value());
}

TEST_F(DeviceFaults, StatusFaultsAnswerWithoutExecuting) {
  const uint8_t before = mode_byte();
  emu.set_fault(DeviceType::Keyboard, FaultMode::kStatusFF, 1);
  auto reply = client.exchange(write_mode(0x41));
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ((*reply)[kOffStatus], kStatusError);
  EXPECT_EQ((*reply)[kOffCommand], CMD_WRITE_PARAMS);
  emu.set_fault(DeviceType::Keyboard, FaultMode::kStatusFE, 1);
  reply = client.exchange(write_mode(0x42));
  EXPECT_EQ((*reply)[kOffStatus], kStatusBusy);
  EXPECT_EQ(mode_byte(), before);
  reply = client.exchange(write_mode(0x43));
  EXPECT_EQ((*reply)[kOffStatus], 0);
  EXPECT_EQ(mode_byte(), 0x43);
}

TEST_F(DeviceFaults, StaleReportComesFirstWithAnotherCommandByte) {
  ASSERT_TRUE(client.exchange(page(CMD_READ_INFO, 34, 0)).has_value());
  emu.set_fault(DeviceType::Keyboard, FaultMode::kStale, 1);
  // Same command as the stale reply had: the stale one must still be told apart.
  ASSERT_TRUE(client.send(page(CMD_READ_INFO, 34, 0)));
  auto stale = client.receive();
  auto reply = client.receive();
  ASSERT_TRUE(stale.has_value());
  ASSERT_TRUE(reply.has_value());
  EXPECT_NE((*stale)[kOffCommand], CMD_READ_INFO);
  EXPECT_EQ((*reply)[kOffCommand], CMD_READ_INFO);
  EXPECT_EQ((*reply)[kOffData + kInfoOffKeyCount], firmware_layout(DeviceType::Keyboard).key_count());
  // Used up: the next exchange has one report only.
  ASSERT_TRUE(client.exchange(page(CMD_BEGIN)).has_value());
  EXPECT_FALSE(client.receive(kSilenceWaitMs).has_value());
}

TEST_F(DeviceFaults, UnplugAfterAnsweringTheLastExchange) {
  emu.set_fault(DeviceType::Keyboard, FaultMode::kUnplugAfter, 2);
  ASSERT_TRUE(client.exchange(page(CMD_BEGIN)).has_value());
  EXPECT_TRUE(emu.plugged(DeviceType::Keyboard));
  auto last = client.exchange(page(CMD_END));
  ASSERT_TRUE(last.has_value());
  EXPECT_EQ((*last)[kOffCommand], CMD_END);
  EXPECT_FALSE(client.receive().has_value());
  EXPECT_TRUE(client.closed());
  EXPECT_FALSE(emu.plugged(DeviceType::Keyboard));
  EXPECT_FALSE(exists(emu.json_path(DeviceType::Keyboard)));
  // Plugged again, the device answers normally.
  ASSERT_TRUE(emu.plug(DeviceType::Keyboard));
  ASSERT_TRUE(client.connect(emu.socket_path(DeviceType::Keyboard)));
  EXPECT_TRUE(client.exchange(page(CMD_BEGIN)).has_value());
}

TEST_F(DeviceFaults, UnplugInTheMiddleOfATransfer) {
  emu.set_fault(DeviceType::Keyboard, FaultMode::kUnplugAfter, 0);
  ASSERT_TRUE(client.send(write_mode(0x51)));
  EXPECT_FALSE(client.receive().has_value());
  EXPECT_TRUE(client.closed());
  EXPECT_NE(mode_byte(), 0x51);
  EXPECT_FALSE(emu.plugged(DeviceType::Keyboard));
}

}  // namespace
}  // namespace qxr::emu

// HidDevice against a tiny emulated interface in a temporary folder.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "emulator/report_descriptors.h"
#include "fake_interface.h"
#include "hid/hid_device.h"
#include "tests/support/temp_folder.h"

namespace qxr::hid {
namespace {

using test::FakeInterface;
using qxr::testing::TempFolder;
using namespace std::chrono_literals;

// Generous bound for "returns at once" so that a loaded machine does not fail the test while a
// transfer that hangs still does.
constexpr auto kPromptly = 5s;

// cancel() only releases a transfer that is already pending, so keep cancelling until the
// transfer started on the other thread has ended.
bool cancel_until_done(HidDevice& dev, std::future<bool>& transfer) {
  const auto deadline = std::chrono::steady_clock::now() + kPromptly;
  while (std::chrono::steady_clock::now() < deadline) {
    dev.cancel();
    if (transfer.wait_for(10ms) == std::future_status::ready) return true;
  }
  return false;
}

std::vector<uint8_t> command_report(uint8_t command) {
  std::vector<uint8_t> r(64, 0);
  r[0] = 4;
  r[3] = command;
  return r;
}

class HidDeviceIo : public ::testing::Test {
 protected:
  HidDeviceIo()
      : keyboard_(dir_.path(), "kb", 0x320F, 0x5055, 1, emu::keyboard_report_descriptor()),
        headset_(dir_.path(), "hd", 0x00C7, 0x1630, 3, emu::headset_report_descriptor()) {
    keyboard_.plug();
    headset_.plug();
  }

  TempFolder dir_;
  FakeInterface keyboard_;
  FakeInterface headset_;
  HidDevice dev_;
};

TEST_F(HidDeviceIo, OpenLoadsAttributesAndCapsOfThePathsCollection) {
  ASSERT_TRUE(dev_.open(keyboard_.path(4), true, true, true, false)) << dev_.last_error();
  EXPECT_TRUE(dev_.is_open());
  EXPECT_EQ(dev_.attributes().vendor_id, 0x320F);
  EXPECT_EQ(dev_.attributes().product_id, 0x5055);
  EXPECT_EQ(dev_.caps().usage_page, 0xFF1C);
  EXPECT_EQ(dev_.caps().usage, 0x92);
  EXPECT_EQ(dev_.caps().input_report_byte_length, 64);
  EXPECT_EQ(dev_.caps().output_report_byte_length, 64);
  EXPECT_EQ(dev_.interface_number(), 1);
  EXPECT_EQ(dev_.collection_number(), 4);
  EXPECT_EQ(dev_.input_report_buffer().size(), 64u);

  ASSERT_TRUE(dev_.open(keyboard_.path(3), true, false, true, false));
  EXPECT_EQ(dev_.caps().usage_page, 0x0C);
  EXPECT_EQ(dev_.caps().input_report_byte_length, 5);
  ASSERT_EQ(dev_.input_data().size(), 1u);
  EXPECT_EQ(dev_.input_data()[0].usages.size(), 2u);

  ASSERT_TRUE(dev_.open(headset_.path(0), true, true, true, false));
  EXPECT_EQ(dev_.caps().usage_page, 0x0C);
  EXPECT_EQ(dev_.collection_number(), 0);
  EXPECT_EQ(dev_.interface_number(), 3);

  dev_.close();
  EXPECT_FALSE(dev_.is_open());
  EXPECT_EQ(dev_.caps().input_report_byte_length, 0);
  EXPECT_TRUE(dev_.input_data().empty());
}

TEST_F(HidDeviceIo, OpenFailsOnMissingOrMismatchedPaths) {
  EXPECT_FALSE(dev_.open(dir_.path() + "/none.sock#vid_1&pid_2&mi_01&col01", true, true, true, false));
  EXPECT_FALSE(dev_.open(keyboard_.path(0), true, true, true, false));  // four collections, no col
  EXPECT_FALSE(dev_.open(keyboard_.path(5), true, true, true, false));  // no fifth collection
  EXPECT_FALSE(dev_.is_open());
  size_t n = 1;
  uint8_t buf[64];
  EXPECT_FALSE(dev_.read(buf, sizeof buf, &n, 0));
  EXPECT_EQ(n, 0u);
  EXPECT_FALSE(dev_.write(buf, sizeof buf, &n, 0));
}

TEST_F(HidDeviceIo, ReopenUsesTheRememberedPathAndOptions) {
  ASSERT_TRUE(dev_.open(keyboard_.path(4), true, true, true, false));
  ASSERT_TRUE(keyboard_.wait_connections(1));
  ASSERT_TRUE(dev_.reopen());
  ASSERT_TRUE(keyboard_.wait_connections(2));
  EXPECT_EQ(dev_.caps().usage, 0x92);
  keyboard_.unplug();
  EXPECT_FALSE(dev_.reopen());
  EXPECT_FALSE(dev_.is_open());
}

TEST_F(HidDeviceIo, ReadTimesOutThenDeliversAWholeReport) {
  ASSERT_TRUE(dev_.open(keyboard_.path(4), true, true, true, false));
  ASSERT_TRUE(keyboard_.wait_connections(1));
  uint8_t buf[64];
  size_t n = 99;
  EXPECT_FALSE(dev_.read(buf, sizeof buf, &n, 20));
  EXPECT_EQ(n, 0u);

  keyboard_.send_all(command_report(0x03));
  ASSERT_TRUE(dev_.read(buf, sizeof buf, &n, 2000)) << dev_.last_error();
  EXPECT_EQ(n, 64u);
  EXPECT_EQ(buf[0], 4);
  EXPECT_EQ(buf[3], 0x03);
}

TEST_F(HidDeviceIo, ShortReportsArePaddedToTheInputLength) {
  ASSERT_TRUE(dev_.open(keyboard_.path(4), true, true, true, false));
  ASSERT_TRUE(keyboard_.wait_connections(1));
  keyboard_.send_all({4, 0xAA});
  uint8_t buf[64];
  std::fill(std::begin(buf), std::end(buf), 0x55);
  size_t n = 0;
  ASSERT_TRUE(dev_.read(buf, sizeof buf, &n, 2000));
  EXPECT_EQ(n, 64u);
  EXPECT_EQ(buf[1], 0xAA);
  EXPECT_EQ(buf[2], 0);
  EXPECT_EQ(buf[63], 0);
}

TEST_F(HidDeviceIo, ReportsOfAnotherCollectionAreNotDelivered) {
  HidDevice consumer;
  ASSERT_TRUE(dev_.open(keyboard_.path(4), true, true, true, false));
  ASSERT_TRUE(consumer.open(keyboard_.path(3), true, true, true, false));
  ASSERT_TRUE(keyboard_.wait_connections(2));

  keyboard_.send_all({3, 0x01, 0x04, 0, 0});
  keyboard_.send_all(command_report(0x05));
  uint8_t buf[64];
  size_t n = 0;
  ASSERT_TRUE(dev_.read(buf, sizeof buf, &n, 2000));
  EXPECT_EQ(buf[0], 4);
  EXPECT_EQ(buf[3], 0x05);
  EXPECT_FALSE(dev_.read(buf, sizeof buf, &n, 20));  // the consumer report was dropped here

  ASSERT_TRUE(consumer.read(buf, sizeof buf, &n, 2000));
  EXPECT_EQ(n, 5u);
  EXPECT_EQ(buf[0], 3);
  ASSERT_TRUE(consumer.unpack_input_report(buf, n));
  EXPECT_EQ(consumer.input_data()[0].usages[0], 0x0401);
  EXPECT_FALSE(consumer.read(buf, sizeof buf, &n, 20));  // the command report was dropped here
}

TEST_F(HidDeviceIo, InfiniteReadIsReleasedByCancelAndByClose) {
  ASSERT_TRUE(dev_.open(keyboard_.path(3), true, true, true, false));
  ASSERT_TRUE(keyboard_.wait_connections(1));
  auto blocked_read = [this] {
    return std::async(std::launch::async, [this] {
      uint8_t buf[64];
      size_t n = 0;
      return dev_.read(buf, sizeof buf, &n, kInfinite);
    });
  };
  auto wait_until_blocked = [] { std::this_thread::sleep_for(50ms); };

  auto r1 = blocked_read();
  ASSERT_TRUE(cancel_until_done(dev_, r1));
  EXPECT_FALSE(r1.get());
  EXPECT_TRUE(dev_.is_open());

  // A cancel with nothing pending does not spoil the next transfer.
  dev_.cancel();
  keyboard_.send_all({3, 0x02, 0x04, 0, 0});
  uint8_t buf[64];
  size_t n = 0;
  EXPECT_TRUE(dev_.read(buf, sizeof buf, &n, 2000));

  auto r2 = blocked_read();
  wait_until_blocked();
  dev_.close();
  ASSERT_EQ(r2.wait_for(kPromptly), std::future_status::ready);
  EXPECT_FALSE(r2.get());
  EXPECT_FALSE(dev_.is_open());
}

TEST_F(HidDeviceIo, ReadWithAStopEventEndsWhenTheEventIsSet) {
  ASSERT_TRUE(dev_.open(keyboard_.path(3), true, true, true, false));
  StopEvent stop;
  stop.set();
  uint8_t buf[64];
  size_t n = 0;
  // Already set before the read starts: the read must not wait.
  EXPECT_FALSE(dev_.read(buf, sizeof buf, &n, kInfinite, stop));
  stop.reset();
  auto r = std::async(std::launch::async,
                      [&] { return dev_.read(buf, sizeof buf, &n, kInfinite, stop); });
  std::this_thread::sleep_for(20ms);
  stop.set();
  ASSERT_EQ(r.wait_for(kPromptly), std::future_status::ready);
  EXPECT_FALSE(r.get());
}

TEST_F(HidDeviceIo, PeerClosingFailsAPendingReadAtOnce) {
  ASSERT_TRUE(dev_.open(keyboard_.path(4), true, true, true, false));
  ASSERT_TRUE(keyboard_.wait_connections(1));
  auto r = std::async(std::launch::async, [this] {
    uint8_t buf[64];
    size_t n = 0;
    return dev_.read(buf, sizeof buf, &n, kInfinite);
  });
  std::this_thread::sleep_for(20ms);
  keyboard_.unplug();
  ASSERT_EQ(r.wait_for(kPromptly), std::future_status::ready);
  EXPECT_FALSE(r.get());
  EXPECT_NE(dev_.last_error().find("gone"), std::string::npos) << dev_.last_error();
  // Later transfers fail at once too.
  uint8_t buf[64] = {4};
  size_t n = 0;
  EXPECT_FALSE(dev_.write(buf, sizeof buf, &n, kInfinite));
  EXPECT_FALSE(dev_.read(buf, sizeof buf, &n, kInfinite));
}

TEST_F(HidDeviceIo, WriteDeliversOnePacketPerReport) {
  ASSERT_TRUE(dev_.open(keyboard_.path(4), true, true, true, false));
  ASSERT_TRUE(keyboard_.wait_connections(1));
  auto report = command_report(0x01);
  size_t n = 0;
  ASSERT_TRUE(dev_.write(report.data(), report.size(), &n, 1000));
  EXPECT_EQ(n, 64u);
  std::vector<uint8_t> got;
  ASSERT_TRUE(keyboard_.receive(&got, 2000));
  EXPECT_EQ(got, report);
}

TEST_F(HidDeviceIo, WriteTimeoutHoldsWhenThePeerDoesNotRead) {
  ASSERT_TRUE(dev_.open(keyboard_.path(4), true, true, true, false));
  ASSERT_TRUE(keyboard_.wait_connections(1));
  auto report = command_report(0x06);
  size_t n = 0;
  int sent = 0;
  while (dev_.write(report.data(), report.size(), &n, 0)) {
    ASSERT_LT(++sent, 100000) << "the socket buffer never filled";
  }
  EXPECT_GT(sent, 0);
  auto r = std::async(std::launch::async,
                      [&] { return dev_.write(report.data(), report.size(), &n, 100); });
  ASSERT_EQ(r.wait_for(kPromptly), std::future_status::ready);
  EXPECT_FALSE(r.get());
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(dev_.last_error(), "write: timeout");

  // A write that waits without timeout is released by cancel.
  auto w = std::async(std::launch::async,
                      [&] { return dev_.write(report.data(), report.size(), &n, kInfinite); });
  ASSERT_TRUE(cancel_until_done(dev_, w));
  EXPECT_FALSE(w.get());

  // Once the device reads again, writing works.
  std::vector<uint8_t> got;
  while (keyboard_.receive(&got, 0)) {
  }
  EXPECT_TRUE(dev_.write(report.data(), report.size(), &n, 1000));
}

TEST_F(HidDeviceIo, SetOutputReportSendsTheHeadsetLedReport) {
  ASSERT_TRUE(dev_.open(headset_.path(0), true, true, true, false));
  ASSERT_TRUE(headset_.wait_connections(1));
  std::vector<uint8_t> led(emu::kHeadsetLedReportBytes, 0);
  led[0] = emu::kHeadsetLedReportId;
  led[1] = 0x22;
  led[2] = 0xAA;
  led[4] = 200;
  ASSERT_TRUE(dev_.set_output_report(led.data(), led.size()));
  std::vector<uint8_t> got;
  ASSERT_TRUE(headset_.receive(&got, 2000));
  EXPECT_EQ(got, led);
}

TEST_F(HidDeviceIo, DrainDiscardsWhatIsQueuedWithoutWaiting) {
  ASSERT_TRUE(dev_.open(keyboard_.path(4), true, true, true, false));
  ASSERT_TRUE(keyboard_.wait_connections(1));
  EXPECT_EQ(dev_.drain(), 0u);
  keyboard_.send_all(command_report(1));
  keyboard_.send_all(command_report(2));
  std::this_thread::sleep_for(10ms);
  EXPECT_EQ(dev_.drain(), 2u);
  uint8_t buf[64];
  size_t n = 0;
  EXPECT_FALSE(dev_.read(buf, sizeof buf, &n, 10));
}

TEST_F(HidDeviceIo, ExclusiveOpenRefusesASecondOpenOfThePath) {
  HidDevice other;
  ASSERT_TRUE(dev_.open(keyboard_.path(4), true, true, true, true));
  EXPECT_FALSE(other.open(keyboard_.path(4), true, true, true, false));
  EXPECT_FALSE(other.open(keyboard_.path(4), true, true, true, true));
  EXPECT_TRUE(other.open(keyboard_.path(3), true, true, true, false));  // another collection
  dev_.close();
  EXPECT_TRUE(other.open(keyboard_.path(4), true, true, true, false));
  // ... and a shared open blocks an exclusive one.
  EXPECT_FALSE(dev_.open(keyboard_.path(4), true, true, true, true));
  EXPECT_TRUE(dev_.open(keyboard_.path(4), true, true, true, false));
}

TEST_F(HidDeviceIo, ConcurrentReadAndWriteOnOneDevice) {
  ASSERT_TRUE(dev_.open(keyboard_.path(4), true, true, true, false));
  ASSERT_TRUE(keyboard_.wait_connections(1));
  constexpr int kRounds = 200;
  auto reader = std::async(std::launch::async, [this] {
    int got = 0;
    uint8_t buf[64];
    size_t n = 0;
    while (got < kRounds && dev_.read(buf, sizeof buf, &n, 2000)) ++got;
    return got;
  });
  auto report = command_report(0x1A);
  size_t n = 0;
  for (int i = 0; i < kRounds; ++i) {
    ASSERT_TRUE(dev_.write(report.data(), report.size(), &n, 2000));
    std::vector<uint8_t> echoed;
    ASSERT_TRUE(keyboard_.receive(&echoed, 2000));
    keyboard_.send_all(echoed);
  }
  EXPECT_EQ(reader.get(), kRounds);
}

}  // namespace
}  // namespace qxr::hid

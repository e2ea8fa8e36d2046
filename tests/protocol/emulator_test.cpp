// The channel and the command set against the device emulator: its firmware models, its fault
// injection and its unplugging.
#include <gtest/gtest.h>

#include "emulator/emulator.h"
#include "emulator/report_descriptors.h"
#include "protocol/command_channel.h"
#include "tests/support/emulator_test.h"

namespace qxr::testing {
namespace {

using namespace qxr::protocol;
using emu::DeviceType;
using emu::FaultMode;
using emu::Memory;

constexpr int kKeyboardSettingsBytes = 26;
constexpr int kKeyboardSettingsStride = 25;

class EmulatedChannel : public EmulatorTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(start({DeviceType::Keyboard, DeviceType::Headset}));
    ASSERT_TRUE(open(keyboard_, emu_->hid_path(DeviceType::Keyboard, emu::kVendorCollection)));
  }
  void TearDown() override {
    keyboard_.device().close();
    headset_.device().close();
  }
  static bool open(CommandChannel& channel, const std::string& path) { return channel.open(path); }

  CommandChannel keyboard_;
  CommandChannel headset_;
};

TEST_F(EmulatedChannel, ConnectSequenceReadsTheKeyboardTables) {
  ASSERT_EQ(keyboard_.begin(), kResultOk);
  uint8_t info[kInfoSize] = {};
  ASSERT_EQ(keyboard_.read_info(info), kResultOk);
  auto expected_info = emu_->memory(DeviceType::Keyboard, Memory::kInfo);
  ASSERT_GE(expected_info.size(), kInfoSize);
  EXPECT_TRUE(std::equal(info, info + kInfoSize, expected_info.begin()));

  const uint16_t keys = info[5];
  ASSERT_GT(keys, 0);
  ASSERT_TRUE(keyboard_.set_data_length(static_cast<uint16_t>(keys * 3)));
  std::vector<uint8_t> table(keys * 3);
  ASSERT_EQ(keyboard_.read_keys(table.data()), kResultOk);
  auto device_table = emu_->memory(DeviceType::Keyboard, Memory::kKeys);
  EXPECT_TRUE(std::equal(table.begin(), table.end(), device_table.begin()));
  std::vector<uint8_t> leds(keys);
  ASSERT_EQ(keyboard_.read_led_map(leds.data()), kResultOk);
  auto device_leds = emu_->memory(DeviceType::Keyboard, Memory::kLedMap);
  EXPECT_TRUE(std::equal(leds.begin(), leds.end(), device_leds.begin()));
  ASSERT_EQ(keyboard_.end(), kResultOk);
  EXPECT_FALSE(emu_->in_transaction(DeviceType::Keyboard));
}

TEST_F(EmulatedChannel, SettingsBlockWrittenIsReadBack) {
  std::vector<uint8_t> block(kKeyboardSettingsBytes);
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i + 1);
  block[0] = 0;
  ASSERT_EQ(keyboard_.begin(), kResultOk);
  ASSERT_EQ(keyboard_.write_params(block.data(), block.size(), kKeyboardSettingsStride), kResultOk);
  ASSERT_EQ(keyboard_.end(), kResultOk);
  std::vector<uint8_t> back(kKeyboardSettingsBytes);
  ASSERT_EQ(keyboard_.read_params(back.data(), back.size(), kKeyboardSettingsStride), kResultOk);
  EXPECT_EQ(std::vector<uint8_t>(back.begin() + 1, back.end()), std::vector<uint8_t>(block.begin() + 1, block.end()));
  EXPECT_EQ(emu_->counters(DeviceType::Keyboard).unbracketed_writes, 0u);
}

TEST_F(EmulatedChannel, FaultsBecomeTheirResults) {
  emu_->set_fault(DeviceType::Keyboard, FaultMode::kStatusFF, 1);
  EXPECT_EQ(keyboard_.begin(), kResultStatusFF);
  emu_->set_fault(DeviceType::Keyboard, FaultMode::kStatusFE, 1);
  EXPECT_EQ(keyboard_.begin(), kResultStatusFE);
  // One reply with another command byte and nothing after it: the second read times out.
  emu_->set_fault(DeviceType::Keyboard, FaultMode::kWrongEchoOnce);
  EXPECT_EQ(keyboard_.begin(), kResultNoReply);
  emu_->set_fault(DeviceType::Keyboard, FaultMode::kNoReply, 1);
  EXPECT_EQ(keyboard_.begin(), kResultNoReply);
  EXPECT_EQ(keyboard_.begin(), kResultOk);  // the fault was used up
}

TEST_F(EmulatedChannel, StaleReportsBeforeEveryReplyAreSortedOut) {
  emu_->set_fault(DeviceType::Keyboard, FaultMode::kStale);
  uint8_t first = 0xEE;
  ASSERT_EQ(keyboard_.read_params(&first, 1, 0), kResultOk);
  EXPECT_EQ(first, emu_->active_profile(DeviceType::Keyboard));
  uint8_t status[6] = {};
  ASSERT_EQ(keyboard_.read_status(status, sizeof status, 0), kResultOk);
  auto device_status = emu_->memory(DeviceType::Keyboard, Memory::kStatus);
  EXPECT_TRUE(std::equal(status, status + 6, device_status.begin()));
}

TEST_F(EmulatedChannel, LateReplyDoesNotAnswerTheNextRequest) {
  emu_->set_fault(DeviceType::Keyboard, FaultMode::kLateReply, 1300);
  EXPECT_EQ(keyboard_.begin(), kResultNoReply);  // gave up after 1000 ms
  emu_->clear_faults(DeviceType::Keyboard);
  // The late answer to the begin arrives now; the status read must still get its own data.
  emu_->set_status_byte(DeviceType::Keyboard, 0, 0x42);
  uint8_t status[6] = {};
  ASSERT_EQ(keyboard_.read_status(status, sizeof status, 0), kResultOk);
  EXPECT_EQ(status[0], 0x42);
}

TEST_F(EmulatedChannel, LightFrameLandsInTheDevice) {
  // Key count x 3 bytes, as the keyboard streams it.
  const size_t bytes = emu_->memory(DeviceType::Keyboard, Memory::kInfo)[5] * size_t{3};
  std::vector<uint8_t> frame(bytes);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i * 5 + 1);
  ASSERT_EQ(keyboard_.light_stream(frame.data(), frame.size()), kResultOk);
  auto shown = emu_->memory(DeviceType::Keyboard, Memory::kLightFrame);
  EXPECT_EQ(shown, frame);
  EXPECT_EQ(emu_->exchanges(DeviceType::Keyboard, CMD_LIGHT_STREAM), (bytes + kPageSize - 1) / kPageSize);
  // A frame longer than the device's LEDs is refused at the first page past them.
  std::vector<uint8_t> too_long(bytes + kPageSize, 0x10);
  EXPECT_EQ(keyboard_.light_stream(too_long.data(), too_long.size()), kResultStatusFF);
}

TEST_F(EmulatedChannel, UnplugInTheMiddleOfTheColourUploadStopsThere) {
  std::vector<uint8_t> colours(170 * 3, 0x33);
  emu_->set_fault(DeviceType::Keyboard, FaultMode::kUnplugAfter, 3);
  int result = keyboard_.write_key_colours(colours.data(), colours.size(), 0, 512);
  EXPECT_TRUE(result == kResultNoReply || result == kResultWriteFailed) << result;
  EXPECT_EQ(emu_->exchanges(DeviceType::Keyboard, CMD_WRITE_KEY_COLOURS), 3u);
  auto stored = emu_->memory(DeviceType::Keyboard, Memory::kKeyColours);
  EXPECT_EQ(stored[3 * 56 - 1], 0x33);
  EXPECT_NE(stored[3 * 56], 0x33);
  EXPECT_EQ(keyboard_.begin(), kResultWriteFailed);
}

TEST_F(EmulatedChannel, HeadsetEventsOnTheCommandCollectionAreNotReplies) {
  ASSERT_TRUE(open(headset_, emu_->hid_path(DeviceType::Headset, 0)));
  // Events queued before the request are discarded; the reply is still found after them.
  ASSERT_TRUE(emu_->settings_changed(DeviceType::Headset));
  ASSERT_TRUE(emu_->press_key(DeviceType::Headset, 3));
  emu_->set_status_byte(DeviceType::Headset, 2, 0x17);
  uint8_t status[6] = {};
  ASSERT_EQ(headset_.read_status(status, sizeof status, 0), kResultOk);
  EXPECT_EQ(status[2], 0x17);
  ASSERT_EQ(headset_.begin(), kResultOk);
}

}  // namespace
}  // namespace qxr::testing

// The emulator through the program's own HID transport: what the device layer will see.
#include <gtest/gtest.h>

#include "emulator/emulator.h"
#include "emulator/report_descriptors.h"
#include "hid/hid_device.h"
#include "raw_client.h"
#include "tests/support/temp_folder.h"

namespace qxr::emu {
namespace {

using namespace protocol;
using qxr::testing::TempFolder;

// The event code as the device objects take it: the first usage of the first record that the
// report filled.
int event_code(hid::HidDevice& device, int timeout_ms = testing::kReplyWaitMs) {
  std::vector<uint8_t> report(device.caps().input_report_byte_length);
  size_t got = 0;
  if (!device.read(report.data(), report.size(), &got, timeout_ms)) return -1;
  if (!device.unpack_input_report(report.data(), got)) return -2;
  for (const hid::HidData& d : device.input_data()) {
    if (d.report_id == report[0] && d.data_set) return d.is_button ? d.usages[0] : d.usage;
  }
  return -3;
}

TEST(HidRoundTrip, EventsDecodeOnTheConsumerCollection) {
  TempFolder dir;
  Emulator emu(dir.path());
  ASSERT_TRUE(emu.start({DeviceType::Keyboard, DeviceType::Headset}));
  hid::HidDevice keyboard, headset;
  ASSERT_TRUE(keyboard.open(emu.hid_path(DeviceType::Keyboard, kConsumerCollection), true, true, true, false))
      << keyboard.last_error();
  ASSERT_TRUE(headset.open(emu.hid_path(DeviceType::Headset, 0), true, true, true, false))
      << headset.last_error();
  EXPECT_EQ(keyboard.caps().usage_page, kConsumerPage);

  ASSERT_TRUE(emu.press_key(DeviceType::Keyboard, 71));
  EXPECT_EQ(event_code(keyboard), 0x0500 + 71);
  ASSERT_TRUE(emu.settings_changed(DeviceType::Keyboard));
  EXPECT_EQ(event_code(keyboard), kEventSettingsChanged);
  ASSERT_TRUE(emu.settings_changed(DeviceType::Headset, kEventSettingsChangedAlt));
  EXPECT_EQ(event_code(headset), kEventSettingsChangedAlt);
}

TEST(HidRoundTrip, CommandReplyReachesTheVendorCollectionOnly) {
  TempFolder dir;
  Emulator emu(dir.path());
  ASSERT_TRUE(emu.start({DeviceType::Mouse}));
  hid::HidDevice primary, secondary;
  ASSERT_TRUE(primary.open(emu.hid_path(DeviceType::Mouse, kVendorCollection), true, true, true, false));
  ASSERT_TRUE(secondary.open(emu.hid_path(DeviceType::Mouse, kConsumerCollection), true, true, true, false));
  CommandReport request = testing::page(CMD_READ_INFO, 34, 0);
  size_t n = 0;
  ASSERT_TRUE(primary.write(request.data(), request.size(), &n, 1000));
  CommandReport reply{};
  ASSERT_TRUE(primary.read(reply.data(), reply.size(), &n, testing::kReplyWaitMs));
  EXPECT_EQ(n, kReportSize);
  EXPECT_EQ(reply[kOffCommand], CMD_READ_INFO);
  EXPECT_EQ(reply[kOffData + kInfoOffKeyCount], firmware_layout(DeviceType::Mouse).key_count());
  // The consumer handle does not see the command reply.
  std::vector<uint8_t> other(secondary.caps().input_report_byte_length);
  EXPECT_FALSE(secondary.read(other.data(), other.size(), &n, testing::kSilenceWaitMs));
}

}  // namespace
}  // namespace qxr::emu

// The device base: LED frame, flags, failure pause, event dispatch, function switch; the
// light-frame path runs against the emulated keyboard's primary interface.
#include "devices/usb_device.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/clock.h"
#include "core/debug_line.h"
#include "profile/data_paths.h"
#include "devices/testing/recording_page.h"
#include "emulator/emulator.h"
#include "tests/devices/emulated_keyboard.h"

namespace qxr::devices::testing {
namespace {

using emu::DeviceType;

// A device of no particular kind that keeps the events its kind would act on.
class EventProbe : public CMarluneUSBDevice {
 public:
  using CMarluneUSBDevice::CMarluneUSBDevice;
  ~EventProbe() override {
    shutdown();
    stop_event_thread();
  }
  std::vector<uint16_t> sync_requests;
  std::vector<std::pair<uint8_t, int>> keys;

 protected:
  void on_sync_request(uint16_t code) override { sync_requests.push_back(code); }
  void on_device_key(uint8_t position, int state) override { keys.emplace_back(position, state); }
};

class DeviceBase : public qxr::testing::EmulatorTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(start({DeviceType::Keyboard}));
    dev_ = std::make_unique<EventProbe>(page_, clock_);
    dev_->set_led_count(kLedCount);
  }
  void open() { ASSERT_TRUE(dev_->open_primary(emu_->hid_path(DeviceType::Keyboard, 4), false)); }
  uint32_t frames() const { return emu_->counters(DeviceType::Keyboard).light_frames; }
  // Every LED red at brightness 128.
  void fill_frame() {
    for (size_t i = 0; i < kLedCount; ++i) dev_->set_led(i, {200, 100, 50, 128});
  }

  static constexpr size_t kLedCount = 12;
  RecordingPage page_;
  ManualClock clock_{1000};
  std::unique_ptr<EventProbe> dev_;
};

TEST_F(DeviceBase, LedCountClearsRecordsAndResizesOnlyOnChange) {
  fill_frame();
  EXPECT_EQ(dev_->get_led(3), (LedRecord{200, 100, 50, 128}));
  EXPECT_EQ(dev_->get_led(kLedCount), LedRecord{});  // beyond the frame
  dev_->set_led(kLedCount, {1, 2, 3, 4});             // ignored
  dev_->set_led_count(kLedCount);
  EXPECT_EQ(dev_->led_count(), kLedCount);
  EXPECT_EQ(dev_->get_led(3), LedRecord{});
  dev_->set_led_count(4);
  EXPECT_EQ(dev_->led_frame().size(), 4u);
}

TEST_F(DeviceBase, FrameIsShownAndStreamedScaledByBrightness) {
  open();
  fill_frame();
  dev_->send_light_frame();
  dev_->drain();
  ASSERT_EQ(frames(), 1u);
  std::vector<uint8_t> light = emu_->memory(DeviceType::Keyboard, emu::Memory::kLightFrame);
  ASSERT_GE(light.size(), kLedCount * 3);
  EXPECT_EQ(light[0], (200 * 128) >> 8);
  EXPECT_EQ(light[1], (100 * 128) >> 8);
  EXPECT_EQ(light[2], (50 * 128) >> 8);
  auto shown = page_.last_indicators();
  ASSERT_EQ(shown.size(), kLedCount);
  EXPECT_EQ(shown[5], (IndicatorColour{200, 100, 50, 128}));
}

TEST_F(DeviceBase, HostLightingOffShowsAndSendsNothing) {
  open();
  fill_frame();
  dev_->set_host_lighting(false);
  dev_->send_light_frame();
  dev_->send_light_frame_now();
  dev_->drain();
  EXPECT_EQ(frames(), 0u);
  EXPECT_EQ(page_.count("show_indicators"), 0);
}

TEST_F(DeviceBase, ReceiverModeShowsButDoesNotSend) {
  ASSERT_TRUE(dev_->open_primary(emu_->hid_path(DeviceType::Keyboard, 4), true));
  fill_frame();
  dev_->send_light_frame_now();
  EXPECT_EQ(frames(), 0u);
  EXPECT_EQ(page_.count("show_indicators"), 1);
}

TEST_F(DeviceBase, FailedFramePausesStreamingWithoutBlocking) {
  open();
  fill_frame();
  emu_->set_fault(DeviceType::Keyboard, emu::FaultMode::kStatusFE, 1);
  dev_->send_light_frame_now();  // refused: the pause starts
  uint32_t after_failure = frames();
  dev_->send_light_frame_now();
  EXPECT_EQ(frames(), after_failure);
  EXPECT_EQ(page_.count("show_indicators"), 2);  // the page still follows the frame
  clock_.advance(kFailurePauseMs - 1);
  dev_->send_light_frame_now();
  EXPECT_EQ(frames(), after_failure);
  clock_.advance(1);
  dev_->send_light_frame_now();
  EXPECT_EQ(frames(), after_failure + 1);
}

TEST_F(DeviceBase, ClosedChannelShowsFrameAndAnswersNothing) {
  fill_frame();
  dev_->send_light_frame_now();
  EXPECT_EQ(page_.count("show_indicators"), 1);
  EXPECT_EQ(dev_->read_device_status_now(), 0);
  EXPECT_FALSE(page_.power_status().has_value());
}

TEST_F(DeviceBase, HostLightingCommandOnlyForKeyboards) {
  open();
  dev_->set_kind_and_role(kKindMouse, 0);
  dev_->set_host_lighting(true);
  dev_->drain();
  EXPECT_EQ(emu_->exchanges(DeviceType::Keyboard, protocol::CMD_HOST_LIGHTING), 0u);
  dev_->set_kind_and_role(kKindKeyboard, 0);
  dev_->set_host_lighting(true);
  dev_->drain();
  EXPECT_EQ(emu_->exchanges(DeviceType::Keyboard, protocol::CMD_HOST_LIGHTING), 1u);
  EXPECT_EQ(page_.results(DeviceOperation::HostLighting).back(), 1);
}

TEST_F(DeviceBase, OpeningASlotAttachesItAndSetsReceiverMode) {
  hid::DeviceSlot slot;
  static_cast<hid::SupportedInterface&>(slot) = {0x320F, 0x5055, 1, 4, kKindKeyboard, hid::kInterfaceRolePrimary, 0,
                                                 hid::kVendorDesktopUsagePage, hid::kVendorCommandUsage, {0, 0}};
  slot.path = emu_->hid_path(DeviceType::Keyboard, 4);
  ASSERT_TRUE(dev_->open_primary(slot));
  EXPECT_EQ(dev_->slot().path, slot.path);
  EXPECT_EQ(dev_->slot().collection_number, 4);
  EXPECT_EQ(dev_->get_kind(), kKindKeyboard);
  EXPECT_EQ(dev_->get_role(), hid::kInterfaceRolePrimary);
  EXPECT_FALSE(dev_->primary_channel().receiver_mode());
  dev_->close_primary();
  // A mouse reached through its receiver gets the long timeouts and sends no light frames.
  slot.kind = kKindReceiverMouse;
  ASSERT_TRUE(dev_->open_primary(slot));
  EXPECT_TRUE(dev_->primary_channel().receiver_mode());
  EXPECT_EQ(dev_->get_kind(), kKindReceiverMouse);
}

TEST_F(DeviceBase, EventCodesAreDispatchedByGroup) {
  DebugCapture capture;
  dev_->dispatch_device_event(0x0401);
  dev_->dispatch_device_event(0x0402);
  dev_->dispatch_device_event(0x0403);  // not an event of ours
  dev_->dispatch_device_event(0x0517);
  dev_->dispatch_device_event(0x06FF);
  dev_->dispatch_device_event(0x0700);
  EXPECT_EQ(dev_->sync_requests, (std::vector<uint16_t>{0x0401, 0x0402}));
  EXPECT_EQ(dev_->keys, (std::vector<std::pair<uint8_t, int>>{{0x17, kKeyPressed}, {0xFF, kKeyReleased}}));
  EXPECT_EQ(capture.count(kSyncRequestLine), 1);
}

TEST_F(DeviceBase, EventThreadReadsTheConsumerCollectionAndStopsAtOnce) {
  ASSERT_TRUE(dev_->open_secondary(emu_->hid_path(DeviceType::Keyboard, 3)));
  DebugCapture capture;
  ASSERT_TRUE(dev_->start_event_thread());
  ASSERT_TRUE(emu_->press_key(DeviceType::Keyboard, 9));
  ASSERT_TRUE(page_.wait_until([&] { return capture.count(kSyncReportLine) >= 1; }));
  // The thread blocks in a read without timeout: the stop must release it.
  EXPECT_EQ(dev_->stop_event_thread(), WorkerThread::StopOutcome::Ended);
  EXPECT_EQ(dev_->keys, (std::vector<std::pair<uint8_t, int>>{{9, kKeyPressed}}));
  EXPECT_EQ(capture.count(kEventThreadExitLine), 1);
  EXPECT_EQ(capture.count(kThreadTimeoutLine), 0);
}

TEST_F(DeviceBase, FunctionSwitchSelectsPagesByKind) {
  dev_->set_kind_and_role(kKindHeadset, 0);
  dev_->set_function_switch(4);
  EXPECT_EQ(dev_->get_function_switch(), 4);
  EXPECT_EQ(page_.function_pages(), (std::pair<int, int>{0, 2}));
  dev_->set_kind_and_role(kKindKeyboard, 0);
  dev_->set_function_switch(4);
  EXPECT_EQ(page_.function_pages(), (std::pair<int, int>{3, 2}));
}

TEST_F(DeviceBase, BindingWithoutPageFileEmptiesTheLists) {
  dev_->set_key_count(5);
  dev_->bind_page_controls();
  EXPECT_EQ(dev_->led_count(), 0u);
  EXPECT_EQ(dev_->key_count(), 0u);
  dev_->set_led_count(3);
  dev_->set_page_file("XML/DeviceXml/mousedevice.xml");
  dev_->bind_page_controls();
  EXPECT_EQ(page_.last_indicators(), (std::vector<IndicatorColour>(3, {255, 255, 255, 255})));
}

TEST_F(DeviceBase, ColourPairComesFromThePickerWhenThereIsOne) {
  dev_->set_colour_pair(0x112233, 0x445566, 2);
  uint32_t a = 0, b = 0;
  uint8_t sel = 0;
  dev_->get_colour_pair(a, b, sel);  // the page keeps what it was given
  EXPECT_EQ(a, 0x112233u);
  EXPECT_EQ(b, 0x445566u);
  EXPECT_EQ(sel, 2);
  page_.set_picker(7, 8, 1);
  dev_->get_colour_pair(a, b, sel);
  EXPECT_EQ(a, 7u);
  EXPECT_EQ(b, 8u);
  EXPECT_EQ(sel, 1);
}

TEST_F(DeviceBase, BaseEffectsWriteTheFrame) {
  LightInfo l;
  l.light = 4;
  l.red = 9;
  l.green = 8;
  l.blue = 7;
  dev_->set_lighting_state(l);
  dev_->effect_static();
  for (const LedRecord& r : dev_->led_frame()) EXPECT_EQ(r, (LedRecord{9, 8, 7, 255}));
  dev_->effect_off();
  for (const LedRecord& r : dev_->led_frame()) EXPECT_EQ(r, LedRecord{});
  EXPECT_EQ(CMarluneUSBDevice::effect_step(1, 128, 127, 1), 0);
  EXPECT_EQ(CMarluneUSBDevice::effect_step(0, 128, 0, 1), 127);
}

TEST_F(DeviceBase, DataPathsFollowTheModelFolder) {
  SetUserDataRoot(folder_.path() + "/user/");
  dev_->set_model_folder("MousePad");
  EXPECT_EQ(dev_->default_profile_path(), dev_->default_data_folder() + "MousePad.Json");
  std::string user = dev_->user_data_folder();
  EXPECT_EQ(user, folder_.path() + "/user/MousePad/");
  EXPECT_TRUE(std::filesystem::is_directory(user));
  SetUserDataRoot("");
}

}  // namespace
}  // namespace qxr::devices::testing

// The mouse pad: its settings block (pure) and the device against the emulated pad.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "devices/pad/pad_device.h"
#include "profile/data_paths.h"
#include "profile/json_access.h"
#include "profile/json_file.h"
#include "tests/devices_kinds/kinds_fixture.h"
#include "tests/support/wait.h"

namespace qxr::devices::testing {
namespace {

using emu::DeviceType;
using emu::Memory;

TEST(PadSettingsBlock, SpeedIsTurnedOnTheWayInAndOutSoAnUnchangedBlockGoesBackAsRead) {
  std::array<uint8_t, kPadBlockReadSize> read{};
  std::iota(read.begin(), read.end(), uint8_t{100});
  read[kPadBlockSpeed] = 1;  // the device's form of speed 3
  const PadSettingsBlock stored = pad_block_from_read(read, 2);
  EXPECT_EQ(stored[kPadBlockProfile], 2);
  EXPECT_EQ(stored[kPadBlockSpeed], 3);
  EXPECT_EQ(stored[20], read[20]);  // 21 of the 26 bytes are kept
  const PadSettingsBlock sent = pad_block_for_send(stored);
  EXPECT_TRUE(std::equal(sent.begin() + 1, sent.end(), read.begin() + 1));
}

TEST(PadSettingsBlock, LightingGoesIntoItsBytesAndTheDevicesBytesStay) {
  PadSettingsBlock block{};
  block.fill(0xEE);
  LightInfo light;
  light.select_item = 7;
  light.light = 3;
  light.speed = 1;
  light.fx = 9;  // the block holds no direction
  light.multi_color = 1;
  light.red = 1, light.green = 2, light.blue = 3;
  take_light_into_pad_block(block, light);
  const PadSettingsBlock expected = {0xEE, 7, 3, 1, 0xEE, 1, 1, 2, 3, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,
                                     0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
  EXPECT_EQ(block, expected);
  std::array<uint8_t, kPadBlockReadSize> read{};
  std::iota(read.begin(), read.end(), uint8_t{50});
  take_device_bytes(block, read);
  EXPECT_EQ(block[kPadBlockMode], 7);     // lighting kept
  EXPECT_EQ(block[kPadBlockProfile], 0xEE);
  EXPECT_EQ(block[kPadBlockUnused], 54);  // the device's own bytes taken
  EXPECT_EQ(block[9], 59);
  EXPECT_EQ(block[20], 70);
  const LoopLightSettings s = pad_light_settings(block, 1);
  EXPECT_EQ(s.mode, 7);
  EXPECT_EQ(s.speed, 1);
  EXPECT_EQ(s.fx, 1);
  EXPECT_EQ(s.colour, (Rgb{1, 2, 3}));
}

class PadDeviceTest : public KindsTest {
 protected:
  static constexpr size_t kPadLeds = 15;
  void SetUp() override {
    KindsTest::SetUp();
    ASSERT_TRUE(start({DeviceType::Pad}));
    make(nullptr);
  }
  // With a clock, the pad's time is the test's.
  void make(Clock* clock) {
    pad_ = clock ? std::make_unique<CMarluneMousePadDevice>(page_, *clock) : std::make_unique<CMarluneMousePadDevice>(page_);
    pad_->set_profile_id(kTestProfileId);
    pad_->set_led_count(kPadLeds);
    pad_->set_page_file("mousepaddevice.xml");
  }
  void TearDown() override {
    pad_.reset();
    KindsTest::TearDown();
  }
  int connect() {
    if (!pad_->open_primary(path(DeviceType::Pad), false)) return -1000;
    return pad_->connect_now();
  }
  // Opened but not connected: no light thread sends frames behind the test's back.
  bool open_without_light_thread() { return pad_->open_primary(path(DeviceType::Pad), false); }
  // A static colour made into the pad's frame by one step at the test's time.
  void show_still(uint8_t red, uint8_t green) {
    pad_->set_lighting_state(static_colour(pad_->GetLightInfo(), red, green, 0));
    pad_->drain();
    pad_->lighting().step(clock_.now_ms());
  }
  std::vector<uint8_t> written_block() const { return emu_->settings_block(DeviceType::Pad, 0); }

  ManualClock clock_{10'000};  // outlives the pad's threads
  std::unique_ptr<CMarluneMousePadDevice> pad_;
};

TEST_F(PadDeviceTest, ConnectReadsTheInformationAndRunsTheProfilesLighting) {
  ASSERT_EQ(connect(), 1);
  EXPECT_EQ(pad_->device_info()[0], memory(DeviceType::Pad, Memory::kInfo)[0]);
  EXPECT_FALSE(emu_->in_transaction(DeviceType::Pad));
  EXPECT_TRUE(pad_->light_thread_running());
  // The default profile's lighting (spectrum, full brightness, speed 2) drives the block and
  // the model; the profile file now exists in the device folder.
  const PadSettingsBlock block = pad_->settings_block();
  EXPECT_EQ(block[kPadBlockMode], 1);
  EXPECT_EQ(block[kPadBlockLight], 4);
  EXPECT_EQ(block[kPadBlockSpeed], 2);
  EXPECT_EQ(pad_->lighting().current_effect(), LoopEffect::Spectrum);
  EXPECT_FALSE(ReadJsonFile(pad_->profile_path()).isNull());
  ASSERT_TRUE(page_.last_light_info().has_value());
  EXPECT_EQ(page_.last_light_info()->select_item, 1);
}

TEST_F(PadDeviceTest, ReadThenWriteSendsTheBytesRead) {
  ASSERT_EQ(connect(), 1);
  // The pad's own block for profile 0, with something in every byte the program keeps.
  std::vector<uint8_t> own(kPadBlockSize);
  std::iota(own.begin(), own.end(), uint8_t{1});
  own[kPadBlockProfile] = 0;  // the pad's active-profile byte: profile 0
  own[kPadBlockSpeed] = 4;    // speed 0 as the user sees it
  ASSERT_TRUE(emu_->poke(DeviceType::Pad, Memory::kParams, 0, own));
  int profile = -1;
  ASSERT_EQ(pad_->refresh_from_device_now(&profile), 1);
  EXPECT_EQ(profile, 0);
  EXPECT_EQ(pad_->settings_block()[kPadBlockSpeed], 0);
  ASSERT_EQ(pad_->write_settings_now(), 1);
  EXPECT_EQ(written_block(), own);
  EXPECT_FALSE(emu_->in_transaction(DeviceType::Pad));
}

TEST_F(PadDeviceTest, RefreshTellsTheOwnerTheOnboardProfileAndLeavesTheLightingRecord) {
  ASSERT_EQ(connect(), 1);
  const LightInfo before = pad_->GetLightInfo();
  ASSERT_TRUE(emu_->set_active_profile(DeviceType::Pad, 2, false));
  ASSERT_TRUE(emu_->poke(DeviceType::Pad, Memory::kParams, 2 * kPadBlockReadStride + kPadBlockMode, {7}));
  int profile = -1;
  ASSERT_EQ(pad_->refresh_from_device_now(&profile), 1);
  EXPECT_EQ(profile, 2);
  const auto messages = page_.owner_messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back().message, kMsgOnboardProfile);
  EXPECT_EQ(messages.back().first, 2);
  EXPECT_EQ(pad_->GetLightInfo(), before);
  // The light thread runs what the pad reported: mode 7 is the pair effect.
  EXPECT_EQ(pad_->lighting().current_effect(), LoopEffect::Pairs);
}

TEST_F(PadDeviceTest, TheFirstWriteKeepsThePadsOwnBytesItNeverRead) {
  // Everything after the active-profile byte at address 0.
  std::vector<uint8_t> own(kPadBlockSize - 1, 0x5A);
  ASSERT_TRUE(emu_->poke(DeviceType::Pad, Memory::kParams, 1, own));
  ASSERT_EQ(connect(), 1);
  LightInfo light = pad_->GetLightInfo();
  light.select_item = 6;
  light.speed = 1;
  light.red = 9;
  pad_->set_lighting_state(light);
  pad_->drain();
  ASSERT_EQ(pad_->write_settings_now(), 1);
  const std::vector<uint8_t> written = written_block();
  EXPECT_EQ(written[kPadBlockMode], 6);
  EXPECT_EQ(written[kPadBlockSpeed], 3);  // speed 1 travels as 4 - 1
  EXPECT_EQ(written[kPadBlockRed], 9);
  EXPECT_EQ(written[kPadBlockUnused], 0x5A);
  for (size_t i = kPadBlockDeviceOwned; i < kPadBlockSize; ++i) EXPECT_EQ(written[i], 0x5A) << i;
  // The profile file holds the panel's record.
  EXPECT_EQ(ToInt(ReadJsonFile(pad_->profile_path())["Device"][0]["LightInfo"]["SelectItem"]), 6);
}

TEST_F(PadDeviceTest, ClosedChannelAndRefusedWritesAreNotReportedAsSent) {
  EXPECT_EQ(pad_->write_settings_now(), 0);
  ASSERT_EQ(connect(), 1);
  ASSERT_EQ(pad_->refresh_from_device_now(nullptr), 1);
  emu_->set_fault(DeviceType::Pad, emu::FaultMode::kStatusFF, 0);
  EXPECT_EQ(pad_->write_settings_now(), protocol::kResultStatusFF);
  emu_->clear_faults(DeviceType::Pad);
  // A failed read keeps the block as it was.
  const PadSettingsBlock kept = pad_->settings_block();
  emu_->set_fault(DeviceType::Pad, emu::FaultMode::kStatusFE, 0);
  EXPECT_EQ(pad_->refresh_from_device_now(nullptr), protocol::kResultStatusFE);
  EXPECT_EQ(pad_->settings_block(), kept);
}

TEST_F(PadDeviceTest, StatusReachesThePowerPanelAndTheOwner) {
  ASSERT_EQ(connect(), 1);
  emu_->set_battery(DeviceType::Pad, 73, 1);
  emu_->set_phone_type(DeviceType::Pad, 2);
  ASSERT_EQ(pad_->read_device_status_now(), 1);
  const auto status = page_.power_status();
  ASSERT_TRUE(status.has_value());
  EXPECT_EQ((*status)[0], 73);
  EXPECT_EQ((*status)[1], 1);
  EXPECT_EQ((*status)[3], 0);  // wired, not through a receiver
  EXPECT_EQ((*status)[5], 2);
  EXPECT_EQ(page_.owner_messages().back().message, kMsgDeviceStatus);
}

TEST_F(PadDeviceTest, LightFramesShowOnThePageAndReachThePad) {
  ASSERT_TRUE(open_without_light_thread());
  pad_->set_lighting_state(static_colour(pad_->GetLightInfo(), 200, 100, 0));
  pad_->drain();
  pad_->lighting().step(0);
  pad_->send_light_frame_now();
  const auto shown = page_.last_indicators();
  ASSERT_EQ(shown.size(), kPadLeds);
  EXPECT_EQ(shown[14], (IndicatorColour{200, 100, 0, 255}));
  const std::vector<uint8_t> frame = memory(DeviceType::Pad, Memory::kLightFrame);
  ASSERT_EQ(frame.size(), kPadLeds * 3);
  EXPECT_EQ(frame[14 * 3], 199);  // 200 x 255 >> 8
  EXPECT_EQ(frame[14 * 3 + 1], 99);

  // With host lighting off nothing is shown or sent.
  const int shows = page_.count("show_indicators");
  const uint32_t frames = emu_->counters(DeviceType::Pad).light_frames;
  pad_->set_host_lighting(false);
  pad_->send_light_frame_now();
  EXPECT_EQ(page_.count("show_indicators"), shows);
  EXPECT_EQ(emu_->counters(DeviceType::Pad).light_frames, frames);
}

TEST_F(PadDeviceTest, TheLightThreadSendsEachNewFrameWithoutWaitingForTheTimer) {
  // Nobody calls send_light_frame here: the light thread's frames must reach the pad alone.
  ASSERT_EQ(connect(), 1);
  auto led14_red = [&] {
    const std::vector<uint8_t> frame = memory(DeviceType::Pad, Memory::kLightFrame);
    return frame.size() == kPadLeds * 3 ? int{frame[14 * 3]} : -1;
  };
  for (uint8_t red : {200, 40}) {
    pad_->set_lighting_state(static_colour(pad_->GetLightInfo(), red, 100, 0));
    EXPECT_TRUE(qxr::testing::wait_until([&] { return led14_red() == ((red * 255) >> 8); })) << int{red};
  }
  // A page shown again gets the still frame at once, not at the page timer's next tick.
  const int shown = page_.count("show_indicators");
  pad_->request_light_frame();
  pad_->drain();
  EXPECT_EQ(page_.count("show_indicators"), shown + 1);
}

TEST_F(PadDeviceTest, AnUnchangedFrameGoesAgainOnlyAfterAFailureAReconnectionOrTwoSeconds) {
  make(&clock_);
  ASSERT_TRUE(open_without_light_thread());
  auto show = [&](uint8_t red) { show_still(red, 100); };
  auto frames = [&] { return emu_->counters(DeviceType::Pad).light_frames; };
  show(200);
  const uint32_t first = frames();
  pad_->send_light_frame_now();
  EXPECT_EQ(frames(), first + 1);
  pad_->send_light_frame_now();
  clock_.advance(kFrameRefreshMs - 1);
  pad_->send_light_frame_now();
  EXPECT_EQ(frames(), first + 1);  // the pad shows it already
  // The page is told every time all the same.
  EXPECT_EQ(page_.last_indicators()[0], (IndicatorColour{200, 100, 0, 255}));

  clock_.advance(1);
  pad_->send_light_frame_now();
  EXPECT_EQ(frames(), first + 2);  // refreshed after two seconds

  // A frame the pad refused goes again, once the pause after a failure is over.
  show(50);
  emu_->set_fault(DeviceType::Pad, emu::FaultMode::kStatusFF, 1);
  pad_->send_light_frame_now();
  EXPECT_EQ(frames(), first + 2);
  clock_.advance(kFailurePauseMs);
  pad_->send_light_frame_now();
  EXPECT_EQ(frames(), first + 3);
  EXPECT_EQ(memory(DeviceType::Pad, Memory::kLightFrame)[0], 49);  // 50 x 255 >> 8
  pad_->send_light_frame_now();
  EXPECT_EQ(frames(), first + 3);

  // After a reconnection the pad may have forgotten it.
  pad_->close_primary();
  ASSERT_TRUE(pad_->open_primary(path(DeviceType::Pad), false));
  pad_->send_light_frame_now();
  EXPECT_EQ(frames(), first + 4);
  // And so when it ran its own lighting meanwhile.
  pad_->set_host_lighting(false);
  pad_->set_host_lighting(true);
  pad_->send_light_frame_now();
  EXPECT_EQ(frames(), first + 5);
}

TEST_F(PadDeviceTest, AStillFrameIsPostedAgainOnlyWhenOwedOrAfterTwoSeconds) {
  make(&clock_);
  ASSERT_TRUE(open_without_light_thread());
  show_still(10, 0);
  auto made = [&] {
    pad_->send_light_frame();
    pad_->drain();
    return page_.count("show_indicators");
  };
  const int first = made();
  EXPECT_EQ(made(), first);
  EXPECT_EQ(made(), first);
  pad_->request_light_frame();  // a page shown again
  EXPECT_EQ(made(), first + 1);
  clock_.advance(kFrameRefreshMs);
  EXPECT_EQ(made(), first + 2);
  pad_->lighting().step(clock_.now_ms());  // a new frame, even if it looks the same
  EXPECT_EQ(made(), first + 3);
  EXPECT_EQ(emu_->counters(DeviceType::Pad).light_frames, 2u);  // the first, and the refresh
  // A frame the pad refused is owed: the next tick after the pause posts it again.
  emu_->set_fault(DeviceType::Pad, emu::FaultMode::kStatusFF, 1);
  clock_.advance(kFrameRefreshMs);
  EXPECT_EQ(made(), first + 4);
  EXPECT_EQ(made(), first + 5);  // held back by the pause, still owed
  clock_.advance(kFailurePauseMs);
  EXPECT_EQ(made(), first + 6);
  EXPECT_EQ(made(), first + 6);
  EXPECT_EQ(emu_->counters(DeviceType::Pad).light_frames, 3u);
}

TEST_F(PadDeviceTest, TheTimersRefreshReachesThePadWithinTwoSecondsOfItsLastSend) {
  make(&clock_);
  ASSERT_TRUE(open_without_light_thread());
  show_still(10, 0);
  auto frames = [&] { return emu_->counters(DeviceType::Pad).light_frames; };
  auto tick = [&](uint64_t ms) {
    clock_.advance(ms);
    pad_->send_light_frame();
    pad_->drain();
    return frames();
  };
  pad_->send_light_frame();
  clock_.advance(5);  // the executor sends it a little after its post
  pad_->drain();
  const uint32_t first = frames();
  EXPECT_EQ(tick(kStillFrameCheckMs - 10), first);
  EXPECT_EQ(tick(kStillFrameCheckMs), first + 1);  // 1790 ms after the send, not held back
  EXPECT_EQ(tick(kStillFrameCheckMs), first + 1);  // a tick chain refreshes every second tick
  EXPECT_EQ(tick(kStillFrameCheckMs), first + 2);
}

TEST_F(PadDeviceTest, APageWithoutItsFileHasNoLedsAndStreamsNothing) {
  pad_->set_page_file("");
  pad_->bind_page_controls();
  EXPECT_EQ(pad_->led_count(), 0u);
  ASSERT_EQ(connect(), 1);
  pad_->lighting().step(0);
  pad_->send_light_frame_now();
  EXPECT_TRUE(page_.last_indicators().empty());
  EXPECT_EQ(emu_->counters(DeviceType::Pad).light_frames, 0u);
}

TEST_F(PadDeviceTest, SyncEventAsksTheOwnerToReadAgainIn500Ms) {
  ASSERT_EQ(connect(), 1);
  ASSERT_TRUE(pad_->StartSyncThread(path(DeviceType::Pad, kConsumerCollection)));
  ASSERT_TRUE(emu_->settings_changed(DeviceType::Pad, kEventSyncRequest));
  ASSERT_TRUE(page_.wait_until([&] { return !page_.refresh_requests().empty(); }));
  EXPECT_EQ(page_.refresh_requests().front(), kLoopSyncRefreshDelayMs);
  pad_->on_disconnected();
  EXPECT_FALSE(pad_->light_thread_running());
}

}  // namespace
}  // namespace qxr::devices::testing

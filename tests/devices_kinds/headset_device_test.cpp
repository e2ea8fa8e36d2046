// The headset: its LED output reports, the lighting half against the emulated headset, and the
// audio half reached through the device on the emulated chip.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "devices/audio/emulated_audio_chip.h"
#include "devices/audio/headset_audio.h"
#include "devices/audio/property_names.h"
#include "devices/headset/headset_device.h"
#include "profile/json_access.h"
#include "profile/json_file.h"
#include "tests/devices_kinds/kinds_fixture.h"

namespace qxr::devices::testing {
namespace {

using emu::DeviceType;
using emu::Memory;
using lighting::LedRecord;

constexpr DeviceType kHeadset = DeviceType::Headset;
constexpr int kHeadsetCollection = 0;  // the headset's one interface has one collection
constexpr size_t kRgb = 3;

TEST(HeadsetLedReports, TwelveReportsInTheirOrderWithEveryComponentCapped) {
  std::array<LedRecord, kHeadsetLedCount> frame{};
  for (uint8_t i = 0; i < kHeadsetLedCount; ++i) frame[i] = {static_cast<uint8_t>(10 + i), static_cast<uint8_t>(100 + i), 255, 128};
  frame[12] = {255, 250, 248, 255};  // above the cap after scaling
  const auto reports = build_headset_led_reports(frame);
  const uint8_t order[][2] = {{0x22, 0xAA}, {0x22, 0xAD}, {0x44, 0xAA}, {0x44, 0xAD}, {0x22, 0xAB}, {0x22, 0xAE},
                              {0x44, 0xAB}, {0x44, 0xAE}, {0x22, 0xAC}, {0x22, 0xAF}, {0x44, 0xAC}, {0x44, 0xAF}};
  for (size_t n = 0; n < reports.size(); ++n) {
    EXPECT_EQ(reports[n][0], 0xFF) << n;
    EXPECT_EQ(reports[n][1], order[n][0]) << n;
    EXPECT_EQ(reports[n][2], order[n][1]) << n;
    EXPECT_EQ(reports[n][3], 0) << n;
    EXPECT_TRUE(std::all_of(reports[n].begin() + 11, reports[n].end(), [](uint8_t b) { return b == 0; })) << n;
  }
  // Red of LEDs 0-6 at half brightness: (10 + i) x 128 >> 8.
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(reports[0][4 + i], (10 + i) / 2) << i;
  // Green of LEDs 7-12 on side 0x44: six values, the seventh place empty.
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(reports[7][4 + i], (107 + i) / 2) << i;
  EXPECT_EQ(reports[7][4 + 5], 247);  // 250 x 255 >> 8 = 249, capped
  EXPECT_EQ(reports[7][4 + 6], 0);
  EXPECT_EQ(reports[1][4 + 5], 247);  // red 255 -> 254 -> 247
  EXPECT_EQ(reports[9][4 + 5], 247);  // blue 248 -> 247
  EXPECT_EQ(reports[8][4], 127);      // blue 255 at half brightness
}

TEST(HeadsetLedReports, AShortFrameLeavesTheMissingLedsDark) {
  std::array<LedRecord, 3> frame{};
  frame.fill({200, 200, 200, 255});
  const auto reports = build_headset_led_reports(frame);
  EXPECT_EQ(reports[0][4 + 2], 199);
  EXPECT_EQ(reports[0][4 + 3], 0);
  EXPECT_EQ(reports[1][4], 0);
}

class HeadsetDeviceTest : public KindsTest {
 protected:
  static constexpr size_t kHeadsetLeds = 13;
  void SetUp() override {
    KindsTest::SetUp();
    ASSERT_TRUE(start({kHeadset}));
  }
  void make(audio::EmulatedChipConfig config = audio::default_chip_config(), Clock& clock = system_clock()) {
    auto chip = std::make_unique<audio::EmulatedAudioChip>(std::move(config));
    chip_ = chip.get();
    headset_ = std::make_unique<CMarluneZO6533Device>(page_, audio_page_, std::move(chip), clock);
    headset_->set_profile_id(kTestProfileId);
    headset_->set_led_count(kHeadsetLeds);
    headset_->set_page_file("zo6533device.xml");
  }
  void TearDown() override {
    headset_.reset();
    KindsTest::TearDown();
  }
  int connect() {
    if (!headset_->open_primary(path(kHeadset, kHeadsetCollection), false)) return -1000;
    return headset_->connect_now();
  }
  Json::Value stored_device() const { return ReadJsonFile(headset_->profile_path())["Device"][0]; }

  ManualClock clock_{10'000};  // outlives the headset's threads
  RecordingAudioPage audio_page_;
  audio::EmulatedAudioChip* chip_ = nullptr;
  std::unique_ptr<CMarluneZO6533Device> headset_;
};

TEST_F(HeadsetDeviceTest, FramesReachTheChipAsTwelveAcceptedReportsForBothSides) {
  make();
  // Opened but not connected: no light thread sends frames behind the test's back.
  ASSERT_TRUE(headset_->open_primary(path(kHeadset, kHeadsetCollection), false));
  headset_->set_lighting_state(static_colour(headset_->GetLightInfo(), 255, 100, 0));
  headset_->drain();
  headset_->lighting().step(0);
  emu_->reset_counters(kHeadset);
  headset_->send_light_frame_now();
  EXPECT_EQ(headset_->last_reports_sent(), kHeadsetReportsPerFrame);
  ASSERT_TRUE(page_.wait_until([&] { return emu_->counters(kHeadset).led_reports >= kHeadsetReportsPerFrame; }));
  EXPECT_EQ(emu_->counters(kHeadset).led_reports, kHeadsetReportsPerFrame);
  EXPECT_EQ(emu_->counters(kHeadset).led_reports_refused, 0u);
  const std::vector<uint8_t> leds = memory(kHeadset, Memory::kHeadsetLeds);
  ASSERT_EQ(leds.size(), 2 * kHeadsetLedCount * kRgb);
  for (size_t side = 0; side < 2; ++side) {
    for (size_t i = 0; i < kHeadsetLedCount; ++i) {
      const size_t at = (side * kHeadsetLedCount + i) * kRgb;
      EXPECT_EQ(leds[at], 247) << side << "/" << i;  // 254 capped
      EXPECT_EQ(leds[at + 1], 99) << side << "/" << i;
      EXPECT_EQ(leds[at + 2], 0) << side << "/" << i;
    }
  }
  // The frames go outside the command channel: no light stream command.
  EXPECT_EQ(emu_->exchanges(kHeadset, protocol::CMD_LIGHT_STREAM), 0u);
}

TEST_F(HeadsetDeviceTest, OnlyTheReportsThatChangedGoAgainUntilAReconnectionOrARefresh) {
  make(audio::default_chip_config(), clock_);
  // Opened but not connected: no light thread sends frames behind the test's back.
  ASSERT_TRUE(headset_->open_primary(path(kHeadset, kHeadsetCollection), false));
  auto show = [&](uint8_t red) {
    headset_->set_lighting_state(static_colour(headset_->GetLightInfo(), red, 100, 0));
    headset_->drain();
    headset_->lighting().step(0);
  };
  auto reports = [&] { return emu_->counters(kHeadset).led_reports; };
  show(255);
  const uint32_t first = reports();
  headset_->send_light_frame_now();
  EXPECT_EQ(headset_->last_reports_sent(), kHeadsetReportsPerFrame);
  headset_->send_light_frame_now();
  EXPECT_EQ(headset_->last_reports_sent(), 0u);
  // A new red: the four red reports (both halves of both sides), nothing else.
  show(120);
  headset_->send_light_frame_now();
  EXPECT_EQ(headset_->last_reports_sent(), 4u);
  ASSERT_TRUE(page_.wait_until([&] { return reports() >= first + kHeadsetReportsPerFrame + 4; }));
  EXPECT_EQ(reports(), first + kHeadsetReportsPerFrame + 4);
  EXPECT_EQ(memory(kHeadset, Memory::kHeadsetLeds)[0], 119);  // 120 x 255 >> 8
  EXPECT_EQ(memory(kHeadset, Memory::kHeadsetLeds)[kHeadsetLedCount * kRgb], 119);
  // A new connection gets the whole frame.
  headset_->close_primary();
  ASSERT_TRUE(headset_->open_primary(path(kHeadset, kHeadsetCollection), false));
  headset_->send_light_frame_now();
  EXPECT_EQ(headset_->last_reports_sent(), kHeadsetReportsPerFrame);
  // The page timer's refresh of the still frame sends them all again.
  auto offer = [&] {
    headset_->send_light_frame();
    headset_->drain();
    return headset_->last_reports_sent();
  };
  EXPECT_EQ(offer(), 0u);
  clock_.advance(kFrameRefreshMs - kStillFrameCheckMs);
  EXPECT_EQ(offer(), kHeadsetReportsPerFrame);
}

TEST_F(HeadsetDeviceTest, ReadThenWriteSendsTheBytesRead) {
  make();
  ASSERT_EQ(connect(), 1);
  std::vector<uint8_t> own(kPadBlockSize);
  std::iota(own.begin(), own.end(), uint8_t{30});
  own[kPadBlockProfile] = 0;
  own[kPadBlockSpeed] = 1;
  ASSERT_TRUE(emu_->poke(kHeadset, Memory::kParams, 0, own));
  ASSERT_EQ(headset_->refresh_from_device_now(nullptr), 1);
  EXPECT_EQ(headset_->settings_block()[kPadBlockSpeed], 3);
  ASSERT_EQ(headset_->write_settings_now(), 1);
  EXPECT_EQ(emu_->settings_block(kHeadset, 0), own);
  EXPECT_EQ(page_.owner_messages().back().message, kMsgOnboardProfile);
}

TEST_F(HeadsetDeviceTest, ConnectChoosesTheChipsEndpointsAndShowsItsLevels) {
  make();
  headset_->bind_page_controls();
  headset_->drain();  // the owner connects later, on the same executor
  ASSERT_EQ(connect(), 1);
  headset_->drain();
  ASSERT_TRUE(headset_->audio().capture_endpoint().has_value());
  ASSERT_TRUE(headset_->audio().render_endpoint().has_value());
  EXPECT_EQ(headset_->audio().render_endpoint()->info.type, audio::ENDPOINT_HEADPHONES);
  EXPECT_TRUE(audio_page_.messages().empty());
  // The chip's microphone level (60 %) and unmuted state reach the panel and the profile.
  EXPECT_EQ(audio_page_.mic_slider(), 60);
  EXPECT_TRUE(audio_page_.mic_switch());
  EXPECT_EQ(headset_->audio().stages().mic_in_value, 60);
  // The profile's equaliser (flat, type 5) is shown.
  EXPECT_EQ(audio_page_.preset(), 5);
}

TEST_F(HeadsetDeviceTest, EditorOperationsReachTheChipAndTheSavedProfile) {
  make();
  ASSERT_EQ(connect(), 1);
  headset_->ApplyEqPreset(1);
  headset_->SelectVoice(0);
  headset_->SelectVoice(2);
  headset_->drain();
  EXPECT_EQ(chip_->stored(std::string(audio::PROP_ENABLE_EQ)), 1);
  EXPECT_EQ(chip_->stored("EQ_Slider1"), 7);
  EXPECT_EQ(chip_->stored("EQ_Slider10"), 5);
  EXPECT_EQ(chip_->stored(std::string(audio::PROP_MAGICVOICE_SELECTION)), 1);
  EXPECT_EQ(chip_->accesses_of(audio::PROP_MAGICVOICE_SELECTION, audio::PROPERTY_WRITE).size(), 1u);
  const Json::Value stages = stored_device()["SystemSetStages"];
  EXPECT_EQ(ToInt(stages["EqType"]), 1);
  EXPECT_EQ(ToInt(stages["MagicType"]), 2);
  // Lighting kept in the same file is untouched by the audio edits.
  EXPECT_FALSE(stored_device()["LightInfo"].isNull());
}

TEST_F(HeadsetDeviceTest, TheFlatPresetZeroesEveryBandAndStillEnablesTheEqualiser) {
  make();
  ASSERT_EQ(connect(), 1);
  headset_->ApplyEqPreset(2);
  headset_->drain();
  chip_->clear_accesses();
  headset_->ApplyEqPreset(5);
  headset_->drain();
  EXPECT_EQ(chip_->stored(std::string(audio::PROP_ENABLE_EQ)), 1);
  EXPECT_EQ(chip_->accesses_of(audio::PROP_ENABLE_EQ, audio::PROPERTY_WRITE).size(), 1u);
  for (int band = 1; band <= 10; ++band) EXPECT_EQ(chip_->stored("EQ_Slider" + std::to_string(band)), 0) << band;
  EXPECT_EQ(ToInt(stored_device()["SystemSetStages"]["EqType"]), 5);
}

TEST_F(HeadsetDeviceTest, AFailedMuteWriteLeavesTheSavedProfileAlone) {
  make();
  ASSERT_EQ(connect(), 1);
  headset_->drain();
  const int before = ToInt(stored_device()["SystemSetStages"]["MicInSelect"]);
  ASSERT_EQ(before, 1);  // the chip's microphone is on
  chip_->fail_property(std::string(audio::PROP_MUTE), audio::PROPERTY_WRITE);
  headset_->ToggleMicMute();
  headset_->drain();
  EXPECT_EQ(ToInt(stored_device()["SystemSetStages"]["MicInSelect"]), before);
  EXPECT_TRUE(audio_page_.mic_switch());
  chip_->clear_failures();
  headset_->ToggleMicMute();
  headset_->drain();
  EXPECT_EQ(ToInt(stored_device()["SystemSetStages"]["MicInSelect"]), 0);
  EXPECT_EQ(chip_->stored(std::string(audio::PROP_MUTE)), 1);
}

TEST_F(HeadsetDeviceTest, CustomEqualisersSaveOnceByNameIgnoringCase) {
  make();
  ASSERT_EQ(connect(), 1);
  std::vector<int> results;
  std::mutex m;
  auto keep = [&](int r) {
    std::lock_guard lock(m);
    results.push_back(r);
  };
  headset_->SetEqBand(0, 4);
  headset_->SaveCustomEq("Rock", keep);
  headset_->SaveCustomEq("rOCK", keep);
  headset_->drain();
  EXPECT_EQ(results, (std::vector<int>{audio::SAVE_EQ_OK, audio::SAVE_EQ_DUPLICATE}));
  const Json::Value device = stored_device();
  ASSERT_EQ(device["CustomEQNameInfo"].size(), 1u);
  EXPECT_EQ(device["CustomEQNameInfo"][0]["Name"].asString(), "Rock");
  EXPECT_EQ(ToInt(device["CustomEQHzValueInfo"][0][0]["value"]), 4);
  EXPECT_EQ(audio_page_.names(), (std::vector<std::string>{"Rock"}));
}

bool has(const std::vector<std::string>& messages, std::string_view text) {
  return std::find(messages.begin(), messages.end(), std::string(text)) != messages.end();
}

TEST_F(HeadsetDeviceTest, LibraryInitFailureReachesTheAudioPage) {
  audio::EmulatedChipConfig config = audio::default_chip_config();
  config.init_result = audio::CONF_ERR_IO;
  make(std::move(config));
  headset_->bind_page_controls();
  headset_->drain();
  EXPECT_TRUE(has(audio_page_.messages(), audio::MSG_CONF_LIB_INIT_FAILED));
}

TEST_F(HeadsetDeviceTest, AShortFeatureListReachesTheAudioPage) {
  audio::EmulatedChipConfig config = audio::default_chip_config();
  config.recording[0].features = "1,2,3";  // the microphone of the chip
  make(std::move(config));
  headset_->bind_page_controls();
  headset_->drain();
  EXPECT_TRUE(has(audio_page_.messages(), audio::MSG_APO_UNAVAILABLE));
  EXPECT_FALSE(has(audio_page_.messages(), audio::MSG_CONF_LIB_INIT_FAILED));
}

TEST_F(HeadsetDeviceTest, ConnectWithoutABoundPageInitialisesTheLibraryAndEachArrivalChoosesEndpoints) {
  make();
  ASSERT_EQ(connect(), 1);
  headset_->drain();
  EXPECT_TRUE(headset_->audio().capture_endpoint().has_value());
  ASSERT_EQ(headset_->connect_now(), 1);  // a second arrival only chooses the endpoints again
  EXPECT_EQ(chip_->accesses_of(audio::PROP_SUPPORT_FEATURE).size(), 4u);
}

}  // namespace
}  // namespace qxr::devices::testing

#include <gtest/gtest.h>

#include <array>

#include "devices/audio/emulated_audio_chip.h"
#include "devices/audio/endpoint_selection.h"
#include "devices/audio/property_io.h"
#include "devices/audio/property_names.h"
#include "devices/audio/property_text.h"

using namespace qxr::audio;

namespace {

class EmulatedChipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(chip.ConfLibInit(), CONF_OK);
    ASSERT_EQ(chip.CreateDeviceList(), CONF_OK);
    render = *select_render_endpoint(list_endpoints(chip, FLOW_PLAYBACK));
    capture = *select_capture_endpoint(list_endpoints(chip, FLOW_RECORDING));
  }

  EmulatedAudioChip chip;
  PropertyIo io{chip};
  AudioDeviceInfo render;
  AudioDeviceInfo capture;
  static constexpr std::array<int32_t, 1> kMic{EXTRA_MIC_CHANNEL};
  static constexpr std::array<int32_t, 1> kMonitor{EXTRA_MONITOR_CHANNEL};
};

}  // namespace

TEST_F(EmulatedChipTest, ListsItsEndpointsBesideForeignOnes) {
  int count = -1;
  ASSERT_EQ(chip.GetDeviceCount(FLOW_PLAYBACK, &count), CONF_OK);
  EXPECT_EQ(count, 2);
  ASSERT_EQ(chip.GetDeviceCount(FLOW_RECORDING, &count), CONF_OK);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(render.type, ENDPOINT_HEADPHONES);
  EXPECT_EQ(capture.type, ENDPOINT_MICROPHONE);
  AudioDeviceInfo foreign;
  ASSERT_EQ(chip.GetDeviceById(FLOW_PLAYBACK, 0, &foreign), CONF_OK);
  EXPECT_EQ(io.read_text(foreign, PROP_SUPPORT_FEATURE), std::nullopt);
  EXPECT_EQ(chip.GetDeviceById(FLOW_PLAYBACK, 2, &foreign), CONF_ERR_INVALID_ARGUMENT);
  EXPECT_EQ(chip.GetDeviceById(FLOW_PLAYBACK, -1, &foreign), CONF_ERR_INVALID_ARGUMENT);
  EXPECT_EQ(chip.GetDeviceCount(7, &count), CONF_ERR_INVALID_ARGUMENT);
  EXPECT_EQ(chip.GetDeviceCount(FLOW_PLAYBACK, nullptr), CONF_ERR_INVALID_ARGUMENT);
}

TEST_F(EmulatedChipTest, FeatureListCarriesTheVoiceChangerBit) {
  const auto text = io.read_text(capture, PROP_SUPPORT_FEATURE);
  ASSERT_TRUE(text);
  const auto items = split_items(*text);
  ASSERT_GE(items.size(), SUPPORT_FEATURE_ITEMS);
  EXPECT_TRUE(*parse_integer_item(items[0]) & FEATURE_VOICE_CHANGER);
}

TEST_F(EmulatedChipTest, LevelsReadInDbAndScalar) {
  EXPECT_DOUBLE_EQ(*io.read_number(capture, PROP_MAX_VOL), 30.0);
  EXPECT_DOUBLE_EQ(*io.read_number(capture, PROP_MIN_VOL), -12.0);
  EXPECT_DOUBLE_EQ(*io.read_number(capture, PROP_VOL_STEP), 0.5);
  EXPECT_DOUBLE_EQ(*io.read_number(capture, PROP_VOLUME_SCALAR, kMic), 0.6);
  // -12 + 0.6 * 42 = 13.2, snapped to the 0.5 dB step.
  EXPECT_DOUBLE_EQ(*io.read_number(capture, PROP_VOLUME, kMic), 13.0);
  ASSERT_TRUE(io.write_float(capture, PROP_VOLUME_SCALAR, 0.25f, kMic));
  EXPECT_DOUBLE_EQ(*io.read_number(capture, PROP_VOLUME, kMic), -1.5);
  ASSERT_TRUE(io.write_int(capture, PROP_VOLUME, 0, kMic));
  EXPECT_DOUBLE_EQ(*io.read_number(capture, PROP_VOLUME, kMic), 0.0);
  EXPECT_NEAR(chip.level_scalar(ChipChannel::Mic), 12.0 / 42.0, 1e-9);
  // The monitoring level is a channel of its own.
  EXPECT_DOUBLE_EQ(*io.read_number(capture, PROP_AA_VOLUME_SCALAR, kMonitor), 0.5);
}

TEST_F(EmulatedChipTest, LevelsInsistOnTheirChannelInTheExtraBuffer) {
  EXPECT_FALSE(io.read_number(capture, PROP_VOLUME));
  EXPECT_FALSE(io.read_number(capture, PROP_VOLUME, kMonitor));
  EXPECT_FALSE(io.write_float(capture, PROP_AA_VOLUME_SCALAR, 0.5f, kMic));
  EXPECT_EQ(chip.accesses().back().result, CONF_ERR_INVALID_ARGUMENT);
  constexpr std::array<int32_t, 3> surround{SURROUND_HP_ENABLE_SELECTOR, SURROUND_ALL_CHANNELS,
                                            SURROUND_RESERVED};
  EXPECT_FALSE(io.write_int(render, PROP_SURROUND, 1));
  EXPECT_TRUE(io.write_int(render, PROP_SURROUND, 1, surround));
  EXPECT_EQ(*io.read_number(render, PROP_SURROUND, surround), 1.0);
}

TEST_F(EmulatedChipTest, ScalarWritesOutsideTheUnitRangeAreRefused) {
  EXPECT_FALSE(io.write_float(capture, PROP_VOLUME_SCALAR, 1.5f, kMic));
  EXPECT_FALSE(io.write_float(capture, PROP_VOLUME_SCALAR, -0.1f, kMic));
  EXPECT_DOUBLE_EQ(chip.level_scalar(ChipChannel::Mic), 0.6);
}

TEST_F(EmulatedChipTest, FreshPropertiesAreUnsetUntilWritten) {
  EXPECT_FALSE(io.read_number(render, PROP_ENABLE_EQ));
  EXPECT_EQ(chip.accesses().back().result, CONF_ERR_NOT_SET);
  ASSERT_TRUE(io.write_int(render, PROP_ENABLE_EQ, 1));
  EXPECT_EQ(*io.read_number(render, PROP_ENABLE_EQ), 1.0);
  ASSERT_TRUE(io.write_int(render, eq_slider_property(9), -13));
  EXPECT_EQ(*io.read_number(render, "EQ_Slider10"), -13.0);
  EXPECT_EQ(chip.stored("EQ_Slider10"), -13);
}

TEST_F(EmulatedChipTest, ValuesOutsideAPropertysRangeAreRefused) {
  EXPECT_FALSE(io.write_int(capture, PROP_MUTE, 2));
  EXPECT_FALSE(io.write_int(capture, PROP_MAGICVOICE_SELECTION, 4));
  EXPECT_TRUE(io.write_int(capture, PROP_MAGICVOICE_SELECTION, 3));
  EXPECT_FALSE(io.write_int(render, "EQ_Slider1", CHIP_EQ_GAIN_MAX + 1));
  EXPECT_FALSE(io.write_int(capture, PROP_MAX_VOL, 3));
}

TEST_F(EmulatedChipTest, PropertiesLiveOnTheirOwnFlow) {
  EXPECT_FALSE(io.write_int(capture, "EQ_Slider1", 0));
  EXPECT_FALSE(io.write_int(render, PROP_MUTE, 1));
  EXPECT_FALSE(io.read_text(capture, "NoSuchProperty"));
  EXPECT_EQ(chip.accesses().back().result, CONF_ERR_UNSUPPORTED);
}

TEST_F(EmulatedChipTest, InjectedFailuresHitOneDirection) {
  chip.fail_property(std::string(PROP_MUTE), PROPERTY_WRITE);
  EXPECT_FALSE(io.write_int(capture, PROP_MUTE, 1));
  EXPECT_EQ(chip.stored(std::string(PROP_MUTE)), 0);
  EXPECT_TRUE(io.read_number(capture, PROP_MUTE));
  chip.clear_failures();
  EXPECT_TRUE(io.write_int(capture, PROP_MUTE, 1));
  EXPECT_EQ(chip.stored(std::string(PROP_MUTE)), 1);
}

TEST_F(EmulatedChipTest, WithoutMonitoringEveryMonitorPropertyIsMissing) {
  auto config = default_chip_config();
  config.has_monitor = false;
  EmulatedAudioChip plain(config);
  plain.ConfLibInit();
  plain.CreateDeviceList();
  PropertyIo plain_io(plain);
  const auto mic = *select_capture_endpoint(list_endpoints(plain, FLOW_RECORDING));
  for (auto name : {PROP_AA_MAX_VOL, PROP_AA_MIN_VOL, PROP_AA_VOL_STEP, PROP_AA_MUTE}) {
    EXPECT_FALSE(plain_io.read_text(mic, name)) << name;
  }
  EXPECT_TRUE(plain_io.read_text(mic, PROP_MAX_VOL));
}

TEST(EmulatedChip, NothingAnswersBeforeInitialisation) {
  EmulatedAudioChip chip;
  int count = -1;
  EXPECT_EQ(chip.CreateDeviceList(), CONF_ERR_NOT_INITIALISED);
  EXPECT_NE(chip.GetDeviceCount(FLOW_PLAYBACK, &count), CONF_OK);
  EXPECT_EQ(count, 0);
  chip.set_init_result(CONF_ERR_IO);
  EXPECT_EQ(chip.ConfLibInit(), CONF_ERR_IO);
  EXPECT_EQ(chip.CreateDeviceList(), CONF_ERR_NOT_INITIALISED);
}

TEST(EmulatedChip, EndpointChangesShowAfterTheNextDeviceList) {
  EmulatedAudioChip chip;
  chip.ConfLibInit();
  chip.CreateDeviceList();
  chip.set_endpoints(FLOW_RECORDING, {});
  int count = -1;
  chip.GetDeviceCount(FLOW_RECORDING, &count);
  EXPECT_EQ(count, 1);
  chip.CreateDeviceList();
  chip.GetDeviceCount(FLOW_RECORDING, &count);
  EXPECT_EQ(count, 0);
}

TEST(EndpointSelection, RenderPrefersTypesInOrderAndOnlyActiveOnes) {
  const std::vector<AudioDeviceInfo> playback{
      {10, ENDPOINT_SPEAKERS, 0, ENDPOINT_STATE_ACTIVE},
      {11, ENDPOINT_DIGITAL, 0, ENDPOINT_STATE_ACTIVE},
      {12, ENDPOINT_HEADPHONES, 0, ENDPOINT_STATE_UNPLUGGED},
      {13, ENDPOINT_USB_STREAM, 0, ENDPOINT_STATE_ACTIVE},
      {14, ENDPOINT_USB_STREAM, 0, ENDPOINT_STATE_ACTIVE},
  };
  EXPECT_EQ(select_render_endpoint(playback)->id, 13);
  auto rest = playback;
  rest.erase(rest.begin() + 3, rest.end());
  EXPECT_EQ(select_render_endpoint(rest)->id, 11);
  rest.erase(rest.begin() + 1);
  EXPECT_EQ(select_render_endpoint(rest)->id, 10);
  rest.push_back({15, ENDPOINT_HEADPHONES, 0, ENDPOINT_STATE_ACTIVE});
  EXPECT_EQ(select_render_endpoint(rest)->id, 15);
  const std::vector<AudioDeviceInfo> none{{1, ENDPOINT_MICROPHONE, 0, ENDPOINT_STATE_ACTIVE},
                                          {2, 99, 0, ENDPOINT_STATE_ACTIVE}};
  EXPECT_FALSE(select_render_endpoint(none));
}

TEST(EndpointSelection, CaptureTakesAMicrophonePreferringAnActiveOne) {
  const std::vector<AudioDeviceInfo> recording{
      {20, ENDPOINT_HEADPHONES, 0, ENDPOINT_STATE_ACTIVE},
      {21, ENDPOINT_MICROPHONE, 0, ENDPOINT_STATE_UNPLUGGED},
      {22, ENDPOINT_MICROPHONE, 0, ENDPOINT_STATE_ACTIVE},
  };
  EXPECT_EQ(select_capture_endpoint(recording)->id, 22);
  const std::vector<AudioDeviceInfo> inactive(recording.begin(), recording.begin() + 2);
  EXPECT_EQ(select_capture_endpoint(inactive)->id, 21);
  EXPECT_FALSE(select_capture_endpoint(std::span(recording.data(), 1)));
}

#include <gtest/gtest.h>

#include "audio_fakes.h"
#include "devices/audio/emulated_audio_chip.h"
#include "devices/audio/headset_audio.h"
#include "devices/audio/property_names.h"

using namespace qxr::audio;
using namespace qxr::audio::fakes;

namespace {

class HeadsetAudioInit : public ::testing::Test {
 protected:
  explicit HeadsetAudioInit(EmulatedChipConfig config = default_chip_config())
      : chip(std::move(config)) {}

  size_t accesses_to(std::string_view name, int direction = -1) {
    return chip.accesses_of(name, direction).size();
  }

  EmulatedAudioChip chip;
  MemoryProfile profile;
  PanelModel page;
  HeadsetAudio audio{chip, profile, page};
};

EmulatedEndpoint endpoint(int32_t id, int32_t type, int32_t state) {
  return {{id, type, 0, state}, true, chip_feature_text(FEATURE_VOICE_CHANGER)};
}

}  // namespace

TEST_F(HeadsetAudioInit, FreshChipGetsItsDefaultsAndReportsItsLevels) {
  audio.initialise();
  EXPECT_TRUE(page.messages.empty());
  ASSERT_TRUE(audio.render_endpoint());
  ASSERT_TRUE(audio.capture_endpoint());
  EXPECT_EQ(audio.render_endpoint()->info.type, ENDPOINT_HEADPHONES);
  EXPECT_TRUE(audio.capture_endpoint()->feature_mask & FEATURE_VOICE_CHANGER);

  // Unset processing properties were written with 0; present levels were left alone.
  for (int band = 0; band < EQ_BANDS; ++band) {
    EXPECT_EQ(chip.stored(eq_slider_property(band)), 0) << band;
  }
  for (auto name : {PROP_ENABLE_EQ, PROP_ENABLE_RFX, PROP_RFX_ENVIRONMENT, PROP_RFX_ROOMSIZE,
                    PROP_ENABLE_ENC_LFX, PROP_ENC_SELFCALIB, PROP_SURROUND}) {
    EXPECT_EQ(chip.stored(std::string(name)), 0) << name;
    EXPECT_EQ(accesses_to(name, PROPERTY_WRITE), 1u) << name;
  }
  EXPECT_EQ(accesses_to(PROP_VOLUME, PROPERTY_WRITE), 0u);
  EXPECT_DOUBLE_EQ(chip.level_scalar(ChipChannel::Mic), 0.6);

  EXPECT_EQ(audio.stages().mic_in_select, 1);       // not muted
  EXPECT_EQ(audio.stages().mic_in_value, 60);
  EXPECT_EQ(audio.stages().mic_monitor_select, 0);  // muted out of the box
  EXPECT_EQ(audio.stages().mic_monitor_value, 50);
  EXPECT_EQ(profile.stages, audio.stages());
  EXPECT_TRUE(page.mic_switch);
  EXPECT_EQ(page.mic_slider, 60);
  EXPECT_EQ(page.monitor_slider, 50);
  EXPECT_EQ(page.mic_level, "13.00");
  EXPECT_EQ(page.monitor_level, "-15.00");
  EXPECT_DOUBLE_EQ(audio.mic_range().max_db, 30.0);
  EXPECT_DOUBLE_EQ(audio.monitor_range().step_db, 1.5);
}

TEST_F(HeadsetAudioInit, DefaultsKeepWhatTheChipAlreadyHolds) {
  chip.store("EQ_Slider4", -7);
  chip.store(std::string(PROP_ENABLE_EQ), 1);
  audio.initialise();
  EXPECT_EQ(chip.stored("EQ_Slider4"), -7);
  EXPECT_EQ(chip.stored(std::string(PROP_ENABLE_EQ)), 1);
  EXPECT_EQ(accesses_to("EQ_Slider4", PROPERTY_WRITE), 0u);
}

TEST_F(HeadsetAudioInit, UnreadableLevelsAreWrittenWithZeroOnTheirChannel) {
  chip.fail_property(std::string(PROP_VOLUME), PROPERTY_READ);
  chip.fail_property(std::string(PROP_AA_VOLUME), PROPERTY_READ);
  audio.initialise();
  const auto mic = chip.accesses_of(PROP_VOLUME, PROPERTY_WRITE);
  ASSERT_EQ(mic.size(), 1u);
  EXPECT_EQ(mic[0].written_int, 0);
  EXPECT_EQ(mic[0].result, CONF_OK);  // accepted, so the extra carried the microphone channel
  const auto monitor = chip.accesses_of(PROP_AA_VOLUME, PROPERTY_WRITE);
  ASSERT_EQ(monitor.size(), 1u);
  EXPECT_EQ(monitor[0].result, CONF_OK);
}

TEST_F(HeadsetAudioInit, LibraryInitFailureReachesThePageAndTouchesNothing) {
  chip.set_init_result(CONF_ERR_IO);
  audio.initialise();
  ASSERT_EQ(page.messages.size(), 1u);
  EXPECT_EQ(page.messages[0], "ConfLibInit called failed!");
  EXPECT_FALSE(audio.render_endpoint());
  EXPECT_FALSE(audio.capture_endpoint());
  EXPECT_TRUE(chip.accesses().empty());
}

TEST_F(HeadsetAudioInit, WithoutPlaybackEndpointsNoPropertyIsTouched) {
  chip.set_endpoints(FLOW_PLAYBACK, {});
  audio.initialise();
  EXPECT_TRUE(page.messages.empty());
  EXPECT_FALSE(audio.capture_endpoint());
  EXPECT_TRUE(chip.accesses().empty());
  EXPECT_EQ(profile.stages, SystemSetStages{});
}

TEST_F(HeadsetAudioInit, ShortFeatureListShowsTheMessageAndHidesTheVoiceChanger) {
  chip.set_endpoints(FLOW_RECORDING, {{{2, ENDPOINT_MICROPHONE, 0, ENDPOINT_STATE_ACTIVE},
                                       true, "131072,0,0,0,3,0"}});
  chip.store(std::string(PROP_ENABLE_MAGICVOICE), 1);
  audio.initialise();
  ASSERT_EQ(page.messages.size(), 1u);
  EXPECT_EQ(page.messages[0], "UpdateAPOAvailable failed!");
  ASSERT_TRUE(audio.capture_endpoint());
  EXPECT_EQ(audio.capture_endpoint()->feature_mask, 0u);
  EXPECT_EQ(accesses_to(PROP_ENABLE_MAGICVOICE), 0u);
  EXPECT_EQ(audio.stages().magic_enable, 0);
}

TEST_F(HeadsetAudioInit, UnreadableFeatureListCountsAsShort) {
  chip.fail_property(std::string(PROP_SUPPORT_FEATURE), PROPERTY_READ);
  audio.initialise();
  EXPECT_EQ(page.messages, (std::vector<std::string>{"UpdateAPOAvailable failed!",
                                                     "UpdateAPOAvailable failed!"}));
}

TEST_F(HeadsetAudioInit, VoiceChangerStateIsReadOnlyWithItsFeatureBit) {
  chip.store(std::string(PROP_ENABLE_MAGICVOICE), 1);
  chip.store(std::string(PROP_MAGICVOICE_SELECTION), 2);
  audio.initialise();
  EXPECT_EQ(audio.stages().magic_enable, 1);
  EXPECT_EQ(audio.stages().magic_type, 3);
  EXPECT_TRUE(page.voice_switch);
  EXPECT_EQ(page.voice_option, 3);

  EmulatedAudioChip plain;
  plain.set_endpoints(FLOW_RECORDING, {{{2, ENDPOINT_MICROPHONE, 0, ENDPOINT_STATE_ACTIVE},
                                        true, chip_feature_text(0x1F)}});
  plain.store(std::string(PROP_ENABLE_MAGICVOICE), 1);
  MemoryProfile p2;
  PanelModel page2;
  HeadsetAudio audio2(plain, p2, page2);
  audio2.initialise();
  EXPECT_TRUE(plain.accesses_of(PROP_ENABLE_MAGICVOICE).empty());
  EXPECT_EQ(audio2.stages().magic_enable, 0);
}

TEST_F(HeadsetAudioInit, OutOfRangeVoiceSelectionLeavesTheStoredTypeAlone) {
  profile.stages.magic_type = 2;
  audio.load_profile();
  chip.store(std::string(PROP_MAGICVOICE_SELECTION), 3);
  audio.initialise();
  EXPECT_EQ(audio.stages().magic_type, 4);
  // The chip refuses writes outside 0-3, so plant the value past its checks.
  chip.store(std::string(PROP_MAGICVOICE_SELECTION), 7);
  audio.read_volumes();
  EXPECT_EQ(audio.stages().magic_type, 4);
}

TEST_F(HeadsetAudioInit, MonitorPropertiesAreSkippedWhenItsMaximumIsUnreadable) {
  chip.fail_property(std::string(PROP_AA_MAX_VOL), PROPERTY_READ);
  profile.stages.mic_monitor_select = 1;
  profile.stages.mic_monitor_value = 33;
  audio.load_profile();
  audio.initialise();
  chip.clear_accesses();
  audio.read_volumes();
  EXPECT_EQ(accesses_to(PROP_AA_MAX_VOL), 1u);
  for (auto name : {PROP_AA_MIN_VOL, PROP_AA_VOL_STEP, PROP_AA_VOLUME, PROP_AA_MUTE,
                    PROP_AA_VOLUME_SCALAR}) {
    EXPECT_EQ(accesses_to(name), 0u) << name;
  }
  EXPECT_FALSE(audio.monitor_available());
  EXPECT_EQ(audio.stages().mic_monitor_select, 1);
  EXPECT_EQ(audio.stages().mic_monitor_value, 33);
  // The microphone itself is still read.
  EXPECT_EQ(accesses_to(PROP_VOLUME_SCALAR), 1u);
}

TEST_F(HeadsetAudioInit, EndpointsAreChosenAgainWhenTheHeadsetArrivesLater) {
  chip.set_endpoints(FLOW_PLAYBACK, {});
  chip.set_endpoints(FLOW_RECORDING, {});
  audio.initialise();
  EXPECT_FALSE(audio.render_endpoint());
  chip.set_endpoints(FLOW_PLAYBACK, {endpoint(5, ENDPOINT_SPEAKERS, ENDPOINT_STATE_ACTIVE),
                                     endpoint(6, ENDPOINT_USB_STREAM, ENDPOINT_STATE_ACTIVE)});
  chip.set_endpoints(FLOW_RECORDING, {endpoint(7, ENDPOINT_MICROPHONE, ENDPOINT_STATE_ACTIVE)});
  audio.select_endpoints();
  audio.read_volumes();
  ASSERT_TRUE(audio.render_endpoint());
  EXPECT_EQ(audio.render_endpoint()->info.id, 6);
  EXPECT_EQ(audio.capture_endpoint()->info.id, 7);
  EXPECT_EQ(audio.stages().mic_in_value, 60);
}

TEST_F(HeadsetAudioInit, RenderOnlyHeadsetSkipsEveryCaptureProperty) {
  chip.set_endpoints(FLOW_RECORDING,
                     {endpoint(9, ENDPOINT_MICROPHONE + 100, ENDPOINT_STATE_ACTIVE)});
  audio.initialise();
  EXPECT_TRUE(audio.render_endpoint());
  EXPECT_FALSE(audio.capture_endpoint());
  for (const auto& a : chip.accesses()) EXPECT_EQ(a.endpoint_id, 1) << a.name;
  audio.ToggleMicMute();
  EXPECT_EQ(audio.stages().mic_in_select, 0);
  EXPECT_FALSE(page.mic_switch);
}

TEST_F(HeadsetAudioInit, ProfileLoadPicksGainsAndGuardsAStaleCustomIndex) {
  profile.stages.eq_type = 4;
  profile.presets[4] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  audio.load_profile();
  EXPECT_EQ(audio.gains(), (EqGains{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

  profile.stages.eq_type = 13;
  profile.stages.custom_eq_select_index = 1;
  profile.names = {"Bass", "Voice"};
  profile.customs[1] = {-1, -2, -3, -4, -5, -6, -7, -8, -9, -10};
  audio.load_profile();
  EXPECT_EQ(audio.selected_custom(), 1);
  EXPECT_EQ(audio.gains()[9], -10);

  profile.stages.custom_eq_select_index = 5;
  audio.load_profile();
  EXPECT_EQ(audio.selected_custom(), -1);
  EXPECT_EQ(audio.gains(), EqGains{});
}

TEST_F(HeadsetAudioInit, PageShowsTheProfile) {
  profile.stages = {1, 3, 13, 1, 0, 42, 1, 17};
  profile.names = {"Bass", "Voice"};
  profile.customs[1] = {5, 5, 5, 5, 5, 0, 0, 0, 0, 1};
  audio.load_profile();
  page.names = {"stale"};
  audio.apply_profile_to_page();
  EXPECT_TRUE(page.voice_switch);
  EXPECT_EQ(page.voice_option, 3);
  EXPECT_FALSE(page.mic_switch);
  EXPECT_EQ(page.mic_slider, 42);
  EXPECT_TRUE(page.monitor_switch);
  EXPECT_EQ(page.monitor_slider, 17);
  EXPECT_EQ(page.preset, 13);
  EXPECT_TRUE(page.custom_shown);
  EXPECT_EQ(page.names, profile.names);
  EXPECT_EQ(page.selected_name, 1);
  EXPECT_EQ(page.band_values(), (std::vector<int>{5, 5, 5, 5, 5, 0, 0, 0, 0, 1}));

  profile.stages.eq_type = 2;
  audio.load_profile();
  audio.apply_profile_to_page();
  EXPECT_FALSE(page.custom_shown);
  EXPECT_EQ(page.preset, 2);
}

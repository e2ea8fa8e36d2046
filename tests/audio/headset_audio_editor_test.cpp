#include <gtest/gtest.h>

#include "audio_fakes.h"
#include "devices/audio/emulated_audio_chip.h"
#include "devices/audio/headset_audio.h"
#include "devices/audio/property_names.h"

using namespace qxr::audio;
using namespace qxr::audio::fakes;

namespace {

class HeadsetEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    audio.load_profile();
    audio.initialise();
    chip.clear_accesses();
    profile.saves = 0;
  }

  std::vector<ChipAccess> writes(std::string_view name) {
    return chip.accesses_of(name, PROPERTY_WRITE);
  }

  std::vector<int> chip_bands() {
    std::vector<int> out;
    for (int b = 0; b < EQ_BANDS; ++b) {
      out.push_back(chip.stored(eq_slider_property(b)).value_or(-999));
    }
    return out;
  }

  EmulatedAudioChip chip;
  MemoryProfile profile;
  PanelModel page;
  HeadsetAudio audio{chip, profile, page};
};

std::vector<int> as_vector(const EqGains& g) { return {g.begin(), g.end()}; }

}  // namespace

TEST_F(HeadsetEditor, FlatPresetWritesZeroToEveryBandAndStillEnablesTheEqualiser) {
  audio.ApplyEqPreset(2);
  chip.store(std::string(PROP_ENABLE_EQ), 0);
  chip.clear_accesses();
  audio.ApplyEqPreset(5);
  const auto enable = writes(PROP_ENABLE_EQ);
  ASSERT_EQ(enable.size(), 1u);
  EXPECT_EQ(enable[0].written_int, 1);
  EXPECT_EQ(chip.stored(std::string(PROP_ENABLE_EQ)), 1);
  for (int b = 0; b < EQ_BANDS; ++b) {
    const auto w = writes(eq_slider_property(b));
    ASSERT_EQ(w.size(), 1u) << b;
    EXPECT_EQ(w[0].written_int, 0) << b;
  }
  EXPECT_EQ(chip_bands(), std::vector<int>(EQ_BANDS, 0));
  EXPECT_EQ(page.band_values(), std::vector<int>(EQ_BANDS, 0));
  EXPECT_EQ(profile.saved_stages.eq_type, 5);
  EXPECT_EQ(page.preset, 5);
  EXPECT_FALSE(page.custom_shown);
}

TEST_F(HeadsetEditor, EveryPresetReachesChipPanelAndProfile) {
  for (int p = 1; p <= 12; ++p) {
    audio.ApplyEqPreset(p);
    const auto expected = as_vector(*EqPresets(p));
    EXPECT_EQ(chip_bands(), expected) << p;
    EXPECT_EQ(page.band_values(), expected) << p;
    EXPECT_EQ(as_vector(audio.gains()), expected) << p;
    EXPECT_EQ(profile.saved_stages.eq_type, p);
  }
  EXPECT_EQ(profile.saves, 12);
}

TEST_F(HeadsetEditor, PresetZeroAndUnknownPresetsChangeNothing) {
  audio.ApplyEqPreset(3);
  chip.clear_accesses();
  const int saves = profile.saves;
  audio.ApplyEqPreset(0);
  audio.ApplyEqPreset(14);
  audio.ApplyEqPreset(-2);
  EXPECT_TRUE(chip.accesses().empty());
  EXPECT_EQ(profile.saves, saves);
  EXPECT_EQ(audio.stages().eq_type, 3);
}

TEST_F(HeadsetEditor, VoiceSelectionZeroIsIgnoredAndOneWritesZero) {
  audio.SelectVoice(0);
  EXPECT_TRUE(writes(PROP_MAGICVOICE_SELECTION).empty());
  EXPECT_EQ(profile.saves, 0);
  audio.SelectVoice(1);
  const auto w = writes(PROP_MAGICVOICE_SELECTION);
  ASSERT_EQ(w.size(), 1u);
  EXPECT_EQ(w[0].written_int, 0);
  EXPECT_EQ(chip.stored(std::string(PROP_MAGICVOICE_SELECTION)), 0);
  EXPECT_EQ(profile.saved_stages.magic_type, 1);
  EXPECT_EQ(page.voice_option, 1);
  audio.SelectVoice(4);
  EXPECT_EQ(chip.stored(std::string(PROP_MAGICVOICE_SELECTION)), 3);
  EXPECT_EQ(profile.saved_stages.magic_type, 4);
  audio.SelectVoice(5);  // there are four voices
  EXPECT_EQ(writes(PROP_MAGICVOICE_SELECTION).size(), 2u);
  EXPECT_EQ(audio.stages().magic_type, 4);
}

TEST_F(HeadsetEditor, VoiceChangerOnAlsoSilencesTheEcho) {
  chip.store(std::string(PROP_ENABLE_MICECHO), 1);
  audio.ToggleVoiceChanger(true);
  EXPECT_EQ(chip.stored(std::string(PROP_ENABLE_MAGICVOICE)), 1);
  EXPECT_EQ(chip.stored(std::string(PROP_ENABLE_MICECHO)), 0);
  EXPECT_EQ(profile.saved_stages.magic_enable, 1);
  EXPECT_TRUE(page.voice_switch);
  chip.store(std::string(PROP_ENABLE_MICECHO), 1);
  audio.ToggleVoiceChanger(false);
  EXPECT_EQ(chip.stored(std::string(PROP_ENABLE_MAGICVOICE)), 0);
  EXPECT_EQ(chip.stored(std::string(PROP_ENABLE_MICECHO)), 1);
  EXPECT_EQ(profile.saved_stages.magic_enable, 0);
  EXPECT_FALSE(page.voice_switch);
}

TEST_F(HeadsetEditor, MicMuteFlipsChipAndProfile) {
  ASSERT_EQ(audio.stages().mic_in_select, 1);
  audio.ToggleMicMute();
  EXPECT_EQ(chip.stored(std::string(PROP_MUTE)), 1);
  EXPECT_EQ(profile.saved_stages.mic_in_select, 0);
  EXPECT_FALSE(page.mic_switch);
  audio.ToggleMicMute();
  EXPECT_EQ(chip.stored(std::string(PROP_MUTE)), 0);
  EXPECT_EQ(profile.saved_stages.mic_in_select, 1);
  EXPECT_TRUE(page.mic_switch);
}

TEST_F(HeadsetEditor, FailedMuteWriteLeavesTheProfileAndShowsTheRealState) {
  chip.fail_property(std::string(PROP_MUTE), PROPERTY_WRITE);
  page.mic_switch_history.clear();
  audio.ToggleMicMute();
  EXPECT_EQ(chip.stored(std::string(PROP_MUTE)), 0);
  EXPECT_EQ(audio.stages().mic_in_select, 1);
  EXPECT_EQ(profile.saved_stages.mic_in_select, 1);
  EXPECT_EQ(profile.saves, 1);
  // The switch only ever shows what the chip holds.
  EXPECT_EQ(page.mic_switch_history, (std::vector<bool>{true}));

  chip.fail_property(std::string(PROP_AA_MUTE), PROPERTY_WRITE);
  audio.ToggleMonitorMute();
  EXPECT_EQ(profile.saved_stages.mic_monitor_select, 0);
  EXPECT_FALSE(page.monitor_switch);
  chip.clear_failures();
  audio.ToggleMonitorMute();
  EXPECT_EQ(chip.stored(std::string(PROP_AA_MUTE)), 0);
  EXPECT_EQ(profile.saved_stages.mic_monitor_select, 1);
  EXPECT_TRUE(page.monitor_switch);
}

TEST_F(HeadsetEditor, MicVolumeWritesTheScalarAndShowsTheLevel) {
  audio.SetMicVolume(25);
  const auto w = writes(PROP_VOLUME_SCALAR);
  ASSERT_EQ(w.size(), 1u);
  EXPECT_FLOAT_EQ(w[0].written_float, 0.25f);
  EXPECT_EQ(w[0].result, CONF_OK);
  EXPECT_EQ(page.mic_level, "-1.50");
  EXPECT_EQ(profile.saved_stages.mic_in_value, 25);
  audio.SetMicVolume(140);
  EXPECT_DOUBLE_EQ(chip.level_scalar(ChipChannel::Mic), 1.0);
  EXPECT_EQ(profile.saved_stages.mic_in_value, 100);
}

TEST_F(HeadsetEditor, FailedVolumeWriteKeepsTheStoredVolume) {
  chip.fail_property(std::string(PROP_AA_VOLUME_SCALAR), PROPERTY_WRITE);
  const std::string level = page.monitor_level;
  audio.SetMonitorVolume(80);
  EXPECT_EQ(profile.saved_stages.mic_monitor_value, 50);
  EXPECT_EQ(page.monitor_level, level);
  chip.clear_failures();
  audio.SetMonitorVolume(80);
  EXPECT_EQ(profile.saved_stages.mic_monitor_value, 80);
  EXPECT_DOUBLE_EQ(chip.level_scalar(ChipChannel::Monitor), static_cast<double>(0.8f));
  EXPECT_EQ(page.monitor_level, "-6.00");
}

TEST_F(HeadsetEditor, MovingABandSwitchesToCustom) {
  audio.ApplyEqPreset(1);
  chip.clear_accesses();
  audio.SetEqBand(3, -9);
  EXPECT_EQ(audio.stages().eq_type, EQ_TYPE_CUSTOM);
  EXPECT_EQ(profile.saved_stages.eq_type, EQ_TYPE_CUSTOM);
  EXPECT_EQ(page.preset, 13);
  EXPECT_TRUE(page.custom_shown);
  EXPECT_EQ(chip.stored("EQ_Slider4"), -9);
  EXPECT_EQ(audio.gains()[3], -9);
  EXPECT_EQ(audio.gains()[0], 7);  // the other bands keep the preset's gains
  audio.SetEqBand(9, 4);
  EXPECT_EQ(writes(PROP_ENABLE_EQ).size(), 1u);  // only when switching
  EXPECT_EQ(chip.stored("EQ_Slider10"), 4);
  audio.SetEqBand(10, 4);
  audio.SetEqBand(-1, 4);
  EXPECT_EQ(writes("EQ_Slider11").size(), 0u);
  EXPECT_EQ(profile.saves, 3);  // the preset and two bands; bad bands save nothing
}

TEST_F(HeadsetEditor, SaveCustomEqRules) {
  audio.ApplyEqPreset(7);
  EXPECT_EQ(audio.SaveCustomEq(""), -1);  // nothing selected
  EXPECT_EQ(audio.SaveCustomEq("Night"), 1);
  EXPECT_EQ(profile.saved_names, (std::vector<std::string>{"Night"}));
  EXPECT_EQ(profile.customs[0], as_vector(*EqPresets(7)));
  EXPECT_EQ(profile.saved_stages.custom_eq_select_index, 0);
  EXPECT_EQ(page.names, (std::vector<std::string>{"Night"}));
  EXPECT_EQ(page.selected_name, 0);
  EXPECT_EQ(page.name_text, "");

  EXPECT_EQ(audio.SaveCustomEq("NIGHT"), 0);
  EXPECT_EQ(audio.SaveCustomEq("night"), 0);
  EXPECT_EQ(audio.custom_names().size(), 1u);

  audio.SetEqBand(0, 3);
  EXPECT_EQ(audio.SaveCustomEq(""), 1);  // overwrites the selected one
  EXPECT_EQ(profile.customs[0][0], 3);
  EXPECT_EQ(audio.custom_names().size(), 1u);
}

TEST_F(HeadsetEditor, AtMostTwentyCustomEqualisers) {
  for (int i = 0; i < CUSTOM_EQ_MAX; ++i) {
    ASSERT_EQ(audio.SaveCustomEq("eq" + std::to_string(i)), 1) << i;
  }
  const int saves = profile.saves;
  EXPECT_EQ(audio.SaveCustomEq("one more"), -1);
  EXPECT_EQ(audio.custom_names().size(), 20u);
  EXPECT_EQ(profile.saves, saves);
  EXPECT_EQ(audio.SaveCustomEq(""), 1);  // the selected one can still be updated
}

TEST_F(HeadsetEditor, ApplyCustomEqSendsTheStoredGains) {
  profile.names = {"A", "B"};
  profile.customs[1] = {1, -1, 2, -2, 3, -3, 4, -4, 5, -5};
  audio.load_profile();
  chip.store(std::string(PROP_ENABLE_EQ), 0);
  audio.ApplyCustomEq(1);
  EXPECT_EQ(chip_bands(), profile.customs[1]);
  EXPECT_EQ(page.band_values(), profile.customs[1]);
  EXPECT_EQ(chip.stored(std::string(PROP_ENABLE_EQ)), 1);
  EXPECT_EQ(profile.saved_stages.custom_eq_select_index, 1);
  const int saves = profile.saves;
  chip.clear_accesses();
  audio.ApplyCustomEq(-1);
  audio.ApplyCustomEq(2);
  EXPECT_TRUE(chip.accesses().empty());
  EXPECT_EQ(profile.saves, saves);
}

TEST_F(HeadsetEditor, ChoosingCustomPresetAppliesTheSelectedCustomEqualiser) {
  profile.names = {"A"};
  profile.customs[0] = {2, 2, 2, 2, 2, 2, 2, 2, 2, 2};
  profile.stages.eq_type = 3;
  audio.load_profile();
  audio.ApplyCustomEq(0);
  audio.ApplyEqPreset(4);
  audio.ApplyEqPreset(13);
  EXPECT_EQ(chip_bands(), profile.customs[0]);
  EXPECT_EQ(profile.saved_stages.eq_type, 13);
  EXPECT_TRUE(page.custom_shown);
}

TEST_F(HeadsetEditor, DeletingKeepsEachNameWithItsOwnGains) {
  profile.names = {"A", "B", "C"};
  profile.customs[0] = std::vector<int>(10, 1);
  profile.customs[1] = std::vector<int>(10, 2);
  profile.customs[2] = std::vector<int>(10, 3);
  profile.stages.eq_type = 13;
  audio.load_profile();
  audio.apply_profile_to_page();
  audio.ApplyCustomEq(1);
  audio.DeleteCustomEq();
  EXPECT_EQ(profile.saved_names, (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(page.names, (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(profile.customs[1], std::vector<int>(10, 3));  // "C" kept its gains
  EXPECT_EQ(profile.customs[0], std::vector<int>(10, 1));
  // The first one is selected and playing.
  EXPECT_EQ(audio.selected_custom(), 0);
  EXPECT_EQ(page.selected_name, 0);
  EXPECT_EQ(chip_bands(), std::vector<int>(10, 1));
  EXPECT_EQ(profile.saved_stages.custom_eq_select_index, 0);
}

TEST_F(HeadsetEditor, DeletingTheLastCustomFallsBackToTheFirstPreset) {
  profile.presets[1] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
  profile.names = {"Only"};
  profile.customs[0] = std::vector<int>(10, -4);
  profile.stages.eq_type = 13;
  audio.load_profile();
  audio.ApplyCustomEq(0);
  audio.DeleteCustomEq();
  EXPECT_TRUE(profile.saved_names.empty());
  EXPECT_EQ(profile.saved_stages.eq_type, 1);
  EXPECT_EQ(page.preset, 1);
  EXPECT_FALSE(page.custom_shown);
  EXPECT_EQ(page.band_values(), profile.presets[1]);
  EXPECT_EQ(chip_bands(), profile.presets[1]);
  EXPECT_EQ(audio.selected_custom(), -1);
  const int saves = profile.saves;
  audio.DeleteCustomEq();  // nothing selected: nothing happens
  EXPECT_EQ(profile.saves, saves);
}

TEST_F(HeadsetEditor, EveryOperationSavesTheStagesOnce) {
  audio.ToggleVoiceChanger(true);
  audio.SelectVoice(2);
  audio.ToggleMicMute();
  audio.SetMicVolume(10);
  audio.ToggleMonitorMute();
  audio.SetMonitorVolume(10);
  audio.SetEqBand(1, 1);
  audio.ApplyEqPreset(2);
  audio.SaveCustomEq("x");
  audio.ApplyCustomEq(0);
  audio.DeleteCustomEq();
  EXPECT_EQ(profile.saves, 11);
  EXPECT_EQ(profile.saved_stages, audio.stages());
}

TEST(SameName, AsciiLettersIgnoreCase) {
  EXPECT_TRUE(same_name_ignoring_case("Rock", "rOCK"));
  EXPECT_FALSE(same_name_ignoring_case("Rock", "Rocks"));
  EXPECT_FALSE(same_name_ignoring_case("Rock", "Rick"));
  EXPECT_TRUE(same_name_ignoring_case("低音", "低音"));
  EXPECT_FALSE(same_name_ignoring_case("低音A", "低音B"));
  EXPECT_TRUE(same_name_ignoring_case("", ""));
}

// The audio half against the real headset profile object and its file.
#include <gtest/gtest.h>
#include <json/value.h>

#include "audio_fakes.h"
#include "devices/audio/emulated_audio_chip.h"
#include "devices/audio/headset_audio.h"
#include "devices/audio/zo6533_audio_profile.h"
#include "profile/headset_profile_data.h"
#include "profile/json_file.h"
#include "tests/support/temp_folder.h"

using namespace qxr::audio;

namespace {

Json::Value bands(std::initializer_list<int> gains) {
  Json::Value a(Json::arrayValue);
  for (int g : gains) {
    Json::Value b;
    b["value"] = g;
    a.append(b);
  }
  return a;
}

class ProfileAdapter : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.file("profile.json");
    Json::Value device;
    device["SystemSetStages"]["EqType"] = 13;
    device["SystemSetStages"]["CustomEqSeletIndex"] = 1;
    device["SystemSetStages"]["MicInSelect"] = 1;
    device["SystemSetStages"]["MicInValue"] = 70;
    device["EQHzValueInfo"][1] = bands({1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    device["CustomEQNameInfo"][0]["Name"] = "Bass";
    device["CustomEQNameInfo"][1]["Name"] = "低音";
    device["CustomEQNameInfo"][2]["Name"] = "Voice";
    device["CustomEQHzValueInfo"][0] = bands({6, 5, 4, 0, 0, 0, 0, 0, 0, 0});
    device["CustomEQHzValueInfo"][1] = bands({8, 8, 8, 8, 8, 8, 8, 8, 8, 8});
    device["CustomEQHzValueInfo"][2] = bands({0, 0, 0, 0, 2, 4, 2, 0, 0, 0});
    Json::Value file;
    file["profilename"] = "Mine";
    file["Device"][0] = device;
    ASSERT_TRUE(qxr::WriteJsonFile(path, file));
    data.SetProfilePath(path);
    data.LoadProfile(path);
  }

  Json::Value stored_device() { return qxr::ReadJsonFile(path)["Device"][0]; }

  qxr::testing::TempFolder dir;
  std::string path;
  qxr::CZo6533Profiledata data;
  Zo6533AudioProfile profile{data};
  EmulatedAudioChip chip;
  fakes::PanelModel page;
  HeadsetAudio audio{chip, profile, page};
};

}  // namespace

TEST_F(ProfileAdapter, LoadsTheSelectedCustomEqualiser) {
  audio.load_profile();
  EXPECT_EQ(audio.custom_names(), (std::vector<std::string>{"Bass", "低音", "Voice"}));
  EXPECT_EQ(audio.selected_custom(), 1);
  EXPECT_EQ(audio.gains(), (EqGains{8, 8, 8, 8, 8, 8, 8, 8, 8, 8}));
  EXPECT_EQ(audio.stages().mic_in_value, 70);
}

TEST_F(ProfileAdapter, OperationsReachTheFile) {
  audio.load_profile();
  audio.initialise();
  audio.SelectVoice(2);
  audio.ToggleMicMute();
  auto device = stored_device();
  EXPECT_EQ(device["SystemSetStages"]["MagicType"].asInt(), 2);
  EXPECT_EQ(device["SystemSetStages"]["MicInSelect"].asInt(), 0);
  EXPECT_EQ(device["SystemSetStages"]["MicInValue"].asInt(), 60);  // read from the chip
  EXPECT_EQ(qxr::ReadJsonFile(path)["profilename"].asString(), "Mine");

  audio.ApplyEqPreset(9);
  audio.SetEqBand(2, -5);
  EXPECT_EQ(audio.SaveCustomEq("低音"), SAVE_EQ_DUPLICATE);
  EXPECT_EQ(audio.SaveCustomEq("Treble"), SAVE_EQ_OK);
  device = stored_device();
  EXPECT_EQ(device["CustomEQNameInfo"][3]["Name"].asString(), "Treble");
  EXPECT_EQ(device["CustomEQHzValueInfo"][3][2]["value"].asInt(), -5);
  EXPECT_EQ(device["CustomEQHzValueInfo"][3][9]["value"].asInt(), 16);
  EXPECT_EQ(device["SystemSetStages"]["EqType"].asInt(), 13);
  EXPECT_EQ(device["SystemSetStages"]["CustomEqSeletIndex"].asInt(), 3);
}

TEST_F(ProfileAdapter, DeletingShiftsTheStoredGainsWithTheNames) {
  audio.load_profile();
  audio.initialise();
  audio.ApplyCustomEq(0);
  audio.DeleteCustomEq();
  const auto device = stored_device();
  ASSERT_EQ(device["CustomEQNameInfo"].size(), 2u);
  EXPECT_EQ(device["CustomEQNameInfo"][0]["Name"].asString(), "低音");
  EXPECT_EQ(device["CustomEQNameInfo"][1]["Name"].asString(), "Voice");
  EXPECT_EQ(device["CustomEQHzValueInfo"][0][0]["value"].asInt(), 8);
  EXPECT_EQ(device["CustomEQHzValueInfo"][1][5]["value"].asInt(), 4);
  EXPECT_EQ(chip.stored("EQ_Slider1"), 8);
}

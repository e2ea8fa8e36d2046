// "AudioFile.json": the styles round-trip, a file without "Device" is written with the
// defaults, and numbers out of range never reach the program.
#include <gtest/gtest.h>

#include "profile/audio_file.h"
#include "profile/json_file.h"
#include "tests/support/temp_folder.h"

using namespace qxr;
using qxr::testing::TempFolder;
using qxr::testing::write_text;

TEST(AudioFile, AMissingFileIsWrittenWithTheDefaults) {
  TempFolder dir;
  const std::string path = dir.file(kAudioFileName);
  const AudioStyles styles = LoadAudioFile(path);
  EXPECT_EQ(styles, DefaultAudioStyles());
  EXPECT_EQ(styles.styles[2].name, "第三组");
  const Json::Value written = ReadJsonFile(path);
  EXPECT_EQ(written["Device"]["AudioLightInfo"]["nStyleName4"].asString(), "第四组");
  EXPECT_EQ(written["Device"]["AudioLightInfo"]["nAudioStyle"].asInt(), 0);
  EXPECT_TRUE(written["Device"]["AudioLightInfo"].isMember("nStyleB3"));
}

TEST(AudioFile, StylesSurviveSavingAndLoading) {
  TempFolder dir;
  const std::string path = dir.file(kAudioFileName);
  AudioStyles s = DefaultAudioStyles();
  s.selected = 3;
  s.styles[0] = {"Bass", 9, 0, 1};
  s.styles[3] = {"夜", 2, 0, 7};
  ASSERT_TRUE(SaveAudioFile(path, s));
  EXPECT_EQ(LoadAudioFile(path), s);
}

TEST(AudioFile, AFileWithoutDeviceIsReplacedAndHostileValuesAreBroughtIntoRange) {
  TempFolder dir;
  const std::string path = dir.file(kAudioFileName);
  write_text(path, R"({"Other": 1})");
  EXPECT_EQ(LoadAudioFile(path), DefaultAudioStyles());
  EXPECT_TRUE(ReadJsonFile(path).isMember("Device"));
  write_text(path, R"({"Device": {"AudioLightInfo": {"nAudioStyle": 99, "nStyleR0": -5, "nStyleG0": 12,
                      "nStyleB0": "x", "nStyleName1": "", "nStyleName2": 7}}})");
  const AudioStyles s = LoadAudioFile(path);
  EXPECT_EQ(s.selected, 3);
  EXPECT_EQ(s.styles[0].red, 0);
  EXPECT_EQ(s.styles[0].green, 9);
  EXPECT_EQ(s.styles[0].blue, DefaultAudioStyles().styles[0].blue);
  EXPECT_EQ(s.styles[0].name, "第一组");
  EXPECT_EQ(s.styles[1].name, "第二组");
}

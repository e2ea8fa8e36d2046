#include <gtest/gtest.h>

#include "profile/headset_profile_data.h"
#include "profile/json_file.h"
#include "profile/keyboard_profile_data.h"
#include "profile/mouse_profile_data.h"
#include "tests/support/temp_folder.h"

using namespace qxr;
using qxr::testing::read_text;
using qxr::testing::TempFolder;
using qxr::testing::write_text;

namespace {

// A default profile with a little of everything, and a folder to load it in.
class ProfileFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    Json::Value device(Json::objectValue);
    device["LightInfo"]["SelectItem"] = 3;
    device["LightInfo"]["Red"] = 200;
    device["KeyList"][0]["Assignment"] = 0x100100;
    device["KeyList"][0]["DefaultAssignment"] = 0x100100;
    device["KeyList"][1]["Assignment"] = 0x100200;
    device["KeyList"][1]["DefaultAssignment"] = 0x100200;
    device["KeyList"][2]["Assignment"] = 0x100300;
    device["KeyList"][2]["DefaultAssignment"] = 0x100300;
    device["Extra"] = "survives";
    defaults_["profilename"] = "default";
    defaults_["Device"][0] = device;
    ASSERT_TRUE(WriteJsonFile(default_path(), defaults_));
  }
  std::string default_path() const { return dir_.file("keyboard.Json"); }
  std::string profile_path() const { return dir_.file("2024_01_01_00_00_00_000.Json"); }

  template <typename P>
  void Prepare(P& p) {
    p.SetDefaultPath(default_path());
    p.SetProfilePath(profile_path());
  }

  TempFolder dir_;
  Json::Value defaults_;
};

}  // namespace

TEST_F(ProfileFiles, FirstLoadFillsDeviceAndKeepsTheNames) {
  Json::Value names;
  names["profilename"] = "profile1";
  names["profileUUID"] = "2024_01_01_00_00_00_000";
  WriteJsonFile(profile_path(), names);
  CBasicProfiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  const Json::Value& device = p.GetDeviceObject();
  EXPECT_EQ(device["Extra"].asString(), "survives");
  Json::Value file = ReadJsonFile(profile_path());
  EXPECT_EQ(file["profilename"].asString(), "profile1");
  EXPECT_EQ(file["profileUUID"].asString(), "2024_01_01_00_00_00_000");
  EXPECT_EQ(file["Device"][0], defaults_["Device"][0]);
}

TEST_F(ProfileFiles, LoadOfAGoodFileWritesNothing) {
  Json::Value doc = defaults_;
  doc["Device"][0]["LightInfo"]["Red"] = 17;
  WriteJsonFile(profile_path(), doc);
  const std::string before = read_text(profile_path());
  CBasicProfiledata p;
  Prepare(p);
  ASSERT_TRUE(p.LoadProfile(profile_path()));
  EXPECT_EQ(p.GetDeviceObject()["LightInfo"]["Red"].asInt(), 17);
  EXPECT_EQ(read_text(profile_path()), before);
  EXPECT_EQ(p.GetLightInfo().red, 17);
}

TEST_F(ProfileFiles, UnparsableProfileIsKeptAsideThenRecreated) {
  write_text(profile_path(), "{\"profilename\": \"mine\", \"Device\": [{\"Light");
  CBasicProfiledata p;
  Prepare(p);
  EXPECT_TRUE(p.LoadProfile(profile_path()));
  EXPECT_EQ(p.GetDeviceObject(), defaults_["Device"][0]);
  EXPECT_EQ(ReadJsonFile(profile_path())["Device"][0], defaults_["Device"][0]);
  int kept = 0;
  for (const std::string& name : dir_.names()) {
    if (name.find(".unreadable-") == std::string::npos) continue;
    ++kept;
    EXPECT_EQ(read_text(dir_.file(name)), "{\"profilename\": \"mine\", \"Device\": [{\"Light");
  }
  EXPECT_EQ(kept, 1);
}

TEST_F(ProfileFiles, WithoutDefaultsNothingIsWrittenAndGettersFallBack) {
  write_text(profile_path(), "broken");
  CKeyboardProfiledata p;
  p.SetDefaultPath(dir_.file("missing.Json"));
  p.SetProfilePath(profile_path());
  EXPECT_FALSE(p.LoadProfile(profile_path()));
  EXPECT_TRUE(p.GetDeviceObject().isNull());
  EXPECT_EQ(read_text(profile_path()), "broken");
  EXPECT_EQ(p.GetLightInfo(), LightInfo{});
  EXPECT_TRUE(p.GetKeyList().empty());
  EXPECT_EQ(p.GetSystemStages(), KeyboardSystemStages{});
  EXPECT_EQ(p.GetCustomColours(0, 3), std::vector<CustomColour>(3));
  EXPECT_TRUE(p.GetDeviceObject().isNull());  // getters wrote nothing
}

TEST_F(ProfileFiles, SaveReplacesOnlyTheDeviceObject) {
  Json::Value doc = defaults_;
  doc["profilename"] = "kept name";
  doc["Device"][1] = "second device element";
  WriteJsonFile(profile_path(), doc);
  CBasicProfiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  LightInfo info = p.GetLightInfo();
  info.blue = 99;
  p.SetLightInfo(info);
  // Setters touch memory only.
  EXPECT_EQ(ReadJsonFile(profile_path())["Device"][0]["LightInfo"]["Blue"].asInt(), 0);
  ASSERT_TRUE(p.Save());
  Json::Value file = ReadJsonFile(profile_path());
  EXPECT_EQ(file["profilename"].asString(), "kept name");
  EXPECT_EQ(file["Device"][1].asString(), "second device element");
  EXPECT_EQ(file["Device"][0]["LightInfo"]["Blue"].asInt(), 99);
  EXPECT_EQ(file["Device"][0]["Extra"].asString(), "survives");
}

TEST_F(ProfileFiles, SaveWithoutPathOrOverUnreadableFile) {
  CBasicProfiledata none;
  EXPECT_FALSE(none.Save());
  write_text(profile_path(), "[truncated");
  CBasicProfiledata p;
  Prepare(p);
  p.SetLightInfo(LightInfo{.select_item = 4});
  ASSERT_TRUE(p.Save());
  EXPECT_EQ(ReadJsonFile(profile_path())["Device"][0]["LightInfo"]["SelectItem"].asInt(), 4);
  bool kept = false;
  for (const std::string& name : dir_.names()) {
    kept = kept || (name.find(".unreadable-") != std::string::npos &&
                    read_text(dir_.file(name)) == "[truncated");
  }
  EXPECT_TRUE(kept);
}

TEST_F(ProfileFiles, SetLightInfoReplacesTheObjectWithElevenKeys) {
  CBasicProfiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  LightInfo info{};
  info.multi_color = 1;
  info.old_led_mode = 6;
  p.SetLightInfo(info);
  const Json::Value& stored = p.GetDeviceObject()["LightInfo"];
  EXPECT_EQ(stored.size(), 11u);
  EXPECT_EQ(stored["MultiColor"].asInt(), 1);
  EXPECT_EQ(stored["OldLedmode"].asInt(), 6);
  EXPECT_EQ(p.GetLightInfo(), info);
}

TEST_F(ProfileFiles, AudioLightInfoByteEightIsOneWhenStoredZero) {
  CBasicProfiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  EXPECT_EQ(p.GetAudioLightInfo(), AudioLightInfo{});  // absent: all zero
  AudioLightInfo a{2, 1, 2, 3, 4, 5, 6, 1, 0};
  p.SetAudioLightInfo(a);
  ASSERT_TRUE(p.Save());
  CBasicProfiledata q;
  Prepare(q);
  q.LoadProfile(profile_path());
  EXPECT_EQ(q.GetDeviceObject()["AudioLightInfo"]["ColorTypeFlags"].asInt(), 0);
  AudioLightInfo back = q.GetAudioLightInfo();
  EXPECT_EQ(back.color_type_flags, 1);
  back.color_type_flags = 0;
  EXPECT_EQ(back, a);
}

TEST_F(ProfileFiles, KeyListShorterThanTheFileLeavesTheRest) {
  CBasicProfiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  std::vector<KeyAssignRecord> keys = p.GetKeyList();
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[2].assignment.key_index, 2);
  EXPECT_EQ(keys[2].default_assignment.d1, 0x03);
  std::vector<KeyAssignRecord> shorter(keys.begin(), keys.begin() + 2);
  shorter[0].assignment = KeyAssignment{0, 0x70, 5, 0};
  shorter[1].default_assignment = KeyAssignment{1, 0x55, 0x55, 0x55};  // never written
  p.SetKeyList(shorter);
  ASSERT_TRUE(p.Save());
  Json::Value stored = ReadJsonFile(profile_path())["Device"][0]["KeyList"];
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[0]["Assignment"].asInt(), 0x700500);
  EXPECT_EQ(stored[1]["DefaultAssignment"].asInt(), 0x100200);
  EXPECT_EQ(stored[2]["Assignment"].asInt(), 0x100300);
}

TEST_F(ProfileFiles, LightListGivesPresentFlags) {
  Json::Value doc = defaults_;
  doc["Device"][0]["LightList"][0]["red"] = 5;
  doc["Device"][0]["LightList"][1] = Json::Value();
  doc["Device"][0]["LightList"][2]["LEDDirection"] = 1;
  WriteJsonFile(profile_path(), doc);
  CBasicProfiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  std::vector<PerLedRecord> leds = p.GetLightList();
  ASSERT_EQ(leds.size(), 3u);
  EXPECT_EQ(leds[0].red, 5);
  EXPECT_EQ(leds[0].present, 1);
  EXPECT_EQ(leds[1].present, 0);
  EXPECT_EQ(leds[2].led_direction, 1);
}

TEST_F(ProfileFiles, LightEffectListFollowsTheCachedMode) {
  Json::Value catalogue;
  catalogue["LightInfo"][0][3]["Guid"] = "wave";
  catalogue["LightInfo"][0][4]["Guid"] = "missing-effect";
  WriteJsonFile(dir_.file("kelto_light.config"), catalogue);
  Json::Value effect;
  effect["LEDEffectList"][0]["LEDREGMode"] = 1;
  effect["LEDEffectList"][0]["Time"] = 500;
  effect["LEDEffectList"][1]["Cyle"] = 2;
  WriteJsonFile(dir_.file("wave.light"), effect);

  CBasicProfiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  EXPECT_TRUE(p.GetLightEffectList().empty());  // no configuration loaded
  p.SetConfigPath(dir_.file("kelto_light.config"));
  p.LoadConfig(p.GetConfigPath());
  // The mode comes from the cached light record, which is empty until read.
  EXPECT_TRUE(p.GetLightEffectList().empty());
  p.GetLightInfo();  // mode 3
  std::vector<LightEffectStep> steps = p.GetLightEffectList();
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].time, 500);
  EXPECT_EQ(steps[1].cycle, 2);
  p.SetLightInfo(LightInfo{.select_item = 4});
  EXPECT_TRUE(p.GetLightEffectList().empty());
}

TEST_F(ProfileFiles, LightEffectAbsoluteGuidIsUsedAsItStands) {
  TempFolder elsewhere;
  Json::Value effect;
  effect["LEDEffectList"][0]["red"] = 7;
  WriteJsonFile(elsewhere.file("abs.light"), effect);
  Json::Value catalogue;
  catalogue["LightInfo"][0][0]["Guid"] = elsewhere.file("abs");
  WriteJsonFile(dir_.file("kelto_light.config"), catalogue);
  CBasicProfiledata p;
  p.SetConfigPath(dir_.file("kelto_light.config"));
  p.LoadConfig(p.GetConfigPath());
  std::vector<LightEffectStep> steps = p.GetLightEffectList();
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].red, 7);
}

TEST_F(ProfileFiles, PathSettersIgnoreEmpty) {
  CBasicProfiledata p;
  p.SetProfilePath("a");
  p.SetProfilePath("");
  p.SetDefaultPath("b");
  p.SetDefaultPath("");
  p.SetConfigPath("c");
  p.SetConfigPath("");
  EXPECT_EQ(p.GetProfilePath(), "a");
  EXPECT_EQ(p.GetDefaultPath(), "b");
  EXPECT_EQ(p.GetConfigPath(), "c");
  EXPECT_EQ(p.GetDeviceIndex(), 0);
}

TEST_F(ProfileFiles, KeyboardSystemStagesAndGroupIndex) {
  CKeyboardProfiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  KeyboardSystemStages s{1, 2, 3, 4, 5, 6};
  s.repeat_delay = 60000;  // unsigned 16-bit
  p.SetSystemStages(s);
  p.SetCustomGroupIndex(3);
  ASSERT_TRUE(p.Save());
  CKeyboardProfiledata q;
  Prepare(q);
  q.LoadProfile(profile_path());
  EXPECT_EQ(q.GetSystemStages(), s);
  EXPECT_EQ(q.GetCustomGroupIndex(), 3);
}

TEST_F(ProfileFiles, CustomColoursFilledWithZerosAndSaved) {
  CKeyboardProfiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  std::vector<CustomColour> colours = p.GetCustomColours(2, 4);
  EXPECT_EQ(colours, std::vector<CustomColour>(4));
  ASSERT_TRUE(p.Save());
  Json::Value groups = ReadJsonFile(profile_path())["Device"][0]["CustomLightMode"]["LightColorInfo"];
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_TRUE(groups[0u].isNull());
  ASSERT_EQ(groups[2].size(), 4u);
  EXPECT_EQ(groups[2][3]["Alpha"].asInt(), 0);
  EXPECT_TRUE(groups[2][3].isMember("Red"));
}

TEST_F(ProfileFiles, CustomColoursKeepStoredCellsAndFillHoles) {
  CKeyboardProfiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  p.SetCustomColours({{1, 2, 3, 4}, {5, 6, 7, 8}}, 0);
  std::vector<CustomColour> colours = p.GetCustomColours(0, 3);
  ASSERT_EQ(colours.size(), 3u);
  EXPECT_EQ(colours[1], (CustomColour{5, 6, 7, 8}));
  EXPECT_EQ(colours[2], CustomColour{});
  EXPECT_EQ(p.GetDeviceObject()["CustomLightMode"]["LightColorInfo"][0].size(), 3u);
  // A group index the keyboard does not have changes nothing.
  EXPECT_EQ(p.GetCustomColours(-1, 2), std::vector<CustomColour>(2));
}

TEST_F(ProfileFiles, DpiStagesMergeIntoALargerCache) {
  CMouseProfiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  std::vector<DpiStage> five(5);
  for (int i = 0; i < 5; ++i) five[static_cast<size_t>(i)].SetDpiX(static_cast<uint16_t>(1000 * (i + 1)));
  p.SetDpiStages(five);
  p.SetActiveDpiStage(4);
  // The file on disk has three stages.
  Json::Value doc = defaults_;
  for (int i = 0; i < 3; ++i) doc["Device"][0]["DPIStages"]["StageDPIs"][i]["StageDPIX"] = 400 + i;
  doc["Device"][0]["DPIStages"]["StageActive"] = 1;
  WriteJsonFile(profile_path(), doc);
  p.LoadProfile(profile_path());
  std::vector<DpiStage> merged = p.GetDpiStages();
  ASSERT_EQ(merged.size(), 5u);
  EXPECT_EQ(merged[0].DpiX(), 400);
  EXPECT_EQ(merged[2].DpiX(), 402);
  EXPECT_EQ(merged[3].DpiX(), 4000);
  EXPECT_EQ(merged[4].DpiX(), 5000);
  EXPECT_EQ(p.GetActiveDpiStage(), 1);
}

TEST_F(ProfileFiles, DpiStagesRoundTripAndActiveStageSeparately) {
  CMouseProfiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  DpiStage s{};
  s.stage_active = 1;
  s.SetDpiX(12000);
  s.SetDpiY(26000);
  s.color_g = 9;
  p.SetDpiStages({s});
  EXPECT_FALSE(p.GetDeviceObject()["DPIStages"].isMember("StageActive"));
  p.SetActiveDpiStage(2);
  ASSERT_TRUE(p.Save());
  Json::Value stored = ReadJsonFile(profile_path())["Device"][0]["DPIStages"];
  EXPECT_EQ(stored["StageDPIs"][0]["StageDPIX"].asInt(), 12000);
  EXPECT_EQ(stored["StageActive"].asInt(), 2);
  CMouseProfiledata q;
  Prepare(q);
  q.LoadProfile(profile_path());
  std::vector<DpiStage> back = q.GetDpiStages();
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0], s);
}

TEST_F(ProfileFiles, MouseSystemStagesTakeTheReportRateFromItsOwnObject) {
  CMouseProfiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  MouseSystemStages s{500, 10, 1, 0, 3, 2};
  p.SetMouseSystemStages(s);
  EXPECT_EQ(p.GetDeviceObject()["ReportStages"]["StageActive"].asInt(), 2);
  EXPECT_EQ(p.GetMouseSystemStages(), s);
  // Without "ReportStages" the sixth value is 0 even though "SystemStages" exists.
  Json::Value doc = defaults_;
  doc["Device"][0]["SystemStages"]["MouseSpeed"] = 7;
  WriteJsonFile(profile_path(), doc);
  p.LoadProfile(profile_path());
  MouseSystemStages read = p.GetMouseSystemStages();
  EXPECT_EQ(read.mouse_speed, 7);
  EXPECT_EQ(read.report_rate, 0);
}

TEST_F(ProfileFiles, CorrectInfoIsReadOnly) {
  Json::Value doc = defaults_;
  doc["Device"][0]["CorrectInfo"][0]["CorrectName"] = "a";
  doc["Device"][0]["CorrectInfo"][1]["CorrectSelect"] = 1;
  doc["Device"][0]["CorrectInfo"][1]["CorrectPixThresh"] = 8;
  WriteJsonFile(profile_path(), doc);
  CMouseProfiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  std::vector<CorrectEntry> c = p.GetCorrectInfo();
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[0].name, "a");
  EXPECT_EQ(c[1].select, 1);
  EXPECT_EQ(c[1].pix_thresh, 8);
}

TEST_F(ProfileFiles, EqualiserTypeMapping) {
  Json::Value doc = defaults_;
  for (int preset = 1; preset <= 12; ++preset) {
    for (int band = 0; band < kEqBandCount; ++band) {
      doc["Device"][0]["EQHzValueInfo"][preset][band]["value"] = preset * 100 + band;
    }
  }
  WriteJsonFile(profile_path(), doc);
  CZo6533Profiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  std::vector<int> preset1 = p.GetEqValues(1);
  ASSERT_EQ(preset1.size(), 10u);
  EXPECT_EQ(preset1[9], 109);
  EXPECT_EQ(p.GetEqValues(0), preset1);
  EXPECT_EQ(p.GetEqValues(14), preset1);
  EXPECT_EQ(p.GetEqValues(12)[0], 1200);
  EXPECT_EQ(p.GetEqValues(7)[3], 703);
  EXPECT_TRUE(p.GetEqValues(13).empty());
  // Type 13 writes nothing; type 0 writes preset 1.
  const Json::Value before = p.GetDeviceObject();
  p.SetEqValues(std::vector<int>(10, -5), 13);
  EXPECT_EQ(p.GetDeviceObject(), before);
  p.SetEqValues({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 0);
  EXPECT_EQ(p.GetEqValues(1), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(ProfileFiles, MissingEqualiserPresetIsFilledWithZeros) {
  CZo6533Profiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  EXPECT_EQ(p.GetEqValues(5), std::vector<int>(10, 0));
  const Json::Value& stored = p.GetDeviceObject()["EQHzValueInfo"][5];
  ASSERT_EQ(stored.size(), 10u);
  EXPECT_TRUE(stored[9].isMember("value"));
}

TEST_F(ProfileFiles, CustomEqualisersAndNames) {
  CZo6533Profiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  EXPECT_TRUE(p.GetCustomEqNames().empty());
  p.SetCustomEqNames({"Bass", "声音"});
  p.SetCustomEqValues({3, 3, 3, 0, 0, 0, -3, -3, -3, 12}, 1);
  HeadsetSystemSetStages s{1, 2, 13, 1, 1, 80, 0, -4};
  p.SetSystemSetStages(s);
  ASSERT_TRUE(p.Save());
  CZo6533Profiledata q;
  Prepare(q);
  q.LoadProfile(profile_path());
  EXPECT_EQ(q.GetCustomEqNames(), (std::vector<std::string>{"Bass", "声音"}));
  EXPECT_EQ(q.GetCustomEqValues(1), (std::vector<int>{3, 3, 3, 0, 0, 0, -3, -3, -3, 12}));
  EXPECT_EQ(q.GetCustomEqValues(0), std::vector<int>(10, 0));
  EXPECT_EQ(q.GetSystemSetStages(), s);
  q.SetCustomEqNames({"Only"});
  EXPECT_EQ(q.GetCustomEqNames(), std::vector<std::string>{"Only"});
}

TEST_F(ProfileFiles, CachesOutliveANewLoad) {
  CMouseProfiledata p;
  Prepare(p);
  p.LoadProfile(profile_path());
  DpiStage s{};
  s.SetDpiX(1600);
  p.SetDpiStages({s, s});
  p.SetActiveDpiStage(1);
  p.LoadProfile(default_path());  // no "DPIStages" there
  EXPECT_EQ(p.GetDpiStages().size(), 2u);
  EXPECT_EQ(p.GetActiveDpiStage(), 1);
}

// Files edited by hand, cut short, overwritten with junk or built to hurt the parser: the
// program must neither crash nor lose or change them except where a load rewrites them,
// and then the original is kept aside.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <random>
#include <variant>

#include "profile/headset_profile_data.h"
#include "profile/json_access.h"
#include "profile/json_file.h"
#include "profile/keyboard_profile_data.h"
#include "profile/light_config.h"
#include "profile/mouse_profile_data.h"
#include "profile/profile_list.h"
#include "tests/support/temp_folder.h"

using namespace qxr;
using qxr::testing::read_text;
using qxr::testing::TempFolder;
using qxr::testing::write_text;

namespace {

// A device object with every member any profile class reads.
Json::Value FullDevice() {
  Json::Value d(Json::objectValue);
  const char* light_keys[] = {"SelectItem", "Light", "Speed", "Fx", "MultiColor", "Red",
                              "Green", "Blue", "ZZCCLedMode", "CustomGroup", "OldLedmode"};
  for (const char* k : light_keys) d["LightInfo"][k] = 1;
  const char* audio_keys[] = {"AudioMode", "BkColorR", "BkColorG", "BkColorB", "FgColorR",
                              "FgColorG", "FgColorB", "7ColorFlags", "ColorTypeFlags"};
  for (const char* k : audio_keys) d["AudioLightInfo"][k] = 1;
  const char* led_keys[] = {"LEDREGMode", "LEDBrightness", "LEDSpeed", "LEDDirection",
                            "LEDMultiColor", "red", "green", "blue"};
  for (const char* k : led_keys) d["LightList"][0][k] = 1;
  d["KeyList"][0]["Assignment"] = 0x100100;
  d["KeyList"][0]["DefaultAssignment"] = 0x100100;
  const char* kb_keys[] = {"Repeat", "RepeatDelay", "Key6Flag", "PollingRate", "WFlag", "WinFlag",
                           "DoubleClickTime", "MouseSpeed", "PointerPrecision", "ScorllPage",
                           "WheelScorlllinse"};
  for (const char* k : kb_keys) d["SystemStages"][k] = 1;
  d["ReportStages"]["StageActive"] = 1;
  d["DPIStages"]["StageActive"] = 0;
  const char* dpi_keys[] = {"StageActive", "StageXY", "StageDPIX", "StageDPIY",
                            "StageColorR", "StageColorG", "StageColorB"};
  for (const char* k : dpi_keys) d["DPIStages"]["StageDPIs"][0][k] = 800;
  d["CorrectInfo"][0]["CorrectPixThresh"] = 1;
  d["CorrectInfo"][0]["CorrectMinSq"] = 1;
  d["CorrectInfo"][0]["CorrectSelect"] = 1;
  d["CorrectInfo"][0]["CorrectName"] = "x";
  d["CustomLightMode"]["CustomLightModeGroupIndex"] = 0;
  for (const char* k : {"Red", "Green", "Blue", "Alpha"}) d["CustomLightMode"]["LightColorInfo"][0][0][k] = 1;
  const char* set_keys[] = {"MagicEnable", "MagicType", "EqType", "CustomEqSeletIndex",
                            "MicInSelect", "MicInValue", "MicMoniterSelect", "MicMoniterValue"};
  for (const char* k : set_keys) d["SystemSetStages"][k] = 1;
  // Explicit null: a sparse JsonCpp array does not compare equal to its parsed form.
  d["EQHzValueInfo"][0] = Json::Value();
  d["EQHzValueInfo"][1][0]["value"] = 1;
  d["CustomEQNameInfo"][0]["Name"] = "n";
  d["CustomEQHzValueInfo"][0][0]["value"] = 1;
  return d;
}

using Step = std::variant<std::string, Json::ArrayIndex>;

void ForEachPath(const Json::Value& v, std::vector<Step>& path,
                 const std::function<void(const std::vector<Step>&)>& visit) {
  visit(path);
  if (v.isObject()) {
    for (const std::string& key : v.getMemberNames()) {
      path.emplace_back(key);
      ForEachPath(v[key], path, visit);
      path.pop_back();
    }
  } else if (v.isArray()) {
    for (Json::ArrayIndex i = 0; i < v.size(); ++i) {
      path.emplace_back(i);
      ForEachPath(v[i], path, visit);
      path.pop_back();
    }
  }
}

Json::Value& At(Json::Value& v, const std::vector<Step>& path) {
  Json::Value* p = &v;
  for (const Step& s : path) {
    p = std::holds_alternative<std::string>(s) ? &(*p)[std::get<std::string>(s)]
                                               : &(*p)[std::get<Json::ArrayIndex>(s)];
  }
  return *p;
}

std::vector<Json::Value> WrongValues() {
  Json::Value nested;
  nested["a"][0]["b"] = "c";
  return {Json::Value("text"), Json::Value(Json::arrayValue), nested, Json::Value(true),
          Json::Value(-1), Json::Value(1e300), Json::Value(Json::UInt64{~0ull}), Json::Value()};
}

// Every getter of every profile class, for a device object loaded from path.
void ReadEverything(const std::string& path, const std::string& defaults) {
  CKeyboardProfiledata k;
  k.SetDefaultPath(defaults);
  k.LoadProfile(path);
  k.GetLightInfo();
  k.GetAudioLightInfo();
  k.GetLightList();
  k.GetKeyList();
  k.GetSystemStages();
  k.GetCustomGroupIndex();
  EXPECT_EQ(k.GetCustomColours(0, 4).size(), 4u);
  k.GetCustomColours(k.GetLightInfo().custom_group, 2);
  CMouseProfiledata m;
  m.SetDefaultPath(defaults);
  m.LoadProfile(path);
  m.GetDpiStages();
  m.GetMouseSystemStages();
  m.GetCorrectInfo();
  m.GetActiveDpiStage();
  CZo6533Profiledata h;
  h.SetDefaultPath(defaults);
  h.LoadProfile(path);
  h.GetSystemSetStages();
  for (int type = 0; type <= 14; ++type) h.GetEqValues(type);
  EXPECT_EQ(h.GetCustomEqValues(0).size(), 10u);
  h.GetCustomEqNames();
}

int CountAside(const TempFolder& dir, const std::string& name) {
  int n = 0;
  for (const std::string& f : dir.names()) n += f.rfind(name + ".unreadable-", 0) == 0;
  return n;
}

class HostileFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    Json::Value defaults;
    defaults["Device"][0] = FullDevice();
    WriteJsonFile(defaults_path(), defaults);
  }
  std::string defaults_path() const { return program_.file("mouse.Json"); }
  std::string profile_path() const { return dir_.file("p.Json"); }

  // Loading a profile that cannot be used must keep the original aside, byte for byte,
  // and leave a usable profile in its place.
  void ExpectKeptAsideAndRecreated(const std::string& original) {
    CMouseProfiledata p;
    p.SetDefaultPath(defaults_path());
    p.LoadProfile(profile_path());
    const Json::Value& device = p.GetDeviceObject();
    EXPECT_EQ(device, FullDevice());
    EXPECT_EQ(ReadJsonFile(profile_path())["Device"][0], FullDevice());
    ASSERT_EQ(CountAside(dir_, "p.Json"), 1);
    for (const std::string& f : dir_.names()) {
      if (f.rfind("p.Json.unreadable-", 0) == 0) {
        EXPECT_TRUE(read_text(dir_.file(f)) == original);
      }
    }
  }

  TempFolder dir_;
  TempFolder program_;
};

}  // namespace

TEST_F(HostileFiles, WrongTypeInEveryMemberNeitherCrashesNorChangesTheFile) {
  Json::Value doc;
  doc["profilename"] = "p";
  doc["Device"][0] = FullDevice();
  std::vector<Step> path{std::string("Device")};
  int cases = 0;
  ForEachPath(doc["Device"], path, [&](const std::vector<Step>& at) {
    for (const Json::Value& wrong : WrongValues()) {
      Json::Value broken = doc;
      At(broken, at) = wrong;
      ASSERT_TRUE(WriteJsonFile(profile_path(), broken));
      const std::string before = read_text(profile_path());
      ReadEverything(profile_path(), defaults_path());
      // Only a device object that is not an object at all is a reason to rewrite.
      if (Element(Member(broken, "Device"), 0).isObject()) {
        ASSERT_EQ(read_text(profile_path()), before) << StyledJsonText(broken);
      }
      ++cases;
    }
  });
  EXPECT_GT(cases, 500);
  // Rewrites happened only with the original kept aside.
  EXPECT_GT(CountAside(dir_, "p.Json"), 0);
}

TEST_F(HostileFiles, SettersRepairWrongTypesAndTheSaveReadsBack) {
  Json::Value doc;
  doc["Device"][0] = FullDevice();
  for (const std::string& key : doc["Device"][0].getMemberNames()) doc["Device"][0][key] = "junk";
  WriteJsonFile(profile_path(), doc);
  CKeyboardProfiledata k;
  k.SetProfilePath(profile_path());
  k.LoadProfile(profile_path());
  k.SetLightInfo(LightInfo{.select_item = 2});
  k.SetSystemStages(KeyboardSystemStages{.repeat = 3});
  k.SetCustomColours({{1, 2, 3, 4}}, 1);
  k.SetCustomGroupIndex(1);
  k.SetKeyList({KeyAssignRecord{}});
  ASSERT_TRUE(k.Save());
  CKeyboardProfiledata again;
  again.LoadProfile(profile_path());
  EXPECT_EQ(again.GetLightInfo().select_item, 2);
  EXPECT_EQ(again.GetSystemStages().repeat, 3);
  EXPECT_EQ(again.GetCustomColours(1, 1)[0], (CustomColour{1, 2, 3, 4}));
  EXPECT_EQ(again.GetDeviceObject()["AudioLightInfo"].asString(), "junk");  // untouched
}

TEST_F(HostileFiles, TruncatedProfilesAreKeptAside) {
  Json::Value doc;
  doc["profilename"] = "p";
  doc["Device"][0] = FullDevice();
  const std::string text = StyledJsonText(doc);
  for (std::size_t cut : {std::size_t{1}, text.size() / 3, text.size() / 2, text.size() - 3}) {
    const std::string partial = text.substr(0, cut);
    write_text(profile_path(), partial);
    ExpectKeptAsideAndRecreated(partial);
    for (const std::string& f : dir_.names()) {
      if (f != "p.Json") std::remove(dir_.file(f).c_str());
    }
  }
}

TEST_F(HostileFiles, BinaryJunkIsKeptAside) {
  std::mt19937 rng(7);
  std::string junk(4096, '\0');
  for (char& c : junk) c = static_cast<char>(rng());
  write_text(profile_path(), junk);
  ExpectKeptAsideAndRecreated(junk);
}

TEST_F(HostileFiles, EmptyFileReadsAsMissing) {
  write_text(profile_path(), "");
  CMouseProfiledata p;
  p.SetDefaultPath(defaults_path());
  EXPECT_TRUE(p.LoadProfile(profile_path()));
  EXPECT_EQ(p.GetDeviceObject(), FullDevice());
  EXPECT_EQ(CountAside(dir_, "p.Json"), 0);
}

TEST_F(HostileFiles, DeepNestingIsRejectedWithoutOverflowingTheStack) {
  const int depth = 100000;
  std::string arrays(depth, '[');
  arrays += std::string(depth, ']');
  EXPECT_TRUE(ParseJsonText(arrays).isNull());
  std::string objects = "{\"Device\":[";
  for (int i = 0; i < depth; ++i) objects += "{\"a\":";
  objects += "1";
  objects += std::string(depth, '}');
  objects += "]}";
  write_text(profile_path(), objects);
  ExpectKeptAsideAndRecreated(objects);
  // Within the limit a nested document is fine.
  std::string shallow(kMaxJsonNesting - 1, '[');
  shallow += std::string(kMaxJsonNesting - 1, ']');
  EXPECT_TRUE(ParseJsonText(shallow).isArray());
}

TEST_F(HostileFiles, HundredMegabyteFileIsNotReadAndKeptAside) {
  const std::string head = "{\"Device\":[{\"LightInfo\":{\"Red\":1}}], \"pad\": \"";
  write_text(profile_path(), head);
  {
    int fd = open(profile_path().c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 100 << 20), 0);  // sparse: costs no disk
    close(fd);
  }
  EXPECT_EQ(ReadFileText(profile_path()), "");
  EXPECT_TRUE(ReadJsonFile(profile_path()).isNull());
  CMouseProfiledata p;
  p.SetDefaultPath(defaults_path());
  EXPECT_TRUE(p.LoadProfile(profile_path()));
  EXPECT_EQ(p.GetDeviceObject(), FullDevice());
  ASSERT_EQ(CountAside(dir_, "p.Json"), 1);
  for (const std::string& f : dir_.names()) {
    if (f.rfind("p.Json.unreadable-", 0) == 0) {
      EXPECT_EQ(std::filesystem::file_size(dir_.file(f)), 100u << 20);
    }
  }
}

TEST_F(HostileFiles, ProfileListWithWrongTypesEverywhere) {
  Json::Value list;
  list["profileselect"] = 1;
  list["profilelist"][0]["profilename"] = "a";
  list["profilelist"][0]["profileUUID"] = "2024_01_01_00_00_00_001";
  list["profilelist"][0]["profileislink"] = 0;
  list["profilelist"][0]["profilelinkmame"] = "";
  list["profilelist"][1] = list["profilelist"][0];
  list["profilelist"][1]["profilename"] = "b";
  list["profilelist"][1]["profileUUID"] = "2024_01_01_00_00_00_002";
  std::vector<Step> path;
  int cases = 0;
  ForEachPath(list, path, [&](const std::vector<Step>& at) {
    for (const Json::Value& wrong : WrongValues()) {
      TempFolder user;
      Json::Value broken = list;
      At(broken, at) = wrong;
      WriteJsonFile(user.file(kProfileListFile), broken);
      ProfileList l;
      l.SetKeepsAudioOnReset(true);
      l.SetFolders(user.folder(), defaults_path());
      l.InitProfileList();
      ASSERT_GE(l.Count(), 1);
      ASSERT_GE(l.GetSelectedIndex(), 0);
      l.AddProfile();
      l.CopyProfile();
      l.RenameProfile("renamed");
      l.ResetProfile();
      l.SelectProfile(l.Count() - 1);
      l.DeleteProfile();
      l.ExportProfile(user.file("out"));
      // Whatever happened, the list file is a list again.
      ASSERT_TRUE(ReadJsonFile(user.file(kProfileListFile))["profilelist"].isArray());
      ++cases;
    }
  });
  EXPECT_GT(cases, 80);
}

TEST_F(HostileFiles, CataloguesWithWrongTypesEverywhere) {
  Json::Value catalogue;
  catalogue["DefaultLightName"][0][0]["LightName"] = "m";
  catalogue["DefaultLightName"][0][0]["visible"] = true;
  catalogue["DefaultLightName"][0][0]["value"] = 3;
  catalogue["AreaLightName"][0][0]["LightName"] = "a";
  Json::Value macros;
  macros["MacroInfo"][0]["MacroName"] = "x";
  std::vector<Step> path;
  LightConfigFiles files{dir_.file("macro.config"), dir_.file("default_light.json"),
                         dir_.file("kelto_light.config"), {}};
  ForEachPath(catalogue, path, [&](const std::vector<Step>& at) {
    for (const Json::Value& wrong : WrongValues()) {
      Json::Value broken = catalogue;
      At(broken, at) = wrong;
      WriteJsonFile(files.default_light, broken);
      WriteJsonFile(files.custom_light, broken);
      WriteJsonFile(files.macro_config, broken);
      LightConfigLists lists;
      LoadLightConfig(lists, files, 0, true);
      EXPECT_EQ(lists.mode_names.size(), lists.mode_visible.size());
      CBasicProfiledata p;
      p.LoadConfig(files.custom_light);
      p.GetLightEffectList();
    }
  });
  ForEachPath(macros, path, [&](const std::vector<Step>& at) {
    for (const Json::Value& wrong : WrongValues()) {
      Json::Value broken = macros;
      At(broken, at) = wrong;
      WriteJsonFile(files.macro_config, broken);
      LightConfigLists lists;
      LoadLightConfig(lists, files, 0, false);
    }
  });
}

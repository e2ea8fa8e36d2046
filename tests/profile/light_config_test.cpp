#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "profile/data_paths.h"
#include "profile/json_file.h"
#include "profile/light_config.h"
#include "tests/support/temp_folder.h"

using namespace qxr;
using qxr::testing::TempFolder;
using qxr::testing::write_text;

namespace {

Json::Value Names(std::initializer_list<const char*> names) {
  Json::Value a(Json::arrayValue);
  int value = 10;
  for (const char* n : names) {
    Json::Value e;
    e["LightName"] = n;
    e["visible"] = value % 2 == 0;
    e["value"] = value++;
    a.append(e);
  }
  return a;
}

class LightConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramDataRoot(program_.folder());
    mkdir((program_.folder() + "DefaultData").c_str(), 0755);
    Json::Value catalogue;
    catalogue["DefaultLightName"][0] = Names({"wave", "static"});
    catalogue["DefaultLightName"][1] = Names({"pad1", "pad2", "pad3"});
    catalogue["AreaLightName"][0] = Names({"all"});
    catalogue["AreaLightName"][1] = Names({"edge", "logo"});
    WriteJsonFile(DefaultDataFolder() + kDefaultLightFile, catalogue);
    Json::Value macros;
    macros["MacroInfo"][0]["MacroName"] = "burst";
    macros["MacroInfo"][1]["MacroName"] = "宏";
    WriteJsonFile(user_.file(kMacroConfigFile), macros);
    Json::Value effects;
    effects["LightInfo"][0] = Names({"fire"});
    effects["LightInfo"][1] = Names({"ice", "snow"});
    WriteJsonFile(user_.file(kCustomLightConfigFile), effects);
  }
  void TearDown() override { SetProgramDataRoot(""); }

  TempFolder program_;
  TempFolder user_;
  LightConfigLists lists_;
};

}  // namespace

TEST_F(LightConfigTest, KeyboardLoadsEverySection) {
  LoadLightConfig(lists_, LightConfigFilesFor(true, user_.folder()), 0, true);
  EXPECT_EQ(lists_.macro_names, (std::vector<std::string>{"burst", "宏"}));
  EXPECT_EQ(lists_.mode_names, (std::vector<std::string>{"wave", "static"}));
  EXPECT_EQ(lists_.mode_visible, (std::vector<bool>{true, false}));
  EXPECT_EQ(lists_.mode_values, (std::vector<int>{10, 11}));
  EXPECT_EQ(lists_.area_names, std::vector<std::string>{"all"});
  EXPECT_EQ(lists_.custom_effect_names, std::vector<std::string>{"fire"});
}

TEST_F(LightConfigTest, PadVariantOneReadsRowOneAndNoModeValues) {
  LoadLightConfig(lists_, LightConfigFilesFor(false, user_.folder()), 1, false);
  EXPECT_TRUE(lists_.macro_names.empty());  // the pad reads "kelto_macro.config"
  EXPECT_EQ(lists_.mode_names, (std::vector<std::string>{"pad1", "pad2", "pad3"}));
  EXPECT_TRUE(lists_.mode_values.empty());
  EXPECT_EQ(lists_.area_names, (std::vector<std::string>{"edge", "logo"}));
  EXPECT_EQ(lists_.custom_effect_names, (std::vector<std::string>{"ice", "snow"}));
}

TEST_F(LightConfigTest, MacroListIsAlwaysClearedOtherSectionsKeepTheirLists) {
  LoadLightConfig(lists_, LightConfigFilesFor(true, user_.folder()), 0, false);
  ASSERT_EQ(lists_.macro_names.size(), 2u);
  std::remove(user_.file(kMacroConfigFile).c_str());
  Json::Value catalogue;
  catalogue["DefaultLightName"][0] = Names({"only"});
  WriteJsonFile(DefaultDataFolder() + kDefaultLightFile, catalogue);  // no "AreaLightName"
  write_text(user_.file(kCustomLightConfigFile), "{ broken");
  LoadLightConfig(lists_, LightConfigFilesFor(true, user_.folder()), 0, false);
  EXPECT_TRUE(lists_.macro_names.empty());
  EXPECT_EQ(lists_.mode_names, std::vector<std::string>{"only"});
  EXPECT_EQ(lists_.area_names, std::vector<std::string>{"all"});
  EXPECT_EQ(lists_.custom_effect_names, std::vector<std::string>{"fire"});
}

TEST_F(LightConfigTest, MissingCatalogueKeepsModesAndAreas) {
  LoadLightConfig(lists_, LightConfigFilesFor(true, user_.folder()), 0, true);
  std::remove((DefaultDataFolder() + kDefaultLightFile).c_str());
  LoadLightConfig(lists_, LightConfigFilesFor(true, user_.folder()), 0, true);
  EXPECT_EQ(lists_.mode_names.size(), 2u);
  EXPECT_EQ(lists_.mode_values.size(), 2u);
  EXPECT_EQ(lists_.area_names.size(), 1u);
}

TEST_F(LightConfigTest, ElementsWithoutMembersGiveEmptyNamesAndDefaults) {
  Json::Value catalogue;
  catalogue["DefaultLightName"][0][0] = Json::Value(Json::objectValue);
  catalogue["DefaultLightName"][0][1] = "not an object";
  catalogue["DefaultLightName"][0][2]["LightName"] = 5;
  catalogue["DefaultLightName"][0][2]["visible"] = "yes";
  catalogue["DefaultLightName"][0][2]["value"] = "7";
  WriteJsonFile(DefaultDataFolder() + kDefaultLightFile, catalogue);
  LoadLightConfig(lists_, LightConfigFilesFor(true, user_.folder()), 0, true);
  EXPECT_EQ(lists_.mode_names, (std::vector<std::string>{"", "", "5"}));
  EXPECT_EQ(lists_.mode_visible, (std::vector<bool>{false, false, false}));
  EXPECT_EQ(lists_.mode_values, (std::vector<int>{0, 0, 0}));
}

TEST_F(LightConfigTest, CustomCatalogueFallsBackToTheShippedCopy) {
  TempFolder empty_device;
  EXPECT_EQ(CustomLightConfigPath(empty_device.folder()), empty_device.folder() + kCustomLightConfigFile);
  write_text(DefaultDataFolder() + kCustomLightConfigFile, "{}");
  EXPECT_EQ(CustomLightConfigPath(empty_device.folder()), DefaultDataFolder() + kCustomLightConfigFile);
  EXPECT_EQ(CustomLightConfigPath(user_.folder()), user_.file(kCustomLightConfigFile));
}

TEST(DataPaths, UserFolderFromOverrideEnvironmentOrXdg) {
  TempFolder root;
  SetUserDataRoot(root.file("nested/deeper"));
  const std::string folder = UserDataFolder(kMousePadFolder);
  EXPECT_EQ(folder, root.file("nested/deeper") + "/MousePad/");
  struct stat st {};
  EXPECT_EQ(stat(folder.c_str(), &st), 0);
  SetUserDataRoot("");

  const char* saved_data = std::getenv("QXR470_DATA_DIR");
  const std::string saved = saved_data ? saved_data : "";
  setenv("QXR470_DATA_DIR", root.file("env").c_str(), 1);
  EXPECT_EQ(UserDataRoot(), root.file("env") + "/");
  unsetenv("QXR470_DATA_DIR");
  const char* saved_xdg_c = std::getenv("XDG_DATA_HOME");
  const std::string saved_xdg = saved_xdg_c ? saved_xdg_c : "";
  setenv("XDG_DATA_HOME", root.file("xdg").c_str(), 1);
  EXPECT_EQ(UserDataRoot(), root.file("xdg") + "/QXR470 GAMING KEYBOARD/");
  setenv("XDG_DATA_HOME", "relative/is/ignored", 1);
  EXPECT_EQ(UserDataRoot().find("relative"), std::string::npos);
  if (saved_xdg_c) {
    setenv("XDG_DATA_HOME", saved_xdg.c_str(), 1);
  } else {
    unsetenv("XDG_DATA_HOME");
  }
  if (saved_data) setenv("QXR470_DATA_DIR", saved.c_str(), 1);
}

TEST(DataPaths, DefaultProfileBesideTheProgramData) {
  SetProgramDataRoot("/opt/x");
  EXPECT_EQ(DefaultDataFolder(), "/opt/x/DefaultData/");
  EXPECT_EQ(DefaultProfilePath(kHeadsetFolder), "/opt/x/DefaultData/HD.Json");
  SetProgramDataRoot("");
  // Tests run with QXR470_SOURCE_DIR naming the source tree.
  if (const char* source = std::getenv("QXR470_SOURCE_DIR")) {
    EXPECT_EQ(ProgramDataRoot(), std::string(source) + "/");
  }
}

// The shipped catalogue keeps one section per model; each device must read its own.
TEST_F(LightConfigTest, ModelSectionWinsOverTheTopLevelRows) {
  Json::Value catalogue;
  catalogue["keyboard"]["DefaultLightName"][0] = Names({"k0", "k1", "k2"});
  catalogue["mouse"]["DefaultLightName"][0] = Names({"m0"});
  catalogue["mouse"]["AreaLightName"][0] = Names({"wheel", "logo"});
  WriteJsonFile(DefaultDataFolder() + kDefaultLightFile, catalogue);

  std::string keyboard_folder = user_.folder() + "keyboard/";
  mkdir(keyboard_folder.c_str(), 0755);
  LightConfigFiles keyboard = LightConfigFilesFor(true, keyboard_folder);
  EXPECT_EQ(keyboard.model, "keyboard");
  LoadLightConfig(lists_, keyboard, 0, true);
  EXPECT_EQ(lists_.mode_names, (std::vector<std::string>{"k0", "k1", "k2"}));

  LightConfigFiles mouse = LightConfigFilesFor(true, user_.folder() + "mouse");
  EXPECT_EQ(mouse.model, "mouse");
  LoadLightConfig(lists_, mouse, 0, false);
  EXPECT_EQ(lists_.mode_names, (std::vector<std::string>{"m0"}));
  EXPECT_EQ(lists_.area_names, (std::vector<std::string>{"wheel", "logo"}));

  // A model without a section reads the file's top level: nothing there, lists kept.
  LoadLightConfig(lists_, LightConfigFilesFor(false, user_.folder() + "MousePad/"), 0, false);
  EXPECT_EQ(lists_.mode_names, (std::vector<std::string>{"m0"}));
}

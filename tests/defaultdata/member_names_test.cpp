// The program reads members by name and falls back to zero when a name is missing, so a
// misspelt key in a shipped file would go unnoticed. Every object of the default data must
// carry exactly the members its reader looks for.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tests/defaultdata/default_data.h"

namespace qxr::test {
namespace {

using Names = std::set<std::string>;

const Names kProfileFile = {"profilename", "profileUUID", "Device"};
const Names kLightInfo = {"SelectItem", "Light", "Speed", "Fx", "MultiColor", "Red", "Green",
                          "Blue", "ZZCCLedMode", "CustomGroup", "OldLedmode"};
const Names kAudioLightInfo = {"AudioMode", "BkColorR", "BkColorG", "BkColorB", "FgColorR",
                               "FgColorG", "FgColorB", "7ColorFlags", "ColorTypeFlags"};
const Names kPerLed = {"LEDREGMode", "LEDBrightness", "LEDSpeed", "LEDDirection",
                       "LEDMultiColor", "red", "green", "blue"};
const Names kKey = {"Assignment", "DefaultAssignment"};
const Names kKeyboardStages = {"Repeat", "RepeatDelay", "Key6Flag", "PollingRate", "WFlag",
                               "WinFlag"};
const Names kCustomLightMode = {"CustomLightModeGroupIndex", "LightColorInfo"};
const Names kCustomColour = {"Red", "Green", "Blue", "Alpha"};
const Names kMouseStages = {"DoubleClickTime", "MouseSpeed", "PointerPrecision", "ScorllPage",
                            "WheelScorlllinse"};
const Names kReportStages = {"StageActive"};
const Names kDpiStages = {"StageActive", "StageDPIs"};
const Names kDpiStage = {"StageActive", "StageXY", "StageDPIX", "StageDPIY", "StageColorR",
                         "StageColorG", "StageColorB"};
const Names kCorrect = {"CorrectPixThresh", "CorrectMinSq", "CorrectSelect", "CorrectName"};
const Names kHeadsetStages = {"MagicEnable", "MagicType", "EqType", "CustomEqSeletIndex",
                              "MicInSelect", "MicInValue", "MicMoniterSelect",
                              "MicMoniterValue"};
const Names kEqBand = {"value"};
const Names kModeCatalogue = {"DefaultLightName", "AreaLightName"};
const Names kMode = {"LightName", "visible", "value"};
const Names kArea = {"LightName"};
const Names kEffect = {"LightName", "Guid"};
const Names kEffectStep = {"LEDREGMode", "LEDBrightness", "LEDSpeed", "LEDDirection",
                           "LEDMultiColor", "red", "green", "blue", "Time", "Cyle"};
const Names kRecoilFile = {"MacroName", "Guid", "Events", "Version"};
const Names kMacroEvent = {"Action", "Button", "Delay", "Type"};
const Names kLanguage = {"Language_ID", "Language_name", "Language_file", "Language_text"};

// Checks the members of one object and counts what was checked, so that a test over an
// empty array cannot pass by checking nothing.
class MemberCheck {
 public:
  void Expect(const Json::Value& object, const Names& names, const std::string& where) {
    EXPECT_TRUE(object.isObject()) << where << " is not an object";
    EXPECT_EQ(MemberNames(object), names) << where;
    ++checked_;
  }
  void ExpectEach(const Json::Value& array, const Names& names, const std::string& where) {
    EXPECT_TRUE(array.isArray() && !array.empty()) << where << " is not a filled array";
    for (Json::ArrayIndex i = 0; i < array.size(); ++i) {
      Expect(array[i], names, where + "[" + std::to_string(i) + "]");
    }
  }
  int checked() const { return checked_; }

 private:
  int checked_ = 0;
};

Json::Value DeviceOf(const std::string& file) { return ReadDefaultDocument(file)["Device"][0]; }

TEST(DefaultDataMembers, ProfilesCarryExactlyTheMembersTheirDeviceReads) {
  MemberCheck check;
  for (const char* file : {"keyboard.Json", "mouse.Json", "MousePad.Json", "HD.Json"}) {
    const Json::Value doc = ReadDefaultDocument(file);
    check.Expect(doc, kProfileFile, file);
    EXPECT_EQ(doc["Device"].size(), 1u) << file;
    check.Expect(doc["Device"][0]["LightInfo"], kLightInfo, std::string(file) + " LightInfo");
  }

  const Json::Value kb = DeviceOf("keyboard.Json");
  check.Expect(kb, {"LightInfo", "AudioLightInfo", "KeyList", "SystemStages", "CustomLightMode"},
               "keyboard");
  check.Expect(kb["AudioLightInfo"], kAudioLightInfo, "keyboard AudioLightInfo");
  check.ExpectEach(kb["KeyList"], kKey, "keyboard KeyList");
  check.Expect(kb["SystemStages"], kKeyboardStages, "keyboard SystemStages");
  check.Expect(kb["CustomLightMode"], kCustomLightMode, "keyboard CustomLightMode");
  for (const Json::Value& group : kb["CustomLightMode"]["LightColorInfo"]) {
    check.ExpectEach(group, kCustomColour, "keyboard LightColorInfo");
  }

  const Json::Value ms = DeviceOf("mouse.Json");
  check.Expect(ms, {"LightInfo", "LightList", "KeyList", "SystemStages", "ReportStages",
                    "DPIStages", "CorrectInfo"},
               "mouse");
  check.ExpectEach(ms["LightList"], kPerLed, "mouse LightList");
  check.ExpectEach(ms["KeyList"], kKey, "mouse KeyList");
  check.Expect(ms["SystemStages"], kMouseStages, "mouse SystemStages");
  check.Expect(ms["ReportStages"], kReportStages, "mouse ReportStages");
  check.Expect(ms["DPIStages"], kDpiStages, "mouse DPIStages");
  check.ExpectEach(ms["DPIStages"]["StageDPIs"], kDpiStage, "mouse StageDPIs");
  check.ExpectEach(ms["CorrectInfo"], kCorrect, "mouse CorrectInfo");

  const Json::Value pad = DeviceOf("MousePad.Json");
  check.Expect(pad, {"LightInfo", "LightList"}, "mouse pad");
  check.ExpectEach(pad["LightList"], kPerLed, "mouse pad LightList");

  const Json::Value hd = DeviceOf("HD.Json");
  check.Expect(hd, {"LightInfo", "LightList", "SystemSetStages", "EQHzValueInfo",
                    "CustomEQNameInfo", "CustomEQHzValueInfo"},
               "headset");
  check.ExpectEach(hd["LightList"], kPerLed, "headset LightList");
  check.Expect(hd["SystemSetStages"], kHeadsetStages, "headset SystemSetStages");
  for (const Json::Value& preset : hd["EQHzValueInfo"]) {
    check.ExpectEach(preset, kEqBand, "headset EQHzValueInfo");
  }
  EXPECT_TRUE(hd["CustomEQNameInfo"].isArray());
  EXPECT_TRUE(hd["CustomEQHzValueInfo"].isArray());

  // At least: 4 files x 2; keyboard 174 and 4 colour groups of 170; mouse 28; pad 16;
  // headset 15 and 13 presets of 10 bands.
  EXPECT_GE(check.checked(), 8 + 174 + 4 * 170 + 28 + 16 + 15 + 130);
}

TEST(DefaultDataMembers, CataloguesAndEffectsUseTheReadersNames) {
  MemberCheck check;
  const Json::Value modes = ReadDefaultDocument("default_light.json");
  EXPECT_EQ(MemberNames(modes), (Names{"keyboard", "mouse", "MousePad", "HD"}));
  for (const std::string& model : modes.getMemberNames()) {
    check.Expect(modes[model], kModeCatalogue, model);
    for (const Json::Value& row : modes[model]["DefaultLightName"]) {
      check.ExpectEach(row, kMode, model + " DefaultLightName");
    }
    for (const Json::Value& row : modes[model]["AreaLightName"]) {
      check.ExpectEach(row, kArea, model + " AreaLightName");
    }
  }

  const Json::Value effects = ReadDefaultDocument("kelto_light.config");
  check.Expect(effects, {"LightInfo"}, "kelto_light.config");
  for (const Json::Value& row : effects["LightInfo"]) {
    check.ExpectEach(row, kEffect, "kelto_light.config LightInfo");
    for (const Json::Value& effect : row) {
      const std::string file = effect["Guid"].asString() + ".light";
      const Json::Value steps = ReadDefaultDocument(file);
      check.Expect(steps, {"LEDEffectList"}, file);
      check.ExpectEach(steps["LEDEffectList"], kEffectStep, file);
    }
  }
  // At least: 4 models, 67 modes, 7 areas, the catalogue, 6 effects and their files.
  EXPECT_GE(check.checked(), 4 + 67 + 7 + 1 + 6 + 6);
}

TEST(DefaultDataMembers, RecoilScriptsAndLanguagesUseTheReadersNames) {
  MemberCheck check;
  for (int gun = 0; gun < 4; ++gun) {
    const std::string file = "ShootData_" + std::to_string(gun) + ".Shoot";
    const Json::Value doc = ReadDefaultDocument(file);
    check.Expect(doc, kRecoilFile, file);
    check.ExpectEach(doc["Events"], kMacroEvent, file);
  }
  const Json::Value languages = ReadDefaultDocument("Language.config");
  check.Expect(languages, {"Language"}, "Language.config");
  check.ExpectEach(languages["Language"], kLanguage, "Language.config");
  EXPECT_GE(check.checked(), 4 * 181 + 3);
}

}  // namespace
}  // namespace qxr::test

// The lighting-mode catalogues, the custom-effect catalogue and its step files, read through
// the loader and the profile object the devices use.
#include <gtest/gtest.h>

#include <set>

#include "profile/json_file.h"
#include "profile/light_config.h"
#include "tests/defaultdata/default_data.h"

namespace qxr::test {
namespace {

constexpr int kLevelMax = 4;
// Step types of the lighting program player.
const std::set<int> kStepTypes = {0, 1, 2, 4, 5};

struct ModelCatalogue {
  const char* model;
  int variants;
  int modes;
  bool keyboard;
  // Mode indices in which the device plays the custom effect at that index.
  std::set<int> program_modes;
};

const ModelCatalogue kModels[] = {
    {"keyboard", 1, 31, true, {0, 19}},
    {"mouse", 1, 9, false, {}},
    {"MousePad", 2, 9, false, {5}},
    {"HD", 1, 9, false, {5}},
};

// Loads one model's catalogue with the devices' loader, from a file holding that model's
// section only.
LightConfigLists LoadModel(const testing::TempFolder& scratch, const ModelCatalogue& m, int variant) {
  const std::string section = scratch.file(std::string(m.model) + "_light.json");
  EXPECT_TRUE(WriteJsonFile(section, ReadDefaultDocument(kDefaultLightFile)[m.model]));
  LightConfigFiles files;
  files.macro_config = scratch.file("no_such_macro.config");
  files.default_light = section;
  files.custom_light = DefaultDataFile(kCustomLightConfigFile);
  LightConfigLists lists;
  LoadLightConfig(lists, files, variant, m.keyboard);
  return lists;
}

TEST(LightCatalogue, EveryModelListsItsModesWithTranslatableNames) {
  testing::TempFolder scratch;
  const Json::Value texts = ReadDefaultDocument("language_keys.json");
  for (const ModelCatalogue& m : kModels) {
    for (int v = 0; v < m.variants; ++v) {
      SCOPED_TRACE(std::string(m.model) + " variant " + std::to_string(v));
      const LightConfigLists lists = LoadModel(scratch, m, v);
      ASSERT_EQ(lists.mode_names.size(), static_cast<size_t>(m.modes));
      ASSERT_EQ(lists.mode_visible.size(), static_cast<size_t>(m.modes));
      for (const std::string& name : lists.mode_names) {
        EXPECT_TRUE(texts.isMember(name)) << name << " has no texts";
      }
      EXPECT_FALSE(lists.area_names.empty());
      for (const std::string& name : lists.area_names) {
        EXPECT_TRUE(texts.isMember(name)) << name << " has no texts";
      }
      // Every mode the device can show is offered, apart from program slots without effect.
      const int effects = static_cast<int>(lists.custom_effect_names.size());
      for (int i = 0; i < m.modes; ++i) {
        const bool plays_missing_effect = m.program_modes.count(i) && i >= effects;
        EXPECT_EQ(lists.mode_visible[i], !plays_missing_effect) << "mode " << i;
      }
    }
  }
}

TEST(LightCatalogue, KeyboardModeNumbersMapBothWays) {
  testing::TempFolder scratch;
  const LightConfigLists lists = LoadModel(scratch, kModels[0], 0);
  ASSERT_EQ(lists.mode_values.size(), 31u);
  // The keyboard reports a mode number that is mapped back to the first index holding it:
  // a duplicate would make a mode unreachable.
  EXPECT_EQ(std::set<int>(lists.mode_values.begin(), lists.mode_values.end()).size(), 31u);
  // Music (21) and fed colour (22) are streamed by the host; only their numbers tell the
  // keyboard to leave its own effect alone.
  EXPECT_EQ(lists.mode_values[21], 21);
  EXPECT_EQ(lists.mode_values[22], 22);
  for (int value : lists.mode_values) {
    EXPECT_GE(value, 0);
    EXPECT_LT(value, 0xFE) << "0xFE means 'mode unchanged' to the keyboard";
  }
}

TEST(LightCatalogue, VariantsShareTheEffectRowThatIsPlayed) {
  // Effects are always played from row 0; a pad of variant 1 must list the same ones.
  testing::TempFolder scratch;
  const LightConfigLists v0 = LoadModel(scratch, kModels[2], 0);
  const LightConfigLists v1 = LoadModel(scratch, kModels[2], 1);
  ASSERT_FALSE(v0.custom_effect_names.empty());
  EXPECT_EQ(v0.custom_effect_names, v1.custom_effect_names);
}

TEST(LightCatalogue, EveryCustomEffectPlaysFromItsStepFile) {
  const Json::Value texts = ReadDefaultDocument("language_keys.json");
  // As a device does it: the catalogue's path first, then the document from that path.
  CBasicProfiledata profile;
  profile.SetConfigPath(DefaultDataFile(kCustomLightConfigFile));
  ASSERT_TRUE(profile.LoadConfig(profile.GetConfigPath()));
  ASSERT_TRUE(profile.GetConfigDocument().isObject());
  const Json::Value& row = profile.GetConfigDocument()["LightInfo"][0];
  ASSERT_GE(row.size(), 6u);
  for (Json::ArrayIndex m = 0; m < row.size(); ++m) {
    SCOPED_TRACE(row[m]["Guid"].asString());
    EXPECT_TRUE(texts.isMember(row[m]["LightName"].asString()));
    LightInfo light;
    light.select_item = static_cast<uint8_t>(m);
    profile.SetLightInfo(light);
    const std::vector<LightEffectStep> steps = profile.GetLightEffectList();
    ASSERT_FALSE(steps.empty());
    int total_ms = 0;
    for (const LightEffectStep& s : steps) {
      EXPECT_TRUE(kStepTypes.count(s.led_reg_mode)) << int(s.led_reg_mode);
      EXPECT_LE(s.led_brightness, kLevelMax);
      EXPECT_LE(s.led_speed, kLevelMax);
      EXPECT_LE(s.led_direction, 1);
      EXPECT_LE(s.led_multi_color, 1);
      EXPECT_GT(s.time, 0);
      total_ms += s.time;
    }
    EXPECT_GE(total_ms, 1000) << "an effect shorter than a second looks like a glitch";
  }
}

// The whole shipped file, read the way a device reads it: each model finds its own section.
TEST(LightCatalogue, ShippedFileGivesEachModelItsOwnModes) {
  testing::TempFolder scratch;
  for (const ModelCatalogue& m : kModels) {
    SCOPED_TRACE(m.model);
    LightConfigFiles files;
    files.macro_config = scratch.file("no_such_macro.config");
    files.default_light = DefaultDataFile(kDefaultLightFile);
    files.custom_light = DefaultDataFile(kCustomLightConfigFile);
    files.model = m.model;
    LightConfigLists lists;
    LoadLightConfig(lists, files, 0, m.keyboard);
    EXPECT_EQ(lists.mode_names.size(), static_cast<size_t>(m.modes));
  }
}

}  // namespace
}  // namespace qxr::test

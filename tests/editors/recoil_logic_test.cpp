// The recoil editor's rules without a GUI: a bullet as its six events, scripts that cannot be
// read, the factory scripts, and ".shoot" files that must be refused.
#include <gtest/gtest.h>

#include "editors/recoil/recoil_folder.h"
#include "profile/json_file.h"
#include "tests/support/temp_folder.h"

namespace qxr::editors::recoil {
namespace {

using qxr::testing::read_text;
using qxr::testing::TempFolder;
using qxr::testing::write_text;

Json::Value parse(const std::string& text) { return ParseJsonText(text); }

TEST(RecoilBullets, ABulletIsSixEventsAndOnlyItsMembersChange) {
  // Bullet 1 of a script whose events carry a member of their own, and bullet 0 in capitals.
  Json::Value doc = parse(R"({"MacroName":"gun_1_txt","Events":[
      {"Action":"down","Button":1,"Delay":10,"Type":1},{"Action":"up","Button":1,"Delay":0,"Type":1},
      {"Action":"DOWN","Button":7,"Delay":5,"Type":4},{"Action":"Down","Button":2,"Delay":"40","Type":5},
      {"Action":"down","Button":0,"Delay":0,"Type":4},{"Action":"down","Button":0,"Delay":0,"Type":5},
      {"Action":"up","Button":1,"Delay":10,"Type":1,"Note":"kept"}]})");
  EXPECT_EQ(RecoilBulletFromDocument(doc, 0), (RecoilBullet{true, 7, true, 2, 40}));
  // The mouse plays what the panel shows: a press.
  EXPECT_TRUE(MacroEventFromJson(doc["Events"][2]).down);
  EXPECT_EQ(RecoilBulletFromDocument(doc, 1), RecoilBullet{});  // mostly missing: zeros

  SetRecoilBullet(doc, 1, {true, 12, false, 3, 90});
  const Json::Value& e = doc["Events"];
  ASSERT_EQ(e.size(), 12u);
  const auto expect = [&](Json::ArrayIndex i, const char* action, int button, int delay, int type) {
    EXPECT_EQ(e[i]["Action"], action) << i;
    EXPECT_EQ(e[i]["Button"], button) << i;
    EXPECT_EQ(e[i]["Delay"], delay) << i;
    EXPECT_EQ(e[i]["Type"], type) << i;
  };
  expect(6, "down", 1, 10, 1);
  expect(7, "up", 1, 0, 1);
  expect(8, "down", 12, 5, 4);
  expect(9, "up", 3, 90, 5);
  expect(10, "down", 0, 0, 4);
  expect(11, "up", 0, 0, 5);
  EXPECT_EQ(e[6]["Note"], "kept");
  EXPECT_EQ(e[3]["Delay"], "40");  // bullet 0 untouched
  EXPECT_EQ(doc["MacroName"], "gun_1_txt");
  EXPECT_EQ(RecoilBulletFromDocument(doc, 1), (RecoilBullet{true, 12, false, 3, 90}));
}

TEST(RecoilBullets, StoringPastTheEndLeavesNoGapTheMouseWouldPlay) {
  for (const char* start : {R"({"Events":[]})", "null", R"({"Events":{"a":1}})", "[1,2]"}) {
    Json::Value doc = parse(start);
    SetRecoilBullet(doc, 2, {false, 4, true, 6, 33});
    ASSERT_EQ(doc["Events"].size(), 18u) << start;
    // The bullets before it are still bullets: clicks without pulls, valid events all.
    EXPECT_EQ(RecoilBulletFromDocument(doc, 0), RecoilBullet{}) << start;
    EXPECT_EQ(doc["Events"][0]["Type"], 1) << start;
    EXPECT_EQ(CheckRecoilImportText(StyledJsonText(doc)).check, MacroImportCheck::kOk) << start;
    EXPECT_EQ(RecoilBulletFromDocument(doc, 2), (RecoilBullet{false, 4, true, 6, 33})) << start;
  }
  Json::Value doc(Json::objectValue);
  SetRecoilBullet(doc, kRecoilBulletCount, {true, 1, true, 1, 1});  // outside the grid
  EXPECT_FALSE(doc.isMember("Events"));
  EXPECT_EQ(clamp_bullet(30), 29);
  EXPECT_EQ(clamp_bullet(-1), 0);
  EXPECT_EQ(clamp_gun(4), 3);
}

class RecoilFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int gun = 0; gun < kGunCount; ++gun) write_text(folder_.factory_path(gun), factory(gun));
  }
  // A factory script whose first bullet pulls gun + 1 up.
  static std::string factory(int gun) {
    Json::Value doc(Json::objectValue);
    SetRecoilBullet(doc, 0, {false, 0, true, static_cast<uint8_t>(gun + 1), 100});
    return StyledJsonText(doc);
  }
  std::vector<std::string> aside() const {
    std::vector<std::string> names;
    for (const std::string& name : user_.names()) {
      if (name.find(".unreadable") != std::string::npos) names.push_back(name);
    }
    return names;
  }
  TempFolder user_, defaults_;
  RecoilFolder folder_{user_.folder(), defaults_.folder()};
};

TEST_F(RecoilFolderTest, MissingAndUnreadableScriptsBecomeTheFactoryScriptsAndReadableOnesStay) {
  write_text(folder_.script_path(1), "{\"Events\": [");
  write_text(folder_.script_path(2), R"({"Events":[]})");
  write_text(folder_.script_path(3), "\x7f" "ELF");
  folder_.ensure_scripts();
  EXPECT_EQ(read_text(folder_.script_path(0)), factory(0));
  EXPECT_EQ(read_text(folder_.script_path(1)), factory(1));
  EXPECT_EQ(read_text(folder_.script_path(2)), R"({"Events":[]})");
  EXPECT_EQ(read_text(folder_.script_path(3)), factory(3));
  ASSERT_EQ(aside().size(), 2u);
  EXPECT_EQ(read_text(user_.file(aside()[0])), "{\"Events\": [");

  // Without factory scripts a missing script stays missing (and reads as zeros); no empty file.
  TempFolder bare;
  RecoilFolder lonely(bare.folder(), bare.folder() + "nowhere/");
  lonely.ensure_scripts();
  EXPECT_TRUE(bare.names().empty());
  EXPECT_EQ(lonely.bullets(0), std::vector<RecoilBullet>(kRecoilBulletCount));
}

TEST_F(RecoilFolderTest, StoringResettingAndTheirRefusals) {
  folder_.ensure_scripts();
  ASSERT_EQ(folder_.store(1, 4, {true, 20, false, 2, 50}), RecoilChange::kDone);
  ASSERT_EQ(folder_.store(2, 0, {true, 1, true, 1, 1}), RecoilChange::kDone);
  EXPECT_EQ(folder_.bullets(1)[4], (RecoilBullet{true, 20, false, 2, 50}));
  EXPECT_EQ(folder_.bullets(1)[0], (RecoilBullet{false, 0, true, 2, 100}));
  // Reset takes back only the gun asked for.
  ASSERT_EQ(folder_.reset(1), RecoilChange::kDone);
  EXPECT_EQ(read_text(folder_.script_path(1)), factory(1));
  EXPECT_NE(read_text(folder_.script_path(2)), factory(2));

  // A script broken since: kept aside, and the store starts from the factory script.
  write_text(folder_.script_path(0), "garbage");
  ASSERT_EQ(folder_.store(0, 1, {false, 5, false, 5, 5}), RecoilChange::kDone);
  EXPECT_EQ(aside().size(), 1u);
  EXPECT_EQ(folder_.bullets(0)[0], (RecoilBullet{false, 0, true, 1, 100}));
  EXPECT_EQ(folder_.bullets(0)[1], (RecoilBullet{false, 5, false, 5, 5}));

  // A broken factory script is no reset: the gun keeps its own.
  const std::string mine = read_text(folder_.script_path(2));
  write_text(folder_.factory_path(2), R"({"Events":[{"Action":"down","Button":4,"Type":10,"Delay":0}]})");
  EXPECT_EQ(folder_.reset(2), RecoilChange::kNoFactoryScript);
  EXPECT_EQ(read_text(folder_.script_path(2)), mine);
}

TEST_F(RecoilFolderTest, ImportsAreCheckedAndRefusalsChangeNothing) {
  folder_.ensure_scripts();
  const std::string offered = defaults_.file("offered.shoot");
  const std::string before = read_text(folder_.script_path(0));
  const auto refused = [&](const std::string& text, MacroImportCheck want) {
    write_text(offered, text);
    MacroImportCheck check = MacroImportCheck::kOk;
    EXPECT_EQ(folder_.import(0, offered, &check), RecoilChange::kBadImport) << text.substr(0, 70);
    EXPECT_EQ(check, want) << text.substr(0, 70);
    EXPECT_EQ(read_text(folder_.script_path(0)), before);
  };
  // Keys, modifiers and the buttons a macro may hold are no recoil.
  refused(R"({"Events":[{"Action":"down","Button":21,"Type":10,"Delay":0}]})", MacroImportCheck::kBadEvent);
  refused(R"({"Events":[{"Action":"down","Button":8,"Type":9,"Delay":0}]})", MacroImportCheck::kBadEvent);
  refused(R"({"Events":[{"Action":"down","Button":1,"Type":2,"Delay":0}]})", MacroImportCheck::kBadEvent);
  refused(R"({"Events":[{"Action":"down","Button":300,"Type":4,"Delay":0}]})", MacroImportCheck::kBadEvent);
  refused(R"({"Events":[{"Action":"down","Button":-1,"Type":5,"Delay":0}]})", MacroImportCheck::kBadEvent);
  refused(R"({"Events":[{"Action":"up","Button":1,"Type":5,"Delay":65536}]})", MacroImportCheck::kBadEvent);
  refused(R"({"Events":[{"Action":"left","Button":1,"Type":4,"Delay":0}]})", MacroImportCheck::kBadEvent);
  refused(R"({"Events":[null]})", MacroImportCheck::kBadEvent);
  refused(R"({"MacroInfo":[]})", MacroImportCheck::kNotAMacro);
  refused(R"([{"Action":"down","Button":1,"Type":4,"Delay":0}])", MacroImportCheck::kNotAMacro);
  refused(R"({"Events":[{"Action":"down")", MacroImportCheck::kUnreadable);
  refused(std::string(100000, '[') + std::string(100000, ']'), MacroImportCheck::kUnreadable);
  refused("", MacroImportCheck::kUnreadable);
  std::string many = R"({"Events":[)";
  for (size_t i = 0; i <= kMaxRecoilEvents; ++i) many += std::string(i ? "," : "") + R"({"Action":"up","Button":1,"Type":4,"Delay":0})";
  refused(many + "]}", MacroImportCheck::kTooManyEvents);
  EXPECT_EQ(folder_.import(0, defaults_.file("absent.shoot")), RecoilChange::kBadImport);
  EXPECT_TRUE(aside().empty());

  // A script of fewer bullets, its delays as text, is a script: stored as it came.
  const std::string short_script = R"({"Events":[{"Action":"down","Button":1,"Type":1,"Delay":"10"},)"
                                   R"({"Action":"up","Button":1,"Type":1,"Delay":0},{"Action":"down","Button":3,"Type":4,"Delay":5},)"
                                   R"({"Action":"up","Button":6,"Type":5,"Delay":70}]})";
  write_text(offered, short_script);
  ASSERT_EQ(folder_.import(3, offered), RecoilChange::kDone);
  EXPECT_EQ(read_text(folder_.script_path(3)), short_script);
  EXPECT_EQ(folder_.bullets(3)[0], (RecoilBullet{true, 3, false, 6, 70}));
  EXPECT_EQ(folder_.export_to(3, defaults_.file("back.shoot")), RecoilChange::kDone);
  EXPECT_EQ(read_text(defaults_.file("back.shoot")), short_script);

  TempFolder bare;
  EXPECT_EQ(RecoilFolder(bare.folder(), bare.folder()).export_to(0, bare.file("x.shoot")), RecoilChange::kNothingToExport);
  EXPECT_TRUE(bare.names().empty());
}

}  // namespace
}  // namespace qxr::editors::recoil

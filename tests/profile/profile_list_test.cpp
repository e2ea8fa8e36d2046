#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "profile/json_file.h"
#include "profile/profile_list.h"
#include "profile/profile_naming.h"
#include "tests/support/temp_folder.h"

using namespace qxr;
using std::filesystem::exists;
using qxr::testing::read_text;
using qxr::testing::TempFolder;
using qxr::testing::write_text;

TEST(ProfileNaming, SmallestFreeNumberIgnoringCase) {
  EXPECT_EQ(FreeProfileName({}), "profile1");
  EXPECT_EQ(FreeProfileName({"profile1", "profile3"}), "profile2");
  EXPECT_EQ(FreeProfileName({"Profile1", "profile3"}), "profile2");
  EXPECT_EQ(FreeProfileName({"PROFILE2", "profile1"}), "profile3");
}

TEST(ProfileNaming, CopyAppendsCopyUntilFree) {
  EXPECT_EQ(CopyProfileName("A", {"A"}), "A copy");
  EXPECT_EQ(CopyProfileName("A", {"A", "A copy"}), "A copy copy");
  EXPECT_EQ(CopyProfileName("A", {"A", "a COPY", "A copy copy"}), "A copy copy copy");
}

TEST(ProfileNaming, ImportSuffixesAccumulate) {
  EXPECT_EQ(ImportProfileName("gaming", {}), "gaming");
  EXPECT_EQ(ImportProfileName("gaming", {"gaming"}), "gaming(1)");
  EXPECT_EQ(ImportProfileName("gaming", {"gaming", "gaming(1)"}), "gaming(1)(2)");
  EXPECT_EQ(ImportProfileName("gaming", {"Gaming(1)", "GAMING"}), "gaming(1)(2)");
}

TEST(ProfileNaming, BlankNamesAndBaseNames) {
  EXPECT_TRUE(IsBlankName(""));
  EXPECT_TRUE(IsBlankName(" \t "));
  EXPECT_TRUE(IsBlankName("\xE3\x80\x80"));  // ideographic space
  EXPECT_FALSE(IsBlankName(" a "));
  EXPECT_FALSE(IsBlankName("名"));
  EXPECT_EQ(FileBaseName("/x/y/gaming.json"), "gaming");
  EXPECT_EQ(FileBaseName("/x/y.d/archive.tar.json"), "archive.tar");
  EXPECT_EQ(FileBaseName("plain"), "plain");
}

namespace {

class ProfileListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Json::Value defaults;
    defaults["Device"][0]["LightInfo"]["SelectItem"] = 1;
    defaults["Device"][0]["CustomEQNameInfo"][0]["Name"] = "factory";
    WriteJsonFile(program_.file("HD.Json"), defaults);
    list_.SetKeepsAudioOnReset(false);
    list_.SetFolders(user_.folder(), program_.file("HD.Json"));
  }

  Json::Value ListFile() const { return ReadJsonFile(user_.file("ProfileList.ini")); }
  Json::Value ProfileFile(int index) const {
    return ReadJsonFile(list_.ProfilePath(list_.Entries().at(static_cast<size_t>(index)).id));
  }
  // Names as the list file holds them.
  std::vector<std::string> StoredNames() const {
    std::vector<std::string> names;
    const Json::Value stored = ListFile();
    for (const Json::Value& e : stored["profilelist"]) names.push_back(e["profilename"].asString());
    return names;
  }
  void AddUntil(int count) {
    while (list_.Count() < count) ASSERT_TRUE(list_.AddProfile());
  }

  TempFolder user_;
  TempFolder program_;
  ProfileList list_;
};

}  // namespace

TEST_F(ProfileListTest, FirstStartCreatesTheListAndOneFile) {
  list_.InitProfileList();
  std::vector<std::string> files = user_.names();
  std::sort(files.begin(), files.end());
  ASSERT_EQ(files.size(), 2u);
  const Json::Value stored = ListFile();
  ASSERT_EQ(stored["profilelist"].size(), 1u);
  const Json::Value& entry = stored["profilelist"][0];
  EXPECT_EQ(entry["profilename"].asString(), "profile1");
  EXPECT_EQ(entry["profileislink"].asInt(), 0);
  EXPECT_EQ(entry["profilelinkmame"].asString(), "");
  EXPECT_EQ(stored["profileselect"].asInt(), 0);
  const std::string id = entry["profileUUID"].asString();
  EXPECT_EQ(files[0], id + ".Json");
  EXPECT_EQ(files[1], "ProfileList.ini");
  // The profile file holds only the two names until its first load.
  Json::Value profile = ReadJsonFile(user_.file(id + ".Json"));
  EXPECT_EQ(profile.size(), 2u);
  EXPECT_EQ(profile["profilename"].asString(), "profile1");
  EXPECT_EQ(profile["profileUUID"].asString(), id);
  EXPECT_EQ(list_.GetSelectedIndex(), 0);
  EXPECT_EQ(list_.GetCurrentProfileId(), id);
  EXPECT_EQ(list_.CurrentProfilePath(), user_.file(id + ".Json"));
}

TEST_F(ProfileListTest, SecondStartReadsTheStoredSelection) {
  list_.InitProfileList();
  AddUntil(3);
  list_.SelectProfile(2);
  ProfileList again;
  again.SetFolders(user_.folder(), program_.file("HD.Json"));
  again.InitProfileList();
  EXPECT_EQ(again.Names(), (std::vector<std::string>{"profile1", "profile2", "profile3"}));
  EXPECT_EQ(again.GetSelectedIndex(), 2);
  EXPECT_EQ(again.GetCurrentProfileId(), list_.Entries()[2].id);
}

TEST_F(ProfileListTest, StoredSelectionOutOfRangeSelectsTheFirst) {
  list_.InitProfileList();
  AddUntil(2);
  Json::Value stored = ListFile();
  stored["profileselect"] = 9;
  WriteJsonFile(user_.file("ProfileList.ini"), stored);
  ProfileList again;
  again.SetFolders(user_.folder(), program_.file("HD.Json"));
  again.InitProfileList();
  EXPECT_EQ(again.GetSelectedIndex(), 0);
  EXPECT_EQ(ListFile()["profileselect"].asInt(), 0);
}

TEST_F(ProfileListTest, AddFillsTheGapAndStoresTheNewSelection) {
  list_.InitProfileList();
  AddUntil(3);
  list_.SelectProfile(1);
  ASSERT_TRUE(list_.RenameProfile("Something"));
  ASSERT_TRUE(list_.AddProfile());
  EXPECT_EQ(list_.Names().back(), "profile2");
  EXPECT_EQ(StoredNames(), list_.Names());
  EXPECT_EQ(ListFile()["profileselect"].asInt(), 3);
  EXPECT_EQ(list_.GetSelectedIndex(), 1);  // the current profile stays
  Json::Value created = ProfileFile(3);
  EXPECT_EQ(created["profilename"].asString(), "profile2");
  EXPECT_FALSE(created.isMember("Device"));
}

TEST_F(ProfileListTest, AddStopsAtFiftyButCopyGoesOn) {
  list_.InitProfileList();
  AddUntil(kMaxProfiles);
  EXPECT_FALSE(list_.AddProfile());
  EXPECT_EQ(list_.Count(), kMaxProfiles);
  EXPECT_TRUE(list_.CopyProfile());
  EXPECT_EQ(list_.Count(), kMaxProfiles + 1);
  EXPECT_EQ(ListFile()["profilelist"].size(), 51u);
  // Every entry has a file of its own.
  std::vector<std::string> ids;
  for (const ProfileEntry& e : list_.Entries()) ids.push_back(e.id);
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::unique(ids.begin(), ids.end()), ids.end());
  EXPECT_EQ(user_.names().size(), 52u);
}

TEST_F(ProfileListTest, CopyTakesAllSettingsUnderANewName) {
  list_.InitProfileList();
  ASSERT_EQ(list_.RenameProfile("A"), kRenameDone);
  Json::Value source = ProfileFile(0);
  source["Device"][0]["LightInfo"]["Red"] = 77;
  WriteJsonFile(list_.CurrentProfilePath(), source);
  ASSERT_TRUE(list_.CopyProfile());
  ASSERT_TRUE(list_.CopyProfile());
  EXPECT_EQ(list_.Names(), (std::vector<std::string>{"A", "A copy", "A copy copy"}));
  EXPECT_EQ(ListFile()["profileselect"].asInt(), 0);  // copying leaves the selection
  Json::Value copy = ProfileFile(2);
  EXPECT_EQ(copy["profilename"].asString(), "A copy copy");
  EXPECT_EQ(copy["profileUUID"].asString(), list_.Entries()[2].id);
  EXPECT_EQ(copy["Device"][0]["LightInfo"]["Red"].asInt(), 77);
}

TEST_F(ProfileListTest, DeleteSelectsThePreviousOrTheNewFirst) {
  list_.InitProfileList();
  AddUntil(4);
  const std::string third = list_.Entries()[2].id;
  list_.SelectProfile(2);
  ASSERT_TRUE(list_.DeleteProfile());
  EXPECT_EQ(list_.GetSelectedIndex(), 1);
  EXPECT_EQ(ListFile()["profileselect"].asInt(), 1);
  EXPECT_EQ(list_.GetCurrentProfileId(), list_.Entries()[1].id);
  EXPECT_FALSE(exists(user_.file(third + ".Json")));
  EXPECT_EQ(StoredNames(), (std::vector<std::string>{"profile1", "profile2", "profile4"}));

  const std::string second = list_.Entries()[1].id;
  list_.SelectProfile(0);
  ASSERT_TRUE(list_.DeleteProfile());
  EXPECT_EQ(list_.GetSelectedIndex(), 0);
  EXPECT_EQ(list_.GetCurrentProfileId(), second);
  EXPECT_EQ(list_.Names(), (std::vector<std::string>{"profile2", "profile4"}));
}

TEST_F(ProfileListTest, TheLastProfileIsNeverDeleted) {
  list_.InitProfileList();
  const std::string before = read_text(user_.file("ProfileList.ini"));
  EXPECT_FALSE(list_.DeleteProfile());
  EXPECT_EQ(list_.Count(), 1);
  EXPECT_TRUE(exists(list_.CurrentProfilePath()));
  EXPECT_EQ(read_text(user_.file("ProfileList.ini")), before);
}

TEST_F(ProfileListTest, DeleteKeepsAFileThatAnotherEntryStillNames) {
  list_.InitProfileList();
  AddUntil(2);
  Json::Value stored = ListFile();
  stored["profilelist"][1]["profileUUID"] = stored["profilelist"][0]["profileUUID"];
  WriteJsonFile(user_.file("ProfileList.ini"), stored);
  list_.SelectProfile(1);
  ASSERT_TRUE(list_.DeleteProfile());
  EXPECT_TRUE(exists(list_.CurrentProfilePath()));
}

TEST_F(ProfileListTest, RenameResults) {
  list_.InitProfileList();
  AddUntil(3);
  list_.SelectProfile(1);
  EXPECT_EQ(list_.RenameProfile("   "), kRenameBlank);
  EXPECT_EQ(list_.RenameProfile("profile2"), kRenameDone);  // its own name is skipped
  EXPECT_EQ(list_.RenameProfile("PROFILE3"), kRenameNameInUse);
  EXPECT_EQ(list_.Names()[1], "profile2");
  EXPECT_EQ(list_.RenameProfile("战斗"), kRenameDone);
  EXPECT_EQ(StoredNames()[1], "战斗");
  EXPECT_EQ(ProfileFile(1)["profilename"].asString(), "战斗");
  EXPECT_EQ(ProfileFile(1)["profileUUID"].asString(), list_.Entries()[1].id);
}

TEST_F(ProfileListTest, RenameOfTheOnlyProfileStillRefusesBlanks) {
  list_.InitProfileList();
  EXPECT_EQ(list_.RenameProfile(""), kRenameBlank);
  EXPECT_EQ(list_.RenameProfile("solo"), kRenameDone);
}

TEST_F(ProfileListTest, OperationsWithoutFoldersDoNothing) {
  ProfileList none;
  none.InitProfileList();
  EXPECT_FALSE(none.AddProfile());
  EXPECT_FALSE(none.CopyProfile());
  EXPECT_FALSE(none.DeleteProfile());
  EXPECT_EQ(none.RenameProfile("x"), kRenameNameInUse);
  EXPECT_FALSE(none.ResetProfile());
  EXPECT_EQ(none.Count(), 0);
}

TEST_F(ProfileListTest, ResetRestoresDefaultsButKeepsTheHeadsetsCustomEqualisers) {
  list_.SetKeepsAudioOnReset(true);
  list_.InitProfileList();
  ASSERT_EQ(list_.RenameProfile("mine"), kRenameDone);
  Json::Value mine = ProfileFile(0);
  mine["Device"][0]["LightInfo"]["SelectItem"] = 9;
  mine["Device"][0]["CustomEQNameInfo"][0]["Name"] = "user";
  mine["Device"][0]["CustomEQHzValueInfo"][0][0]["value"] = 6;
  WriteJsonFile(list_.CurrentProfilePath(), mine);
  ASSERT_TRUE(list_.ResetProfile());
  Json::Value reset = ProfileFile(0);
  EXPECT_EQ(reset["profilename"].asString(), "mine");
  EXPECT_EQ(reset["profileUUID"].asString(), list_.GetCurrentProfileId());
  EXPECT_EQ(reset["Device"][0]["LightInfo"]["SelectItem"].asInt(), 1);
  EXPECT_EQ(reset["Device"][0]["CustomEQNameInfo"][0]["Name"].asString(), "user");
  EXPECT_EQ(reset["Device"][0]["CustomEQHzValueInfo"][0][0]["value"].asInt(), 6);
}

TEST_F(ProfileListTest, ResetOfOtherKindsTakesEverythingFromTheDefaults) {
  list_.SetKeepsAudioOnReset(false);
  list_.InitProfileList();
  Json::Value mine = ProfileFile(0);
  mine["Device"][0]["CustomEQNameInfo"][0]["Name"] = "user";
  WriteJsonFile(list_.CurrentProfilePath(), mine);
  ASSERT_TRUE(list_.ResetProfile());
  EXPECT_EQ(ProfileFile(0)["Device"][0]["CustomEQNameInfo"][0]["Name"].asString(), "factory");
}

TEST_F(ProfileListTest, ImportNamesFromTheFileAndGivesANewIdentifier) {
  list_.InitProfileList();
  TempFolder outside;
  Json::Value doc;
  doc["profilename"] = "whatever";
  doc["profileUUID"] = list_.GetCurrentProfileId();  // an existing identifier
  doc["Device"][0]["LightInfo"]["Red"] = 5;
  WriteJsonFile(outside.file("gaming.json"), doc);
  const std::string existing = read_text(list_.CurrentProfilePath());
  write_text(user_.file(".Json"), "{}");  // a stray file with an empty identifier
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(list_.ImportProfile(outside.file("gaming.json")));
  EXPECT_EQ(list_.Names(),
            (std::vector<std::string>{"profile1", "gaming", "gaming(1)", "gaming(1)(2)"}));
  EXPECT_EQ(read_text(list_.CurrentProfilePath()), existing);
  Json::Value imported = ProfileFile(3);
  EXPECT_EQ(imported["profilename"].asString(), "gaming(1)(2)");
  EXPECT_NE(imported["profileUUID"].asString(), list_.GetCurrentProfileId());
  EXPECT_EQ(imported["Device"][0]["LightInfo"]["Red"].asInt(), 5);
  EXPECT_FALSE(exists(user_.file(".Json")));
  EXPECT_EQ(ListFile()["profileselect"].asInt(), 0);
}

TEST_F(ProfileListTest, ImportOfAListFileOrNonProfileIsRefused) {
  list_.InitProfileList();
  TempFolder outside;
  WriteJsonFile(outside.file("list.json"), ListFile());
  write_text(outside.file("text.json"), "not json");
  write_text(outside.file("array.json"), "[{\"profilename\":1,\"profileUUID\":2}]");
  const std::string before = read_text(user_.file("ProfileList.ini"));
  EXPECT_FALSE(list_.ImportProfile(outside.file("list.json")));
  EXPECT_FALSE(list_.ImportProfile(outside.file("text.json")));
  EXPECT_FALSE(list_.ImportProfile(outside.file("array.json")));
  EXPECT_FALSE(list_.ImportProfile(outside.file("missing.json")));
  EXPECT_EQ(list_.Count(), 1);
  EXPECT_EQ(read_text(user_.file("ProfileList.ini")), before);
}

TEST_F(ProfileListTest, ExportWritesTheSelectedProfileUnderExactlyThatName) {
  list_.InitProfileList();
  Json::Value mine = ProfileFile(0);
  mine["Device"][0]["Light"] = 3;
  WriteJsonFile(list_.CurrentProfilePath(), mine);
  TempFolder outside;
  ASSERT_TRUE(list_.ExportProfile(outside.file("backup")));
  EXPECT_EQ(outside.names(), std::vector<std::string>{"backup"});
  EXPECT_EQ(ReadJsonFile(outside.file("backup")), mine);
  EXPECT_FALSE(list_.ExportProfile(""));
}

TEST_F(ProfileListTest, UnreadableListFileIsKeptAsideAndReplaced) {
  write_text(user_.file("ProfileList.ini"), "{\"profilelist\": [ {\"profilename\": \"x\"");
  list_.InitProfileList();
  EXPECT_EQ(list_.Names(), std::vector<std::string>{"profile1"});
  int kept = 0;
  for (const std::string& name : user_.names()) kept += name.find("ProfileList.ini.unreadable-") == 0;
  EXPECT_EQ(kept, 1);
}

TEST_F(ProfileListTest, ListFileBrokenMidSessionIsRebuiltFromWhatWasLastWritten) {
  list_.InitProfileList();
  AddUntil(3);
  write_text(user_.file("ProfileList.ini"), "garbage");
  ASSERT_TRUE(list_.SelectProfile(2));
  EXPECT_EQ(StoredNames(), (std::vector<std::string>{"profile1", "profile2", "profile3"}));
  EXPECT_EQ(ListFile()["profileselect"].asInt(), 2);
}

TEST_F(ProfileListTest, IdentifierThatLeavesTheFolderNamesNoFile) {
  list_.InitProfileList();
  Json::Value stored = ListFile();
  stored["profilelist"][0]["profileUUID"] = "../../escape";
  WriteJsonFile(user_.file("ProfileList.ini"), stored);
  ProfileList again;
  again.SetFolders(user_.folder(), program_.file("HD.Json"));
  again.InitProfileList();
  EXPECT_EQ(again.CurrentProfilePath(), "");
  EXPECT_EQ(again.RenameProfile("x"), kRenameDone);
  EXPECT_FALSE(again.ResetProfile());
}


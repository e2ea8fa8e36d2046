// The update request's rules without a server: the body, the reading of replies and versions,
// product keys and what a row shows.
#include <gtest/gtest.h>

#include "update/update_check.h"

namespace qxr::update {
namespace {

TEST(UpdateReply, DecimalVersionsShowTheVersionName) {
  const UpdateInfo info = ParseUpdateReply(
      R"({"version":"103","version_name":"1.0.3","name":"App","path":"https://d/app","device_id":7})", 102, false);
  EXPECT_EQ(info.status, kUpdateNewer);
  EXPECT_EQ(info.local_version, "V102");
  EXPECT_EQ(info.remote_version, "1.0.3");
  EXPECT_EQ(info.version_name, "1.0.3");
  EXPECT_EQ(info.name, "App");
  EXPECT_EQ(info.path, "https://d/app");
  EXPECT_EQ(info.device_id, 7);
  // The same number is not newer; a number instead of a text reads the same.
  EXPECT_EQ(ParseUpdateReply(R"({"version":102})", 102, false).status, kUpdateCurrent);
  EXPECT_EQ(ParseUpdateReply(R"({"version":103})", 102, false).status, kUpdateNewer);
  // In hexadecimal, "0105" is 0x105 and members of the wrong type read as empty.
  const UpdateInfo hex = ParseUpdateReply(R"({"version":"0105","name":["x"],"device_id":"3"})", 0x0104, true);
  EXPECT_EQ(hex.status, kUpdateNewer);
  EXPECT_EQ(hex.remote_version, "V0105");
  EXPECT_EQ(hex.name, "");
  EXPECT_EQ(hex.device_id, 0);
}

TEST(UpdateReply, VersionsMustBeWholeNumbersOfTheirBase) {
  struct Case {
    const char* text;
    bool hex;
    std::optional<uint32_t> value;
  };
  const Case cases[] = {
      {"0105", true, 0x105},   {"ff", true, 0xff},         {"105", false, 105},     {"0105", false, 105},
      {"1a", false, {}},       {"", true, {}},             {" 1", true, {}},        {"1 ", false, {}},
      {"-1", false, {}},       {"+1", false, {}},          {"0x10", true, {}},      {"4294967295", false, 4294967295u},
      {"4294967296", false, {}}, {"100000000", true, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseVersionNumber(c.text, c.hex), c.value) << c.text << " hex " << c.hex;
}

TEST(UpdateReply, TheInstalledVersionIsTheDottedVersionWithoutDots) {
  EXPECT_EQ(InstalledVersionNumber("1.0.2"), 102u);
  EXPECT_EQ(InstalledVersionNumber("2.1.10"), 2110u);
  EXPECT_EQ(InstalledVersionNumber("0.1.0"), 10u);
  EXPECT_EQ(InstalledVersionNumber("1.0-rc1"), 0u);
  EXPECT_EQ(InstalledVersionNumber(""), 0u);
}

TEST(UpdateRequest, BodyCarriesTheKeyAndVersionWithItsZeroByte) {
  EXPECT_EQ(UpdateRequestBody("KELTO_1_A_B_1", 0x0104, true), std::string("app_key=KELTO_1_A_B_1&version=104\0", 34));
  EXPECT_EQ(UpdateRequestBody("NULL", 102, false), std::string("app_key=NULL&version=102\0", 25));
  // Codes from the configuration cannot add members to the form.
  EXPECT_EQ(UpdateRequestBody("K&version=9 x", 1, false), std::string("app_key=K%26version%3D9%20x&version=1\0", 38));
}

TEST(UpdateEntries, KeysNamesAndVersionTexts) {
  UpdateConfig config;
  config.model_code = "PM";
  config.firmware = {{1, "KB", "M1", "Keyboard", 0x0104}, {2, "PD", "M2", "Pad", 0}};
  const std::vector<UpdateEntry> entries = UpdateEntries(config, "1.0.2");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(ProductKey(entries[0]), "KELTO_1_KB_M1_1");
  EXPECT_EQ(ProductKey(entries[1]), "NULL");  // version not known
  EXPECT_EQ(ProductKey(entries[2]), "KELTO_0_ALL_PM_1");
  EXPECT_TRUE(entries[0].hex_versions());
  EXPECT_FALSE(entries[2].hex_versions());
  EXPECT_EQ(RowName(entries[0]), "Keyboard");
  EXPECT_EQ(RowName(entries[2]), "AP");
  EXPECT_EQ(RowVersionText(entries[0]), "V0104");
  EXPECT_EQ(RowVersionText(entries[1]), "V0000");
  EXPECT_EQ(RowVersionText(entries[2]), "V102");
  EXPECT_EQ(entries[2].version, 102u);
}

TEST(UpdateRows, AReplyNamedNoLinkServerIsAFailedCheck) {
  UpdateEntry entry;
  entry.kind = 1;
  entry.version = 0x0300;
  UpdateInfo info = ParseUpdateReply(R"({"version":"0400","name":"NO_LINK_SERVER","path":"https://p"})", 0x0300, true);
  const UpdateRowResult failed = RowResultFor(entry, info);
  EXPECT_EQ(failed.state, kUpdateFailed);
  EXPECT_EQ(failed.name, "");
  EXPECT_EQ(failed.offered, "");
  EXPECT_EQ(failed.path, "");
  info.name = "FW";
  const UpdateRowResult newer = RowResultFor(entry, info);
  EXPECT_EQ(newer.state, kUpdateNewer);
  EXPECT_EQ(newer.offered, "V0400");
  EXPECT_EQ(newer.path, "https://p");
  // Nothing newer: no offered version and no address to open.
  info.remote_version = "V0200";
  info.status = kUpdateCurrent;
  const UpdateRowResult current = RowResultFor(entry, info);
  EXPECT_EQ(current.offered, "");
  EXPECT_EQ(current.path, "");
  EXPECT_EQ(current.installed, "V0300");
}

TEST(UpdateStates, EveryStateHasItsRowAndOthersNone) {
  for (int s = 0; s < kRowStateCount; ++s) {
    ASSERT_NE(update_row_state(s), nullptr);
    EXPECT_EQ(update_row_state(s)->state, s);
  }
  EXPECT_EQ(update_row_state(-1), nullptr);
  EXPECT_EQ(update_row_state(kRowStateCount), nullptr);
  for (const PageStatusRow& row : page_statuses()) EXPECT_EQ(page_status_row(row.status).text_key, row.text_key);
}

}  // namespace
}  // namespace qxr::update

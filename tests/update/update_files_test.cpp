// "updatetime.config" and "update.config".
#include <gtest/gtest.h>

#include "profile/json_file.h"
#include "profile/update_files.h"
#include "tests/support/temp_folder.h"

namespace qxr {
namespace {

using testing::read_text;
using testing::TempFolder;
using testing::write_text;

TEST(UpdateTimeFile, DatesAreWrittenWithoutLeadingZeros) {
  EXPECT_EQ(FormatUpdateDate({2024, 3, 7}), "2024-3-7");
  EXPECT_EQ(FormatUpdateDate({2025, 12, 31}), "2025-12-31");
  TempFolder dir;
  const std::string path = dir.file(kUpdateTimeFile);
  EXPECT_EQ(ReadUpdateTime(path), "");
  ASSERT_TRUE(WriteUpdateTime(path, FormatUpdateDate({2024, 3, 7})));
  EXPECT_EQ(ReadUpdateTime(path), "2024-3-7");
  const Json::Value stored = ReadJsonFile(path);
  EXPECT_EQ(stored["updatelasttime"]["value"].asString(), "2024-3-7");
}

TEST(UpdateTimeFile, OtherMembersStayAndUnreadableFilesAreKeptAside) {
  TempFolder dir;
  const std::string path = dir.file(kUpdateTimeFile);
  write_text(path, R"({"other":1,"updatelasttime":{"value":"2020-1-1","x":2}})");
  ASSERT_TRUE(WriteUpdateTime(path, "2024-3-7"));
  const Json::Value stored = ReadJsonFile(path);
  EXPECT_EQ(stored["other"].asInt(), 1);
  EXPECT_EQ(stored["updatelasttime"]["x"].asInt(), 2);
  EXPECT_EQ(stored["updatelasttime"]["value"].asString(), "2024-3-7");

  write_text(path, "{not json");
  EXPECT_EQ(ReadUpdateTime(path), "");
  ASSERT_TRUE(WriteUpdateTime(path, "2024-3-8"));
  EXPECT_EQ(ReadUpdateTime(path), "2024-3-8");
  EXPECT_EQ(dir.names().size(), 2u);  // the unreadable original lies beside it
}

TEST(UpdateConfigFile, ServerAndFirmwareEntries) {
  const UpdateConfig c = ParseUpdateConfig(R"({
    "Server": "https://updates.example/api/", "CaFile": "/etc/ca.pem", "ModelCode": "PM",
    "Firmware": [
      {"Kind": 1, "ProductCode": "KB", "ModelCode": "M1", "DisplayName": "Keyboard", "Version": "0104"},
      {"Kind": 2, "ProductCode": "PD", "ModelCode": "M2", "DisplayName": "Pad", "Version": 512},
      {"Kind": 1, "ProductCode": "BAD", "Version": "zz"},
      {"Kind": 0, "ProductCode": "ALL"},
      {"Kind": 3, "ProductCode": "X"},
      {"Kind": 1},
      "not an entry"
    ]})");
  EXPECT_EQ(c.server, "https://updates.example/api/");
  EXPECT_EQ(c.ca_file, "/etc/ca.pem");
  EXPECT_EQ(c.model_code, "PM");
  ASSERT_EQ(c.firmware.size(), 3u);
  EXPECT_EQ(c.firmware[0].version, 0x0104u);
  EXPECT_EQ(c.firmware[0].display_name, "Keyboard");
  EXPECT_EQ(c.firmware[1].kind, 2);
  EXPECT_EQ(c.firmware[1].version, 512u);
  EXPECT_EQ(c.firmware[2].product_code, "BAD");
  EXPECT_EQ(c.firmware[2].version, 0u);  // an unreadable version is not known

  TempFolder dir;
  EXPECT_TRUE(ReadUpdateConfig(dir.file(kUpdateConfigFile)).server.empty());
  write_text(dir.file(kUpdateConfigFile), R"({"Server": "https://u/api/", "Firmware": {"Kind": 1}})");
  const UpdateConfig odd = ReadUpdateConfig(dir.file(kUpdateConfigFile));
  EXPECT_EQ(odd.server, "https://u/api/");
  EXPECT_TRUE(odd.firmware.empty());
}

}  // namespace
}  // namespace qxr

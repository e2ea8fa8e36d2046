#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <limits>

#include "core/debug_line.h"
#include "profile/json_access.h"
#include "profile/json_file.h"
#include "profile/write_outcomes.h"
#include "tests/support/temp_folder.h"

using namespace qxr;
using std::filesystem::exists;
using qxr::testing::read_text;
using qxr::testing::TempFolder;
using qxr::testing::write_text;

TEST(ReadFileText, WholeFileOrEmpty) {
  TempFolder dir;
  const std::string bytes("a\0b\xff{", 5);
  write_text(dir.file("f"), bytes);
  EXPECT_EQ(ReadFileText(dir.file("f")), bytes);
  EXPECT_EQ(ReadFileText(dir.file("missing")), "");
  EXPECT_EQ(ReadFileText(dir.folder()), "");  // a folder is not a file
}

TEST(ReadFileText, LogsTheErrorCodeEveryTime) {
  TempFolder dir;
  write_text(dir.file("f"), "{}");
  DebugCapture cap;
  ReadFileText(dir.file("f"));
  ReadFileText(dir.file("missing"));
  EXPECT_EQ(cap.count("readjsonFile 错误吗：：0\n"), 1);
  EXPECT_EQ(cap.count("readjsonFile 错误吗：：2\n"), 1);  // ENOENT
}

TEST(ReadFileText, FifoDoesNotHang) {
  TempFolder dir;
  ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
  EXPECT_EQ(ReadFileText(dir.file("fifo")), "");
}

TEST(ReadJsonFile, MissingEmptyAndBrokenReadAsNull) {
  TempFolder dir;
  write_text(dir.file("empty"), "");
  write_text(dir.file("broken"), "{\"a\": ");
  write_text(dir.file("good"), "// comment\n{\"a\": [1, 2]}");
  EXPECT_TRUE(ReadJsonFile(dir.file("missing")).isNull());
  EXPECT_TRUE(ReadJsonFile(dir.file("empty")).isNull());
  EXPECT_TRUE(ReadJsonFile(dir.file("broken")).isNull());
  Json::Value good = ReadJsonFile(dir.file("good"));
  ASSERT_TRUE(good.isObject());
  EXPECT_EQ(good["a"][1].asInt(), 2);
}

TEST(ReadJsonFile, EmptyFileLogsItsPath) {
  TempFolder dir;
  write_text(dir.file("empty"), "");
  DebugCapture cap;
  ReadJsonFile(dir.file("empty"));
  EXPECT_EQ(cap.count(dir.file("empty")), 1);
}

TEST(WriteJsonFile, IndentedUtf8TextThatReadsBack) {
  TempFolder dir;
  Json::Value v;
  v["profilename"] = "游戏 é";
  v["n"] = -5;
  v["Device"][0]["Light"] = 3;
  ASSERT_TRUE(WriteJsonFile(dir.file("out.Json"), v));
  const std::string text = read_text(dir.file("out.Json"));
  EXPECT_NE(text.find("游戏 é"), std::string::npos);  // not escaped
  EXPECT_NE(text.find("\n   \"n\" : -5"), std::string::npos);
  EXPECT_EQ(ReadJsonFile(dir.file("out.Json")), v);
  // Nothing but the file itself is left in the folder.
  EXPECT_EQ(dir.names(), std::vector<std::string>{"out.Json"});
}

TEST(WriteJsonFile, FailureIsReportedAndLeavesTheOldFile) {
  TempFolder dir;
  Json::Value v;
  v["a"] = 1;
  EXPECT_FALSE(WriteJsonFile(dir.file("no-such-folder/x.Json"), v));
  write_text(dir.file("keep.Json"), "{\"old\":1}");
  ASSERT_EQ(chmod(dir.folder().c_str(), 0500), 0);
  if (geteuid() != 0) {  // root ignores the folder's permissions
    EXPECT_FALSE(WriteJsonFile(dir.file("keep.Json"), v));
    EXPECT_EQ(read_text(dir.file("keep.Json")), "{\"old\":1}");
  }
  chmod(dir.folder().c_str(), 0700);
}

TEST(WriteJsonFile, EveryOutcomeReachesTheListenerWithTheSystemsReason) {
  TempFolder dir;
  std::vector<WriteOutcome> outcomes;
  SetWriteListener([&](const WriteOutcome& o) { outcomes.push_back(o); });
  Json::Value v;
  v["a"] = 1;
  EXPECT_TRUE(WriteJsonFile(dir.file("ok.Json"), v));
  EXPECT_FALSE(WriteJsonFile(dir.file("no-such-folder/x.Json"), v));
  write_text(dir.file("plain"), "a file, not a folder");
  EXPECT_FALSE(WriteJsonFile(dir.file("plain/x.Json"), v));
  SetWriteListener({});
  EXPECT_TRUE(WriteJsonFile(dir.file("unheard.Json"), v));
  ASSERT_EQ(outcomes.size(), 3u);
  EXPECT_EQ(outcomes[0].path, dir.file("ok.Json"));
  EXPECT_EQ(outcomes[0].error, 0);
  EXPECT_EQ(outcomes[1].error, ENOENT);
  EXPECT_EQ(outcomes[2].path, dir.file("plain/x.Json"));
  EXPECT_EQ(outcomes[2].error, ENOTDIR);
}

TEST(MakeTimeStampId, HasTheStoredShape) {
  const std::string id = MakeTimeStampId();
  // year_month_day_hour_minute_second_millisecond, fixed widths after the year
  const std::string shape = "dddd_dd_dd_dd_dd_dd_ddd";
  ASSERT_EQ(id.size(), shape.size()) << id;
  for (std::size_t i = 0; i < id.size(); ++i) {
    if (shape[i] == '_') {
      EXPECT_EQ(id[i], '_') << id;
    } else {
      EXPECT_TRUE(id[i] >= '0' && id[i] <= '9') << id;
    }
  }
}

TEST(ReadJsonFileForUpdate, UnreadableFileIsMovedAsideAndKept) {
  TempFolder dir;
  const std::string path = dir.file("p.Json");
  write_text(path, "{\"Device\": [ {\"Light\": 2");
  DebugCapture cap;
  JsonFileForUpdate f = ReadJsonFileForUpdate(path);
  EXPECT_EQ(f.state, JsonFileState::kUnreadable);
  EXPECT_TRUE(f.CanOverwrite());
  ASSERT_FALSE(f.set_aside.empty());
  EXPECT_FALSE(exists(path));
  EXPECT_EQ(read_text(f.set_aside), "{\"Device\": [ {\"Light\": 2");
  EXPECT_EQ(f.set_aside.rfind(path + ".unreadable-", 0), 0u) << f.set_aside;
  EXPECT_TRUE(cap.contains(f.set_aside));
}

TEST(ReadJsonFileForUpdate, SecondSetAsideGetsItsOwnName) {
  TempFolder dir;
  const std::string path = dir.file("p.Json");
  write_text(path, "first");
  const std::string a = SetAsideFile(path);
  write_text(path, "second");
  const std::string b = SetAsideFile(path);
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());
  EXPECT_NE(a, b);
  EXPECT_EQ(read_text(a), "first");
  EXPECT_EQ(read_text(b), "second");
}

TEST(ReadJsonFileForUpdate, StatesOfOrdinaryFiles) {
  TempFolder dir;
  write_text(dir.file("empty"), "");
  write_text(dir.file("null"), "null");
  write_text(dir.file("array"), "[1]");
  write_text(dir.file("object"), "{\"a\":1}");
  EXPECT_EQ(ReadJsonFileForUpdate(dir.file("missing")).state, JsonFileState::kMissing);
  EXPECT_EQ(ReadJsonFileForUpdate(dir.file("empty")).state, JsonFileState::kMissing);
  EXPECT_EQ(ReadJsonFileForUpdate(dir.file("null")).state, JsonFileState::kMissing);
  EXPECT_TRUE(exists(dir.file("empty")));
  JsonFileForUpdate object = ReadJsonFileForUpdate(dir.file("object"));
  EXPECT_EQ(object.state, JsonFileState::kReadable);
  EXPECT_EQ(object.document["a"].asInt(), 1);
  // Not an object: cannot be updated without discarding it.
  EXPECT_EQ(ReadJsonFileForUpdate(dir.file("array")).state, JsonFileState::kUnreadable);
  EXPECT_FALSE(exists(dir.file("array")));
}

TEST(ReadJsonFileForUpdate, FolderInPlaceOfFileIsNeverMoved) {
  TempFolder dir;
  ASSERT_EQ(mkdir(dir.file("p.Json").c_str(), 0700), 0);
  JsonFileForUpdate f = ReadJsonFileForUpdate(dir.file("p.Json"));
  EXPECT_EQ(f.state, JsonFileState::kUnreadable);
  EXPECT_FALSE(f.CanOverwrite());
  struct stat st {};
  ASSERT_EQ(stat(dir.file("p.Json").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST(JsonAccess, IndexingValuesOfTheWrongTypeGivesNull) {
  Json::Value number(5), text("x"), array(Json::arrayValue), object(Json::objectValue);
  array.append(7);
  object["k"] = 1;
  EXPECT_TRUE(Member(number, "k").isNull());
  EXPECT_TRUE(Member(text, "k").isNull());
  EXPECT_TRUE(Member(array, "k").isNull());
  EXPECT_EQ(Member(object, "k").asInt(), 1);
  EXPECT_TRUE(Element(object, 0).isNull());
  EXPECT_TRUE(Element(text, 0).isNull());
  EXPECT_TRUE(Element(array, 1).isNull());
  EXPECT_EQ(Element(array, 0).asInt(), 7);
}

TEST(JsonAccess, ToIntConvertsNumbersAndFallsBackForTheRest) {
  EXPECT_EQ(ToInt(Json::Value(-3)), -3);
  EXPECT_EQ(ToInt(Json::Value(true)), 1);
  EXPECT_EQ(ToInt(Json::Value(2.9)), 2);
  EXPECT_EQ(ToInt(Json::Value(-2.9)), -2);
  // Wider integers keep their low 32 bits, like a truncated record field.
  EXPECT_EQ(ToInt(Json::Value(Json::Int64{0x1'0000'0005})), 5);
  EXPECT_EQ(ToInt(Json::Value(Json::UInt64{0xFFFF'FFFF})), -1);
  EXPECT_EQ(ToInt(Json::Value(1e300), 9), 9);
  EXPECT_EQ(ToInt(Json::Value(std::numeric_limits<double>::quiet_NaN()), 9), 9);
  EXPECT_EQ(ToInt(Json::Value("12"), 9), 9);
  EXPECT_EQ(ToInt(Json::Value(Json::arrayValue), 9), 9);
  EXPECT_EQ(ToInt(Json::Value(Json::objectValue), 9), 9);
  EXPECT_EQ(ToInt(Json::Value(), 9), 9);
}

TEST(JsonAccess, ToBoolAndToString) {
  EXPECT_TRUE(ToBool(Json::Value(2)));
  EXPECT_FALSE(ToBool(Json::Value(0)));
  EXPECT_TRUE(ToBool(Json::Value(0.5)));
  EXPECT_FALSE(ToBool(Json::Value("true")));
  EXPECT_TRUE(ToBool(Json::Value(Json::objectValue), true));
  EXPECT_EQ(ToString(Json::Value("名")), "名");
  EXPECT_EQ(ToString(Json::Value(12)), "12");
  EXPECT_EQ(ToString(Json::Value(Json::arrayValue)), "");
  EXPECT_EQ(ToString(Json::Value()), "");
}

TEST(JsonAccess, WritableAccessReplacesOnlyWhatCannotHoldTheValue) {
  Json::Value v(Json::objectValue);
  v["keep"] = 1;
  WritableMember(v, "new") = 2;
  EXPECT_EQ(v["keep"].asInt(), 1);
  Json::Value text("x");
  WritableMember(text, "k") = 3;
  EXPECT_TRUE(text.isObject());
  Json::Value arr(Json::arrayValue);
  arr.append(1);
  WritableElement(arr, 2) = 5;
  EXPECT_EQ(arr.size(), 3u);
  EXPECT_EQ(arr[0u].asInt(), 1);
  Json::Value obj(Json::objectValue);
  WritableElement(obj, 0) = 1;
  EXPECT_TRUE(obj.isArray());
}

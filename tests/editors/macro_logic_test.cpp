// The macro editor's rules without a GUI: what a recording makes of the inputs, the macro
// folder's files, imports that must be refused, and the keys kept on their macros when one goes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "editors/keys/key_capture.h"
#include "editors/macros/macro_folder.h"
#include "editors/macros/macro_keys.h"
#include "editors/macros/macro_recorder.h"
#include "profile/json_file.h"
#include "tests/support/temp_folder.h"

namespace qxr::editors::macros {
namespace {

using qxr::testing::read_text;
using qxr::testing::TempFolder;
using qxr::testing::write_text;

constexpr uint32_t kA = 30 + keys::kNativeScanCodeOffset, kB = 48 + keys::kNativeScanCodeOffset,
                   kLeftShift = 42 + keys::kNativeScanCodeOffset;

size_t entry(uint32_t native) { return *keys::captured_entry(native); }

MacroEvent ev(uint8_t type, bool down, uint8_t button, uint16_t delay) { return {delay, type, down, button}; }

TEST(MacroRecorder, EachPauseGoesIntoTheRowBeforeItAndAHeldKeyIsOneRow) {
  MacroRecorder r;
  MacroEventList rows;
  r.start(DelayMode::RealTime, 0, RecordPlace::Append, 1000);
  EXPECT_TRUE(r.key(entry(kA), true, 1100, rows));
  // Auto-repeat: more presses of the held key.
  EXPECT_FALSE(r.key(entry(kA), true, 1130, rows));
  EXPECT_FALSE(r.key(entry(kA), true, 1160, rows));
  EXPECT_TRUE(r.key(entry(kA), false, 1250, rows));
  EXPECT_TRUE(r.key(entry(kLeftShift), true, 1300, rows));
  // A pause longer than a delay can hold.
  EXPECT_TRUE(r.key(entry(kLeftShift), false, 1300 + 70000, rows));
  const std::vector<MacroEvent> want = {ev(kEventKey, true, 0x04, 150), ev(kEventKey, false, 0x04, 50),
                                        ev(kEventModifier, true, 0x02, 65535), ev(kEventModifier, false, 0x02, 0)};
  EXPECT_EQ(rows.rows(), want);
  EXPECT_EQ(rows.selected(), 3u);
}

TEST(MacroRecorder, FixedAndNoDelaysAndWhereRowsGo) {
  MacroRecorder r;
  MacroEventList rows;
  r.start(DelayMode::Fixed, 40, RecordPlace::Append, 0);
  r.key(entry(kA), true, 5, rows);
  r.key(entry(kA), false, 900, rows);
  EXPECT_EQ(rows.rows(), (std::vector<MacroEvent>{ev(kEventKey, true, 4, 40), ev(kEventKey, false, 4, 40)}));

  // Recording before the first row keeps the typed order, and leaves the rows there alone.
  rows.select(0);
  r.start(DelayMode::None, 0, RecordPlace::Before, 1000);
  r.key(entry(kB), true, 1010, rows);
  r.key(entry(kB), false, 1020, rows);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows.rows()[0], ev(kEventKey, true, 0x05, 0));
  EXPECT_EQ(rows.rows()[1], ev(kEventKey, false, 0x05, 0));
  EXPECT_EQ(rows.rows()[2], ev(kEventKey, true, 0x04, 40));

  // Replacing changes the input only.
  rows.select(2);
  r.start(DelayMode::None, 0, RecordPlace::Replace, 0);
  EXPECT_TRUE(r.mouse(MouseInput::RightUp, 1, rows));
  EXPECT_EQ(rows.rows()[2], ev(kEventMouseButton, true, 0x02, 40));
}

TEST(MacroRecorder, NothingWhilePausedNoPauseCountedAfterAndNoRowPastTheLimit) {
  MacroRecorder r;
  MacroEventList rows;
  r.start(DelayMode::RealTime, 0, RecordPlace::Append, 0);
  r.mouse(MouseInput::LeftDown, 10, rows);
  EXPECT_FALSE(r.mouse(MouseInput::LeftDown, 12, rows));  // the same press again
  r.pause();
  EXPECT_FALSE(r.key(entry(kA), true, 20, rows));  // typed into another window
  r.resume(5000);
  r.mouse(MouseInput::LeftUp, 5030, rows);
  EXPECT_EQ(rows.rows(), (std::vector<MacroEvent>{ev(kEventMouseButton, true, 1, 30), ev(kEventMouseButton, false, 1, 0)}));

  std::vector<MacroEvent> full(kMaxMacroEvents, ev(kEventKey, true, 4, 0));
  rows.assign(full);
  EXPECT_FALSE(r.key(entry(kB), true, 6000, rows));
  EXPECT_EQ(rows.size(), kMaxMacroEvents);
}

TEST(MacroEventList, RowToolsMoveTheSelectedRow) {
  MacroEventList rows;
  rows.assign({ev(10, true, 1, 0), ev(10, true, 2, 0), ev(10, true, 3, 0)});
  EXPECT_FALSE(rows.move_up());  // nothing selected
  rows.select(0);
  EXPECT_TRUE(rows.move_to_bottom());
  EXPECT_TRUE(rows.move_up());
  EXPECT_EQ(rows.selected(), 1u);
  EXPECT_EQ(rows.rows()[1].button, 1);
  EXPECT_TRUE(rows.move_to_top());
  EXPECT_EQ(rows.rows()[0].button, 1);
  EXPECT_FALSE(rows.move_up());
  rows.select(2);
  EXPECT_TRUE(rows.remove_selected());
  EXPECT_EQ(rows.selected(), 1u);
  EXPECT_EQ(rows.insert_after_selected(ev(4, true, 9, 5)), 2u);
}

class MacroFolderTest : public ::testing::Test {
 protected:
  TempFolder dir_;
  MacroFolder folder_{dir_.folder()};
  std::string config() const { return dir_.file(kMacroConfigFile); }
};

TEST_F(MacroFolderTest, NamesFillTheFirstGapAndTheListHoldsFifty) {
  write_text(config(), R"({"MacroInfo":[{"MacroName":"MACRO_1","Guid":"a"},{"MacroName":"macro_3","Guid":"b"}]})");
  folder_.load();
  EXPECT_EQ(next_macro_name(folder_.entries()), "macro_2");
  size_t index = 0;
  while (folder_.size() < kMaxMacros) ASSERT_EQ(folder_.add(&index), MacroChange::kDone);
  EXPECT_EQ(folder_.entries()[2].name, "macro_2");
  EXPECT_EQ(folder_.add(), MacroChange::kFull);
  // Every identifier names its own file, even when made within one millisecond.
  std::set<std::string> guids;
  for (const MacroEntry& e : folder_.entries()) guids.insert(e.guid);
  EXPECT_EQ(guids.size(), kMaxMacros);
  MacroFolder again(dir_.folder());
  again.load();
  EXPECT_EQ(again.entries(), folder_.entries());
}

TEST_F(MacroFolderTest, RenameDeleteAndSaveKeepFilesAndListInStep) {
  size_t first = 0, second = 0;
  ASSERT_EQ(folder_.add(&first), MacroChange::kDone);
  ASSERT_EQ(folder_.add(&second), MacroChange::kDone);
  const std::vector<MacroEvent> events = {ev(10, true, 4, 12), ev(10, false, 4, 0)};
  ASSERT_EQ(folder_.save(first, events), MacroChange::kDone);
  EXPECT_EQ(folder_.rename(second, "  "), MacroChange::kNameEmpty);
  EXPECT_EQ(folder_.rename(second, "Macro_1"), MacroChange::kNameInUse);
  ASSERT_EQ(folder_.rename(first, " Reload "), MacroChange::kDone);
  EXPECT_EQ(ReadMacroFile(folder_.file_of(first))->name, "Reload");
  EXPECT_EQ(folder_.events(first), events);
  // Stored as the files are exchanged: text delays and the version.
  const Json::Value stored = ReadJsonFile(folder_.file_of(first));
  EXPECT_EQ(stored["Events"][0]["Delay"], "12");
  EXPECT_EQ(stored["Version"], 64);

  const std::string gone = folder_.file_of(first);
  ASSERT_EQ(folder_.remove(first), MacroChange::kDone);
  EXPECT_FALSE(std::filesystem::exists(gone));
  EXPECT_EQ(ReadMacroList(config())->size(), 1u);
}

TEST_F(MacroFolderTest, AnUnreadableListIsSetAsideAndAGuidLeavingTheFolderNamesNoFile) {
  write_text(config(), "{\"MacroInfo\": [");
  folder_.load();
  EXPECT_EQ(folder_.size(), 0u);
  ASSERT_EQ(folder_.add(), MacroChange::kDone);
  bool kept = false;
  for (const std::string& name : dir_.names()) kept |= name.rfind("macro.config.unreadable", 0) == 0;
  EXPECT_TRUE(kept);

  write_text(config(), R"({"MacroInfo":[{"MacroName":"x","Guid":"../../evil"}]})");
  folder_.load();
  EXPECT_EQ(folder_.file_of(0), "");
  EXPECT_EQ(folder_.save(0, {ev(10, true, 4, 0)}), MacroChange::kNoSuchMacro);
  EXPECT_TRUE(folder_.events(0).empty());
}

TEST_F(MacroFolderTest, ImportsAreCheckedAndRefusalsChangeNothing) {
  const std::string offered = dir_.file("offered.mac");
  const auto refused = [&](const std::string& text, MacroImportCheck want) {
    write_text(offered, text);
    MacroImportCheck check = MacroImportCheck::kOk;
    EXPECT_EQ(folder_.import(offered, &check), MacroChange::kBadImport) << text.substr(0, 60);
    EXPECT_EQ(check, want) << text.substr(0, 60);
  };
  refused(R"({"MacroInfo":[{"MacroName":"macro_1","Guid":"g"}]})", MacroImportCheck::kNotAMacro);
  refused(R"({"Events":[{"Action":"down","Button":4,"Type":7,"Delay":"0"}]})", MacroImportCheck::kBadEvent);
  refused(R"({"Events":[{"Action":"down","Button":4,"Type":10,"Delay":"70000"}]})", MacroImportCheck::kBadEvent);
  refused(R"({"Events":[{"Action":"press","Button":4,"Type":10,"Delay":0}]})", MacroImportCheck::kBadEvent);
  refused(R"({"Events":[{"Action":"down","Button":4)", MacroImportCheck::kUnreadable);
  refused(std::string("\x7f" "ELF\0\0\x01", 7), MacroImportCheck::kUnreadable);
  refused(std::string(100000, '[') + std::string(100000, ']'), MacroImportCheck::kUnreadable);
  std::string many = R"({"Events":[)";
  for (size_t i = 0; i <= kMaxMacroEvents; ++i) many += std::string(i ? "," : "") + R"({"Action":"up","Button":4,"Type":10,"Delay":0})";
  refused(many + "]}", MacroImportCheck::kTooManyEvents);
  {
    std::ofstream huge(offered, std::ios::binary | std::ios::trunc);
    huge << R"({"Events":[], "pad":")";
    huge << std::string(100u << 20, 'x') << "\"}";
  }
  MacroImportCheck check = MacroImportCheck::kOk;
  EXPECT_EQ(folder_.import(offered, &check), MacroChange::kBadImport);
  EXPECT_EQ(check, MacroImportCheck::kUnreadable);
  EXPECT_EQ(folder_.size(), 0u);
  EXPECT_EQ(dir_.names(), std::vector<std::string>{"offered.mac"});
}

TEST_F(MacroFolderTest, AnExportedMacroImportsAsANewMacroWithTheSameEvents) {
  size_t index = 0;
  ASSERT_EQ(folder_.add(&index), MacroChange::kDone);
  const std::vector<MacroEvent> events = {ev(9, true, 0x02, 30), ev(4, true, 10, 5), ev(1, false, 0x10, 0)};
  ASSERT_EQ(folder_.save(index, events), MacroChange::kDone);
  const std::string exported = dir_.file("shared.mac");
  ASSERT_EQ(folder_.export_to(index, exported), MacroChange::kDone);
  EXPECT_EQ(read_text(exported), read_text(folder_.file_of(index)));

  size_t imported = 0;
  ASSERT_EQ(folder_.import(exported, nullptr, &imported), MacroChange::kDone);
  EXPECT_EQ(imported, 1u);
  EXPECT_EQ(folder_.entries()[1].name, "macro_2");
  EXPECT_NE(folder_.entries()[1].guid, folder_.entries()[0].guid);
  EXPECT_EQ(folder_.events(imported), events);
}

TEST(MacroKeys, DeletingAMacroRevertsItsKeysAndRenumbersTheLaterOnes) {
  const auto key = [](uint16_t k, uint8_t type, uint8_t d1) {
    return KeyAssignRecord{{k, type, d1, 0}, {k, 0x20, 0, uint8_t(4 + k)}};
  };
  std::vector<KeyAssignRecord> keys = {key(0, 0x70, 0), key(1, 0x70, 1), key(2, 0x71, 2), key(3, 0x70, 3),
                                       {}};
  keys[4] = {{4, 0x20, 0x01, 0x06}, {4, 0x20, 0, 0x08}};
  EXPECT_TRUE(keys_play_macro(keys, 1));
  EXPECT_FALSE(keys_play_macro(keys, 4));
  ASSERT_TRUE(renumber_keys_after_delete(keys, 1));  // macro 2 of 4
  EXPECT_EQ(keys[0].assignment, (KeyAssignment{0, 0x70, 0, 0}));
  EXPECT_EQ(keys[1].assignment, keys[1].default_assignment);
  EXPECT_EQ(keys[2].assignment, (KeyAssignment{2, 0x71, 1, 0}));
  EXPECT_EQ(keys[3].assignment, (KeyAssignment{3, 0x70, 2, 0}));
  EXPECT_EQ(keys[4].assignment, (KeyAssignment{4, 0x20, 0x01, 0x06}));
  EXPECT_FALSE(renumber_keys_after_delete(keys, 7));
}

}  // namespace
}  // namespace qxr::editors::macros

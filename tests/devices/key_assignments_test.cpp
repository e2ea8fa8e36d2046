#include "devices/keyboard/key_assignments.h"

#include <gtest/gtest.h>

#include <vector>

namespace qxr::devices {
namespace {

// Every logical key sits at position = key index, for the first 126 keys.
KeyMaps identity_maps(size_t n = 126) {
  KeyMaps m;
  for (size_t i = 0; i < n; ++i) m.position[i] = static_cast<uint8_t>(i);
  return m;
}

std::vector<KeyAssignRecord> default_keys() {
  std::vector<KeyAssignRecord> keys(kLogicalKeyCount);
  for (size_t i = 0; i < keys.size(); ++i) {
    auto idx = static_cast<uint16_t>(i);
    const KeyCode& c = DefaultKeyCodes[i];
    keys[i].assignment = {idx, c.type, c.code1, c.code2};
    keys[i].default_assignment = keys[i].assignment;
  }
  return keys;
}

void assign_macro(std::vector<KeyAssignRecord>& keys, size_t key, uint8_t macro,
                  uint8_t type = kAssignMacro) {
  keys[key].assignment.type = type;
  keys[key].assignment.d1 = macro;
  keys[key].assignment.d2 = 1;
}

std::vector<uint8_t> code_at(const std::vector<uint8_t>& table, size_t pos) {
  return {table[pos * 3], table[pos * 3 + 1], table[pos * 3 + 2]};
}

TEST(KeyAssignments, MacroSlotsAreNumberedByFirstUse) {
  auto keys = default_keys();
  assign_macro(keys, 10, 4);
  assign_macro(keys, 20, 2, kAssignMacroRepeat);
  assign_macro(keys, 30, 4);  // same macro as key 10: shares its slot
  assign_macro(keys, 40, 0);
  KeyMaps maps = identity_maps();
  EXPECT_EQ(collect_macro_slots(keys, maps, 5), (std::vector<int>{4, 2, 0}));

  std::vector<uint8_t> base(126 * 3, 0xEE);
  std::vector<uint8_t> table = build_key_table(base, keys, maps, 5);
  ASSERT_EQ(table.size(), base.size());
  EXPECT_EQ(code_at(table, 10), (std::vector<uint8_t>{0x70, 0, 1}));
  EXPECT_EQ(code_at(table, 20), (std::vector<uint8_t>{0x71, 1, 1}));
  EXPECT_EQ(code_at(table, 30), (std::vector<uint8_t>{0x70, 0, 1}));
  EXPECT_EQ(code_at(table, 40), (std::vector<uint8_t>{0x70, 2, 1}));
  EXPECT_EQ(code_at(table, 0), (std::vector<uint8_t>{0x20, 0, 0x29}));
  // The key list itself keeps the user's macro numbers.
  EXPECT_EQ(keys[10].assignment.d1, 4);
}

TEST(KeyAssignments, MissingMacroSendsTheDefaultAndTakesNoSlot) {
  auto keys = default_keys();
  assign_macro(keys, 10, 7);  // only 3 macros exist
  assign_macro(keys, 11, 1);
  KeyMaps maps = identity_maps();
  EXPECT_EQ(collect_macro_slots(keys, maps, 3), (std::vector<int>{1}));
  std::vector<uint8_t> table = build_key_table(std::vector<uint8_t>(126 * 3), keys, maps, 3);
  const KeyCode& def = DefaultKeyCodes[10];
  EXPECT_EQ(code_at(table, 10), (std::vector<uint8_t>{def.type, def.code1, def.code2}));
  EXPECT_EQ(code_at(table, 11), (std::vector<uint8_t>{0x70, 0, 1}));
}

TEST(KeyAssignments, KeysWithoutPositionAreNeitherSentNorCounted) {
  auto keys = default_keys();
  assign_macro(keys, 5, 2);
  assign_macro(keys, 6, 1);
  KeyMaps maps = identity_maps();
  maps.position[5] = kNoPosition;
  EXPECT_EQ(collect_macro_slots(keys, maps, 3), (std::vector<int>{1}));
  std::vector<uint8_t> base(126 * 3, 0xEE);
  std::vector<uint8_t> table = build_key_table(base, keys, maps, 3);
  EXPECT_EQ(code_at(table, 5), (std::vector<uint8_t>{0xEE, 0xEE, 0xEE}));
  EXPECT_EQ(code_at(table, 6), (std::vector<uint8_t>{0x70, 0, 1}));
}

TEST(KeyAssignments, PositionsBeyondTheTableAreIgnored) {
  auto keys = default_keys();
  KeyMaps maps = identity_maps();
  maps.position[3] = 200;  // a corrupt map must not write past the table
  std::vector<uint8_t> table = build_key_table(std::vector<uint8_t>(126 * 3), keys, maps, 0);
  EXPECT_EQ(table.size(), 126u * 3);
}

TEST(KeyAssignments, RevertGivesBackDefaultsOfMissingMacrosOnly) {
  auto keys = default_keys();
  assign_macro(keys, 10, 2);
  assign_macro(keys, 11, 3, kAssignMacroRepeat);
  EXPECT_TRUE(revert_missing_macros(keys, 3));
  EXPECT_EQ(keys[10].assignment.type, kAssignMacro);
  EXPECT_EQ(keys[11].assignment, keys[11].default_assignment);
  EXPECT_EQ(keys[11].assignment.key_index, 11);
  EXPECT_FALSE(revert_missing_macros(keys, 3));
}

}  // namespace
}  // namespace qxr::devices

#include "devices/keyboard/key_maps.h"

#include <gtest/gtest.h>

#include <vector>

namespace qxr::devices {
namespace {

void put_code(std::vector<uint8_t>& table, size_t pos, const KeyCode& c) {
  table[pos * 3] = c.type;
  table[pos * 3 + 1] = c.code1;
  table[pos * 3 + 2] = c.code2;
}

// A keyboard whose position k holds the default code of logical key (k + shift) % 170,
// with LED index 200 - k at every position.
struct ShiftedBoard {
  size_t count;
  size_t shift;
  std::vector<uint8_t> keys;
  std::vector<uint8_t> leds;
  ShiftedBoard(size_t n, size_t s) : count(n), shift(s), keys(n * 3), leds(n) {
    for (size_t k = 0; k < n; ++k) {
      put_code(keys, k, DefaultKeyCodes[(k + s) % kLogicalKeyCount]);
      leds[k] = static_cast<uint8_t>(200 - k);
    }
  }
};

TEST(DefaultKeyCodes, HoldsTheTableOfTheKeyboard) {
  EXPECT_EQ(DefaultKeyCodes[0], (KeyCode{0x20, 0, 0x29}));
  EXPECT_EQ(DefaultKeyCodes[12], (KeyCode{0x20, 0, 0x45}));
  EXPECT_EQ(DefaultKeyCodes[16], (KeyCode{0xA0, 0x1B, 0}));
  EXPECT_EQ(DefaultKeyCodes[31], (KeyCode{0x20, 0, 0x27}));
  EXPECT_EQ(DefaultKeyCodes[84], (KeyCode{0x20, 0x02, 0}));
  EXPECT_EQ(DefaultKeyCodes[110], (KeyCode{0xA0, 0x01, 0}));
  EXPECT_EQ(DefaultKeyCodes[122], (KeyCode{0xD0, 0xA2, 3}));
  EXPECT_EQ(DefaultKeyCodes[125], (KeyCode{0x20, 0x80, 0}));
  for (size_t i : {18, 19, 20, 104, 126, 169}) EXPECT_EQ(DefaultKeyCodes[i], KeyCode{}) << i;
}

TEST(KeyMaps, EachKeyFindsItsPositionAndLed) {
  // Shift 1: position k holds logical key k + 1, so logical key j sits at j - 1.
  ShiftedBoard b(126, 1);
  KeyMaps m = build_key_maps(b.keys, b.leds, b.count);
  EXPECT_EQ(m.position[1], 0);
  EXPECT_EQ(m.position[50], 49);
  EXPECT_EQ(m.led[50], 200 - 49);
  EXPECT_EQ(m.logical_key_at(49), 50);
}

TEST(KeyMaps, MissingKeyKeepsNoPositionAndNoLed) {
  ShiftedBoard b(100, 1);  // logical key 0 is on no position (its code lies beyond)
  KeyMaps m = build_key_maps(b.keys, b.leds, b.count);
  EXPECT_EQ(m.position[0], kNoPosition);
  EXPECT_EQ(m.led[0], kNoLed);
  EXPECT_EQ(m.position[110], kNoPosition);
}

TEST(KeyMaps, KeysWithTheSameCodeShareTheFirstPosition) {
  ShiftedBoard b(126, 0);
  // Positions 30 and 40 also hold logical key 5's code.
  put_code(b.keys, 30, DefaultKeyCodes[5]);
  put_code(b.keys, 40, DefaultKeyCodes[5]);
  KeyMaps m = build_key_maps(b.keys, b.leds, b.count);
  EXPECT_EQ(m.position[5], 5);
  // Keys 18, 19 and 20 all have the empty code: all take position 18, the first empty one.
  EXPECT_EQ(m.position[18], 18);
  EXPECT_EQ(m.position[19], 18);
  EXPECT_EQ(m.position[20], 18);
  EXPECT_EQ(m.logical_key_at(18), 18);
  EXPECT_EQ(m.logical_key_at(30), -1);  // its own key 30 moved away
}

TEST(KeyMaps, PositionSeventyOneHasNoLed) {
  ShiftedBoard b(126, 0);
  KeyMaps m = build_key_maps(b.keys, b.leds, b.count);
  EXPECT_EQ(m.position[71], 71);
  EXPECT_EQ(m.led[71], kNoLed);
  EXPECT_EQ(m.led[70], 200 - 70);
  EXPECT_EQ(m.led[72], 200 - 72);
}

TEST(KeyMaps, TooManyPositionsLeaveEverythingUnmapped) {
  std::vector<uint8_t> keys(171 * 3, 0), leds(171, 0);
  put_code(keys, 0, DefaultKeyCodes[0]);
  KeyMaps m = build_key_maps(keys, leds, 171);
  EXPECT_EQ(m.position[0], kNoPosition);
  // 170 positions still fit.
  m = build_key_maps(keys, leds, 170);
  EXPECT_EQ(m.position[0], 0);
}

TEST(KeyMaps, ShortTablesAreNotReadPastTheirEnd) {
  ShiftedBoard b(50, 0);
  std::vector<uint8_t> short_leds(10, 7);
  KeyMaps m = build_key_maps(b.keys, short_leds, b.count);
  EXPECT_EQ(m.position[25], 25);
  EXPECT_EQ(m.led[25], kNoLed);  // the LED table has no entry for position 25
  EXPECT_EQ(m.led[5], 7);
  // A key table shorter than the count claims is refused whole.
  m = build_key_maps(std::span(b.keys).first(30), b.leds, b.count);
  EXPECT_EQ(m.position[0], kNoPosition);
}

}  // namespace
}  // namespace qxr::devices

#include <gtest/gtest.h>

#include "devices/lighting/ripple_masks.h"

using namespace qxr::lighting;

TEST(RippleMasks, ShiftSpreadsAPressInFourDiagonalDirections) {
  RippleMasks m;
  m.mark(10, 0x04);  // row 2
  m.ShiftRipple();
  RippleMasks::Masks a{}, b{}, c{}, d{};
  a[9] = 0x04, a[10] = 0x02;   // left, and up in place
  b[11] = 0x04, b[10] = 0x02;  // right, and up
  c[11] = 0x04, c[10] = 0x08;  // right, and down
  d[9] = 0x04, d[10] = 0x08;   // left, and down
  EXPECT_EQ(m.a, a);
  EXPECT_EQ(m.b, b);
  EXPECT_EQ(m.c, c);
  EXPECT_EQ(m.d, d);
  EXPECT_EQ(m.combined(10), 0x0A);
}

TEST(RippleMasks, ShiftWorksFromTheOldValuesAndLosesBitsAtTheEdges) {
  RippleMasks m;
  m.a[22] = 0x01;
  m.b[0] = 0x01;
  m.c[0] = 0x80;
  m.d[22] = 0x80;
  m.ShiftRipple();
  EXPECT_EQ(m.a[21], 0x01);
  EXPECT_EQ(m.a[20], 0x00);  // moved one column, not two
  EXPECT_EQ(m.a[22], 0x00);
  EXPECT_EQ(m.b[1], 0x01);
  EXPECT_EQ(m.b[2], 0x00);
  EXPECT_EQ(m.b[0], 0x00);
  EXPECT_EQ(m.c[0], 0x00);  // shifted out of the byte
  EXPECT_EQ(m.c[1], 0x80);
  EXPECT_EQ(m.d[22], 0x00);
  EXPECT_EQ(m.d[21], 0x80);
}

TEST(RippleMasks, SlideMovesAlongTheRowOnly) {
  RippleMasks m;
  m.mark(0, 0x10);
  m.mark(22, 0x02);
  m.SlideRipple();
  EXPECT_EQ(m.a, RippleMasks::Masks{});
  EXPECT_EQ(m.c, RippleMasks::Masks{});
  EXPECT_EQ(m.b[1], 0x10);
  EXPECT_EQ(m.b[0], 0x00);
  EXPECT_EQ(m.b[22], 0x00);  // slid off the last column
  EXPECT_EQ(m.d[21], 0x02);
  EXPECT_EQ(m.d[22], 0x00);
  EXPECT_EQ(m.d[0], 0x00);  // the column-0 bit of D slid off
  m.mark(40, 0xFF);         // beyond the grid: ignored
  m.clear();
  EXPECT_EQ(m.combined(1), 0);
}

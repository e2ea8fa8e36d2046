// The device table handed to diagnostic tools.
#include <gtest/gtest.h>

#include "devices/kinds/device_kinds.h"
#include "devices/kinds/device_table.h"

namespace qxr::devices {
namespace {

uint32_t integer(const DeviceTableBlock& block, size_t index) {
  return uint32_t{block[index * 4]} | uint32_t{block[index * 4 + 1]} << 8 | uint32_t{block[index * 4 + 2]} << 16 |
         uint32_t{block[index * 4 + 3]} << 24;
}

TEST(DeviceTable, TheBlockHoldsTheIdentificationAndOneRowPerModel) {
  const DeviceTableBlock block = device_table_block();
  ASSERT_EQ(block.size(), 1024u);
  EXPECT_EQ(integer(block, 0), 2u);
  EXPECT_EQ(integer(block, 1), 3u);
  EXPECT_EQ(integer(block, 2), 0u);
  EXPECT_EQ(integer(block, 3), 2u);
  EXPECT_EQ(integer(block, 4), 4u);
  // The model rows in table order: keyboard, mouse (ids 0), mouse pad, headset.
  const uint32_t expected[][3] = {{0x320F, 0x5055, 1}, {0, 0, 2}, {0x320F, 0x1004, 3}, {0x00C7, 0x1630, 7}};
  for (size_t r = 0; r < 4; ++r) {
    for (size_t c = 0; c < 3; ++c) EXPECT_EQ(integer(block, 5 + 3 * r + c), expected[r][c]) << r << "," << c;
  }
  for (size_t i = 5 + 3 * 4; i < 256; ++i) ASSERT_EQ(integer(block, i), 0u) << i;
}

TEST(DeviceTable, ReadingGivesTheRowsBackAndRefusesWhatIsNoTable) {
  const std::optional<std::vector<DeviceTableRow>> rows = read_device_table(device_table_block());
  ASSERT_TRUE(rows.has_value());
  ASSERT_EQ(rows->size(), device_kinds().size());
  EXPECT_EQ((*rows)[0], (DeviceTableRow{0x320F, 0x5055, 1}));

  DeviceTableBlock wrong_id = device_table_block();
  wrong_id[4] = 9;
  EXPECT_FALSE(read_device_table(wrong_id).has_value());
  DeviceTableBlock too_many = device_table_block();
  too_many[16] = 0xFF;
  EXPECT_FALSE(read_device_table(too_many).has_value());
  const std::vector<uint8_t> short_block(100, 0);
  EXPECT_FALSE(read_device_table(short_block).has_value());
}

TEST(DeviceTable, RowsBeyondTheBlocksRoomAreLeftOut) {
  const std::vector<DeviceTableRow> many(kDeviceTableMaxRows + 5, DeviceTableRow{1, 2, 3});
  const std::optional<std::vector<DeviceTableRow>> rows = read_device_table(make_device_table(many));
  ASSERT_TRUE(rows.has_value());
  EXPECT_EQ(rows->size(), kDeviceTableMaxRows);
}

}  // namespace
}  // namespace qxr::devices

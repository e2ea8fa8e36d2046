#include "hid/supported_interfaces.h"

#include <gtest/gtest.h>

#include "tests/hid/interface_rows.h"

namespace qxr::hid {
namespace {

DeviceSlot opened(const std::string& path, uint16_t usage_page, uint16_t usage) {
  DeviceSlot r = record_from_path(path);
  r.usage_page = usage_page;
  r.usage = usage;
  return r;
}

TEST(SlotClaiming, BothKeyboardCollectionsClaimTheirOwnSlots) {
  auto slots = make_slot_list(test::kInterfaceRows);
  ASSERT_EQ(slots.size(), 7u);
  const std::string col4 = "/dev/hidraw3#vid_320f&pid_5055&mi_01&col04";
  const std::string col3 = "/dev/hidraw3#vid_320f&pid_5055&mi_01&col03";
  ASSERT_TRUE(candidate_fits(record_from_path(col4), slots, test::kInterfaceRows));
  ASSERT_TRUE(candidate_fits(record_from_path(col3), slots, test::kInterfaceRows));

  DeviceSlot r4 = opened(col4, 0xFF1C, 0x92);
  size_t index = 99;
  ASSERT_TRUE(claim_slot(r4, slots, test::kInterfaceRows, &index));
  EXPECT_EQ(index, 0u);
  EXPECT_EQ(r4.kind, test::kKeyboard);
  EXPECT_EQ(r4.role, kInterfaceRolePrimary);
  EXPECT_TRUE(slots[0].connected);
  EXPECT_EQ(slots[0].path, col4);

  DeviceSlot r3 = opened(col3, 0x0C, 0x01);
  ASSERT_TRUE(claim_slot(r3, slots, test::kInterfaceRows, &index));
  EXPECT_EQ(index, 1u);
  EXPECT_EQ(r3.role, kInterfaceRoleSecondary);

  // A second keyboard finds no free slot.
  const std::string other = "/dev/hidraw9#vid_320f&pid_5055&mi_01&col04";
  EXPECT_FALSE(candidate_fits(record_from_path(other), slots, test::kInterfaceRows));
  DeviceSlot r = opened(other, 0xFF1C, 0x92);
  EXPECT_FALSE(claim_slot(r, slots, test::kInterfaceRows, &index));
  EXPECT_EQ(slots[0].path, col4);
}

TEST(SlotClaiming, WrongUsageOrInterfaceClaimsNothing) {
  auto slots = make_slot_list(test::kInterfaceRows);
  DeviceSlot r = opened("/dev/hidraw1#vid_320f&pid_5055&mi_01&col04", 0x0C, 0x01);
  size_t index = 0;
  EXPECT_FALSE(claim_slot(r, slots, test::kInterfaceRows, &index));
  for (const auto& s : slots) EXPECT_TRUE(s.is_free());
  EXPECT_FALSE(candidate_fits(record_from_path("/dev/hidraw1#vid_320f&pid_5055&mi_00&col04"), slots, test::kInterfaceRows));
  EXPECT_FALSE(candidate_fits(record_from_path("/dev/hidraw1#vid_320f&pid_5055&mi_01&col01"), slots, test::kInterfaceRows));
  EXPECT_FALSE(candidate_fits(record_from_path("/dev/hidraw1#vid_1234&pid_5055&mi_01&col04"), slots, test::kInterfaceRows));
}

TEST(SlotClaiming, HeadsetWithoutColMatchesCollectionZero) {
  auto slots = make_slot_list(test::kInterfaceRows);
  const std::string hd = "/dev/hidraw5#vid_00c7&pid_1630&mi_03";
  ASSERT_TRUE(candidate_fits(record_from_path(hd), slots, test::kInterfaceRows));
  EXPECT_FALSE(candidate_fits(record_from_path(hd + "&col01"), slots, test::kInterfaceRows));
  DeviceSlot r = opened(hd, 0x0C, 0x01);
  size_t index = 0;
  ASSERT_TRUE(claim_slot(r, slots, test::kInterfaceRows, &index));
  EXPECT_EQ(index, 6u);
  EXPECT_EQ(r.kind, test::kHeadset);
}

TEST(SlotClaiming, AHeldPathAloneKeepsASlotTaken) {
  auto slots = make_slot_list(test::kInterfaceRows);
  slots[4].path = "/dev/hidraw2#vid_320f&pid_1004&mi_01&col04";  // claimed, not yet flagged
  EXPECT_FALSE(candidate_fits(record_from_path("/dev/hidraw8#vid_320f&pid_1004&mi_01&col04"), slots, test::kInterfaceRows));
}

}  // namespace
}  // namespace qxr::hid

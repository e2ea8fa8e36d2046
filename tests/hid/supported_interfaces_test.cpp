#include "hid/supported_interfaces.h"

#include <gtest/gtest.h>

namespace qxr::hid {
namespace {

TEST(SupportedInterfaces, TableRowsAndFindRow) {
  ASSERT_EQ(kSupportedInterfaces.size(), 7u);
  // The keyboard and the pad: vendor collection 4 primary, consumer collection 3 secondary.
  EXPECT_EQ(find_row(0x320F, 0x5055, kDeviceKindKeyboard, kInterfaceRolePrimary), 0);
  EXPECT_EQ(find_row(0x320F, 0x5055, kDeviceKindKeyboard, kInterfaceRoleSecondary), 1);
  EXPECT_EQ(find_row(0, 0, kDeviceKindMouse, kInterfaceRolePrimary), 2);
  EXPECT_EQ(find_row(0, 0, kDeviceKindMouse, kInterfaceRoleSecondary), 3);
  EXPECT_EQ(find_row(0x320F, 0x1004, kDeviceKindMousePad, kInterfaceRolePrimary), 4);
  EXPECT_EQ(find_row(0x320F, 0x1004, kDeviceKindMousePad, kInterfaceRoleSecondary), 5);
  EXPECT_EQ(find_row(0x00C7, 0x1630, kDeviceKindHeadset, kInterfaceRolePrimary), 6);
  EXPECT_EQ(find_row(0x00C7, 0x1630, kDeviceKindHeadset, kInterfaceRoleSecondary), -1);
  EXPECT_EQ(find_row(0x320F, 0x5055, kDeviceKindReceiverMouse, kInterfaceRolePrimary), -1);

  for (size_t i = 0; i < 6; ++i) {
    const auto& r = kSupportedInterfaces[i];
    EXPECT_EQ(r.interface_number, 1);
    EXPECT_EQ(r.collection_number, r.role == kInterfaceRolePrimary ? 4 : 3);
    EXPECT_EQ(r.usage_page, r.role == kInterfaceRolePrimary ? 0xFF1C : 0x000C);
    EXPECT_EQ(r.usage, r.role == kInterfaceRolePrimary ? 0x92 : 0x01);
  }
  const auto& hd = kSupportedInterfaces[6];
  EXPECT_EQ(hd.interface_number, 3);
  EXPECT_EQ(hd.collection_number, 0);
  EXPECT_EQ(hd.usage_page, 0x0C);
  EXPECT_EQ(hd.usage, 0x01);
  for (const auto& r : kSupportedInterfaces) {
    EXPECT_EQ(r.connected, 0);
    EXPECT_EQ(r.reserved[0], 0);
    EXPECT_EQ(r.reserved[1], 0);
  }
}

TEST(SupportedInterfaces, KindsMapToTheirDeviceClass) {
  EXPECT_EQ(device_class_of(1), DeviceClass::Keyboard);
  EXPECT_EQ(device_class_of(2), DeviceClass::Mouse);
  EXPECT_EQ(device_class_of(6), DeviceClass::Mouse);
  EXPECT_EQ(device_class_of(3), DeviceClass::MousePad);
  EXPECT_EQ(device_class_of(7), DeviceClass::Headset);
  EXPECT_EQ(device_class_of(4), DeviceClass::None);
  EXPECT_EQ(device_class_of(5), DeviceClass::None);
  EXPECT_EQ(device_class_of(0), DeviceClass::None);
}

DeviceSlot opened(const std::string& path, uint16_t usage_page, uint16_t usage) {
  DeviceSlot r = record_from_path(path);
  r.usage_page = usage_page;
  r.usage = usage;
  return r;
}

TEST(SlotClaiming, BothKeyboardCollectionsClaimTheirOwnSlots) {
  auto slots = make_slot_list();
  ASSERT_EQ(slots.size(), 7u);
  const std::string col4 = "/dev/hidraw3#vid_320f&pid_5055&mi_01&col04";
  const std::string col3 = "/dev/hidraw3#vid_320f&pid_5055&mi_01&col03";
  ASSERT_TRUE(candidate_fits(record_from_path(col4), slots));
  ASSERT_TRUE(candidate_fits(record_from_path(col3), slots));

  DeviceSlot r4 = opened(col4, 0xFF1C, 0x92);
  size_t index = 99;
  ASSERT_TRUE(claim_slot(r4, slots, &index));
  EXPECT_EQ(index, 0u);
  EXPECT_EQ(r4.kind, kDeviceKindKeyboard);
  EXPECT_EQ(r4.role, kInterfaceRolePrimary);
  EXPECT_TRUE(slots[0].connected);
  EXPECT_EQ(slots[0].path, col4);

  DeviceSlot r3 = opened(col3, 0x0C, 0x01);
  ASSERT_TRUE(claim_slot(r3, slots, &index));
  EXPECT_EQ(index, 1u);
  EXPECT_EQ(r3.role, kInterfaceRoleSecondary);

  // A second keyboard finds no free slot.
  const std::string other = "/dev/hidraw9#vid_320f&pid_5055&mi_01&col04";
  EXPECT_FALSE(candidate_fits(record_from_path(other), slots));
  DeviceSlot r = opened(other, 0xFF1C, 0x92);
  EXPECT_FALSE(claim_slot(r, slots, &index));
  EXPECT_EQ(slots[0].path, col4);
}

TEST(SlotClaiming, WrongUsageOrInterfaceClaimsNothing) {
  auto slots = make_slot_list();
  DeviceSlot r = opened("/dev/hidraw1#vid_320f&pid_5055&mi_01&col04", 0x0C, 0x01);
  size_t index = 0;
  EXPECT_FALSE(claim_slot(r, slots, &index));
  for (const auto& s : slots) EXPECT_TRUE(s.is_free());
  EXPECT_FALSE(candidate_fits(record_from_path("/dev/hidraw1#vid_320f&pid_5055&mi_00&col04"), slots));
  EXPECT_FALSE(candidate_fits(record_from_path("/dev/hidraw1#vid_320f&pid_5055&mi_01&col01"), slots));
  EXPECT_FALSE(candidate_fits(record_from_path("/dev/hidraw1#vid_1234&pid_5055&mi_01&col04"), slots));
}

TEST(SlotClaiming, HeadsetWithoutColMatchesCollectionZero) {
  auto slots = make_slot_list();
  const std::string hd = "/dev/hidraw5#vid_00c7&pid_1630&mi_03";
  ASSERT_TRUE(candidate_fits(record_from_path(hd), slots));
  EXPECT_FALSE(candidate_fits(record_from_path(hd + "&col01"), slots));
  DeviceSlot r = opened(hd, 0x0C, 0x01);
  size_t index = 0;
  ASSERT_TRUE(claim_slot(r, slots, &index));
  EXPECT_EQ(index, 6u);
  EXPECT_EQ(r.kind, kDeviceKindHeadset);
}

TEST(SlotClaiming, AHeldPathAloneKeepsASlotTaken) {
  auto slots = make_slot_list();
  slots[4].path = "/dev/hidraw2#vid_320f&pid_1004&mi_01&col04";  // claimed, not yet flagged
  EXPECT_FALSE(candidate_fits(record_from_path("/dev/hidraw8#vid_320f&pid_1004&mi_01&col04"), slots));
}

}  // namespace
}  // namespace qxr::hid

// The package's udev rule and AppStream modaliases, made from the device kinds' rows.
#include <gtest/gtest.h>

#include "devices/kinds/device_kinds.h"
#include "tools/packaging/package_ids.h"

namespace qxr::packaging {
namespace {

TEST(PackageIds, EachRealIdOnceInRowOrderAndNoneForTheZeroMouse) {
  const std::vector<UsbId> ids = packaged_usb_ids();
  ASSERT_EQ(ids.size(), 3u);
  EXPECT_EQ(ids[0], (UsbId{0x320F, 0x5055, "keyboard"}));
  EXPECT_EQ(ids[1], (UsbId{0x320F, 0x1004, "pad"}));
  EXPECT_EQ(ids[2], (UsbId{0x00C7, 0x1630, "headset"}));
  // Every row with an id of its own is served by one of them.
  for (const devices::KindRow& row : devices::device_kinds()) {
    for (const hid::SupportedInterface& i : row.interfaces) {
      if (i.vendor_id == 0 && i.product_id == 0) continue;
      EXPECT_TRUE(std::any_of(ids.begin(), ids.end(), [&](const UsbId& id) {
        return id.vendor_id == i.vendor_id && id.product_id == i.product_id;
      })) << row.name;
    }
  }
}

TEST(PackageIds, TheRuleTagsTheHidrawNodesForTheSeat) {
  const std::string rules = udev_rules({{0x00C7, 0x1630, "headset"}});
  EXPECT_NE(rules.find("KERNEL==\"hidraw*\", SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"00c7\", "
                       "ATTRS{idProduct}==\"1630\", TAG+=\"uaccess\"\n"),
            std::string::npos)
      << rules;
  EXPECT_EQ(rules.find("MODE"), std::string::npos);  // no world-writable nodes
}

TEST(PackageIds, ModaliasesReplaceTheMarkerLineWithItsIndent) {
  const std::string filled = fill_metainfo("<provides>\n    %MODALIASES%\n</provides>\n",
                                           {{0x320F, 0x5055, "keyboard"}, {0x00C7, 0x1630, "headset"}});
  EXPECT_EQ(filled,
            "<provides>\n"
            "    <modalias>usb:v320Fp5055d*</modalias>\n"
            "    <modalias>usb:v00C7p1630d*</modalias>\n"
            "</provides>\n");
  EXPECT_TRUE(fill_metainfo("<provides/>\n", {}).empty());
  // The marker must stand alone on its line.
  EXPECT_TRUE(fill_metainfo("<x>%MODALIASES%</x>\n", {}).empty());
}

}  // namespace
}  // namespace qxr::packaging

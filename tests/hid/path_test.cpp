#include <gtest/gtest.h>

#include "hid/device_path.h"
#include "hid/hid_device.h"

namespace qxr::hid {
namespace {

TEST(PathHelpers, ReadTheSuffixCaseInsensitively) {
  const std::string p = "/dev/hidraw3#VID_320F&Pid_5055&MI_01&Col04";
  EXPECT_EQ(vendor_from_path(p), 0x320F);
  EXPECT_EQ(product_from_path(p), 0x5055);
  EXPECT_EQ(interface_from_path(p), 1);
  EXPECT_EQ(collection_from_path(p), 4);
  EXPECT_EQ(path_node(p), "/dev/hidraw3");
}

TEST(PathHelpers, MissingMarkersGiveZero) {
  const std::string headset = "/dev/hidraw7#vid_00c7&pid_1630&mi_03";
  EXPECT_EQ(interface_from_path(headset), 3);
  EXPECT_EQ(collection_from_path(headset), 0);
  const std::string bare = "/dev/hidraw1#vid_046d&pid_c077";
  EXPECT_EQ(interface_from_path(bare), 0);
  EXPECT_EQ(collection_from_path(bare), 0);
  EXPECT_EQ(vendor_from_path("/dev/hidraw1"), 0);
  EXPECT_EQ(vendor_from_path("/dev/hidraw1#vid_zz"), 0);
}

TEST(PathHelpers, FolderNamesDoNotReadAsMarkers) {
  // "david_" contains "vid_": only the suffix counts.
  const std::string p = "/home/david_c0/emu/kb.sock#vid_320f&pid_1004&mi_01&col03";
  EXPECT_EQ(vendor_from_path(p), 0x320F);
  EXPECT_EQ(path_node(p), "/home/david_c0/emu/kb.sock");
}

TEST(PathHelpers, MakePathRoundTrips) {
  const std::string p = make_path("/tmp/e/kb.sock", 0x320F, 0x5055, 1, 4);
  EXPECT_EQ(p, "/tmp/e/kb.sock#vid_320f&pid_5055&mi_01&col04");
  EXPECT_EQ(make_path("/dev/hidraw0", 0xC7, 0x1630, 3, 0), "/dev/hidraw0#vid_00c7&pid_1630&mi_03");
  EXPECT_EQ(make_path("/dev/hidraw0", 1, 2, -1, 0), "/dev/hidraw0#vid_0001&pid_0002");
  EXPECT_EQ(collection_from_path(make_path("/n", 1, 2, 0, 0x1F)), 0x1F);
}

}  // namespace
}  // namespace qxr::hid

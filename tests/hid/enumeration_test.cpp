#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "emulator/report_descriptors.h"
#include "fake_interface.h"
#include "hid/enumeration.h"
#include "tests/support/temp_folder.h"
#include "hid/hid_device.h"

namespace qxr::hid {
namespace {

using test::FakeInterface;
using qxr::testing::TempFolder;

class Enumeration : public ::testing::Test {
 protected:
  Enumeration() {
    set_hidraw_enabled(false);
    set_emulator_dir(dir_.path());
  }
  ~Enumeration() override {
    use_emulator_dir_from_environment();
    set_hidraw_enabled(true);
  }

  std::vector<std::string> all_paths() {
    std::vector<std::string> out;
    EXPECT_TRUE(dev_.enumerate());
    while (const std::string* p = dev_.next_path()) out.push_back(*p);
    return out;
  }

  TempFolder dir_;
  HidDevice dev_;
};

TEST_F(Enumeration, OnePathPerCollectionWithColOnlyWhenSeveral) {
  FakeInterface kb(dir_.path(), "kb", 0x320F, 0x5055, 1, emu::keyboard_report_descriptor());
  FakeInterface hd(dir_.path(), "hd", 0x00C7, 0x1630, 3, emu::headset_report_descriptor());
  kb.plug();
  hd.plug();
  EXPECT_EQ(all_paths(), (std::vector<std::string>{hd.path(0), kb.path(1), kb.path(2), kb.path(3),
                                                   kb.path(4)}));
  EXPECT_EQ(hd.path(0), dir_.path() + "/hd.sock#vid_00c7&pid_1630&mi_03");
  EXPECT_EQ(dev_.path_count(), 5u);
  EXPECT_EQ(dev_.next_path(), nullptr);  // exhausted stays exhausted

  // enumerate starts over; clear_paths empties the list.
  EXPECT_EQ(all_paths().size(), 5u);
  dev_.clear_paths();
  EXPECT_EQ(dev_.path_count(), 0u);
  EXPECT_EQ(dev_.next_path(), nullptr);
}

TEST_F(Enumeration, ManyInterfacesAreAllKept) {
  std::vector<std::unique_ptr<FakeInterface>> pads;
  for (int i = 0; i < 5; ++i) {
    pads.push_back(std::make_unique<FakeInterface>(dir_.path(), "pad" + std::to_string(i), 0x320F,
                                                   0x1004, 1, emu::pad_report_descriptor()));
    pads.back()->plug();
  }
  auto paths = all_paths();
  ASSERT_EQ(paths.size(), 20u);
  EXPECT_EQ(paths.front(), pads[0]->path(1));
  EXPECT_EQ(paths.back(), pads[4]->path(4));
}

TEST_F(Enumeration, EmptyOrMissingFolderYieldsNoPathsButSucceeds) {
  EXPECT_TRUE(all_paths().empty());
  EXPECT_EQ(dev_.next_path(), nullptr);
  set_emulator_dir(dir_.path() + "/not-there");
  EXPECT_TRUE(all_paths().empty());
  set_emulator_dir("");
  EXPECT_TRUE(all_paths().empty());
}

TEST_F(Enumeration, SkipsDescriptionsWithoutSocketOrWithBadContent) {
  FakeInterface kb(dir_.path(), "kb", 0x320F, 0x5055, 1, emu::keyboard_report_descriptor());
  kb.plug();
  auto write = [&](const std::string& name, const std::string& text) {
    std::ofstream(dir_.path() + "/" + name) << text;
  };
  write("nosock.json", R"({"vendor_id": 1, "product_id": 2, "interface": 0, "report_descriptor": "a1 01 c0"})");
  write("bad.json", "{ not json");
  write("kb2.json.tmp", "{}");
  // A socket beside a description whose descriptor does not parse.
  FakeInterface broken(dir_.path(), "broken", 1, 2, 0, {0xA1, 0x01});
  broken.plug();
  EXPECT_EQ(all_paths().size(), 4u);
}

TEST_F(Enumeration, FolderComesFromTheEnvironmentUnlessSet) {
  use_emulator_dir_from_environment();
  setenv(kEmulatorDirEnv, "/tmp/from-env", 1);
  EXPECT_EQ(emulator_dir(), "/tmp/from-env");
  set_emulator_dir(dir_.path());
  EXPECT_EQ(emulator_dir(), dir_.path());
  unsetenv(kEmulatorDirEnv);
}

}  // namespace
}  // namespace qxr::hid

namespace qxr::hid {
namespace {

// Whatever hidraw nodes this machine has (often none in a container): the libudev source works
// and lists each node whose HID parent it can describe, never more than sysfs shows.
TEST(HidrawSource, ListsNoMoreThanSysfsShows) {
  std::vector<InterfaceInfo> found;
  ASSERT_TRUE(make_hidraw_source()->list(&found));
  size_t in_sysfs = 0;
  std::error_code ec;
  for (auto it = std::filesystem::directory_iterator("/sys/class/hidraw", ec);
       !ec && it != std::filesystem::directory_iterator(); ++it)
    ++in_sysfs;
  EXPECT_LE(found.size(), in_sysfs);
  for (const auto& info : found) {
    EXPECT_EQ(info.node.rfind("/dev/hidraw", 0), 0u) << info.node;
    EXPECT_FALSE(info.report_descriptor.empty());
  }
}

}  // namespace
}  // namespace qxr::hid

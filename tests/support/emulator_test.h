#pragma once
// Tests against emulated devices: an emulator serving a private folder, with the program's
// user data and device enumeration pointed into that folder for the test's lifetime, so no
// real device and no user file is ever touched.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "emulator/emulator.h"
#include "tests/support/temp_folder.h"

namespace qxr::testing {

class EmulatorTest : public ::testing::Test {
 protected:
  EmulatorTest();
  ~EmulatorTest() override;

  // Plugs the devices and starts serving.
  bool start(const std::vector<emu::DeviceType>& plugged) { return emu_->start(plugged); }
  // The user data root, "<folder>/user/".
  std::string user_root() const { return folder_.file("user/"); }

  TempFolder folder_;
  std::unique_ptr<emu::Emulator> emu_;
};

}  // namespace qxr::testing

// Set up in the constructor and undone in the destructor, so that a fixture's own SetUp and
// TearDown need not call these, and the fixture's devices are gone before the emulator is.
#include "tests/support/emulator_test.h"

#include "hid/enumeration.h"
#include "profile/data_paths.h"

namespace qxr::testing {

EmulatorTest::EmulatorTest() {
  SetUserDataRoot(user_root());
  hid::set_hidraw_enabled(false);
  emu_ = std::make_unique<emu::Emulator>(folder_.file("emu"));
  hid::set_emulator_dir(emu_->dir());
}

EmulatorTest::~EmulatorTest() {
  emu_.reset();
  hid::set_emulator_dir("");
  hid::set_hidraw_enabled(true);
  SetUserDataRoot("");
}

}  // namespace qxr::testing

#include "app/startup/demo_mode.h"

#include "emulator/emulator.h"
#include "hid/enumeration.h"
#include "profile/data_paths.h"

namespace qxr::app {

DemoMode::DemoMode() : dir_(QDir::tempPath() + QStringLiteral("/qxr470-demo-XXXXXX")) {}

DemoMode::~DemoMode() {
  emulator_.reset();
  hid::set_emulator_dir("");
  hid::set_hidraw_enabled(true);
  SetUserDataRoot("");
}

bool DemoMode::prepare() {
  if (!dir_.isValid()) return false;
  if (emulator_) return true;
  const std::string root = dir_.path().toStdString();
  emulator_ = std::make_unique<emu::Emulator>(root + "/emulator");
  SetUserDataRoot(root + "/data/");
  hid::set_hidraw_enabled(false);
  hid::set_emulator_dir(emulator_->dir());
  return true;
}

bool DemoMode::plug_devices() {
  if (!emulator_) return false;
  return emulator_->start(std::vector<emu::DeviceType>(emu::kAllDeviceTypes.begin(), emu::kAllDeviceTypes.end()));
}

}  // namespace qxr::app

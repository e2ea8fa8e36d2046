#pragma once
// --demo: the built-in emulator serves every device kind in a private temporary folder; the
// program's user data live there too, so a demo leaves nothing behind.
#include <QTemporaryDir>

#include <memory>

namespace qxr::emu {
class Emulator;
}

namespace qxr::app {

class DemoMode {
 public:
  DemoMode();
  ~DemoMode();
  DemoMode(const DemoMode&) = delete;
  DemoMode& operator=(const DemoMode&) = delete;

  // Points device discovery and the user data at the folder. Cheap: runs before the window.
  bool prepare();
  // Plugs every emulated device. Runs once the window is on screen, before discovery.
  bool plug_devices();
  // Both steps at once.
  bool start() { return prepare() && plug_devices(); }
  emu::Emulator* emulator() { return emulator_.get(); }
  QString folder() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  std::unique_ptr<emu::Emulator> emulator_;
};

}  // namespace qxr::app

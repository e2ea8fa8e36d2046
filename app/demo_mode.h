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

  // Starts the emulator and points device discovery and the user data at the folder.
  bool start();
  emu::Emulator* emulator() { return emulator_.get(); }
  QString folder() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  std::unique_ptr<emu::Emulator> emulator_;
};

}  // namespace qxr::app

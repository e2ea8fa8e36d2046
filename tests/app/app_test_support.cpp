#include "tests/app/app_test_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include "app/device_option_ui.h"
#include "app/device_page_widget.h"
#include "hid/enumeration.h"
#include "profile/data_paths.h"

namespace qxr::app::testing {

bool wait_until(const std::function<bool()>& pred, int timeout_ms) {
  QElapsedTimer t;
  t.start();
  while (!pred()) {
    if (t.elapsed() > timeout_ms) return pred();
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  return true;
}

void spin(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
}

void EmulatedWindowTest::SetUp() {
  dir_ = std::make_unique<QTemporaryDir>();
  ASSERT_TRUE(dir_->isValid());
  SetUserDataRoot(folder().toStdString() + "/data/");
  hid::set_hidraw_enabled(false);
  emu_ = std::make_unique<emu::Emulator>(folder().toStdString() + "/emulator");
  hid::set_emulator_dir(folder().toStdString() + "/emulator");
  settings_ = std::make_unique<AppSettings>(folder() + QStringLiteral("/settings.ini"));
}

void EmulatedWindowTest::TearDown() {
  if (window_) window_->shutdown();
  window_.reset();
  emu_.reset();
  hid::set_emulator_dir("");
  hid::set_hidraw_enabled(true);
  SetUserDataRoot("");
}

void EmulatedWindowTest::start(const std::vector<emu::DeviceType>& plugged, bool show) {
  ASSERT_TRUE(emu_->start(plugged));
  window_ = std::make_unique<CMainWnd>(*settings_, nullptr);
  ASSERT_TRUE(window_->loaded());
  window_->initialise();
  if (show) window_->show();
}

bool EmulatedWindowTest::wait_connected(size_t row, int timeout_ms) {
  return wait_until(
      [&] {
        const CDeviceOptionUI* e = entry(row);
        const DevicePageWidget* p = page(row);
        return e != nullptr && p != nullptr && e->IsShown() && p->device()->primary_channel().opened();
      },
      timeout_ms);
}

DevicePageWidget* EmulatedWindowTest::page(size_t row) const { return window_->devices().models().at(row).page; }
CDeviceOptionUI* EmulatedWindowTest::entry(size_t row) const { return window_->devices().models().at(row).entry; }
QString EmulatedWindowTest::folder() const { return dir_->path(); }

}  // namespace qxr::app::testing

#pragma once
// Helpers of the program's tests: recorded user prompts, and a main window on emulated devices.
#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <vector>

#include "app/startup/app_settings.h"
#include "app/window/main_wnd.h"
#include "app/window/user_prompts.h"
#include "emulator/emulator.h"
#include "tests/support/emulator_test.h"

// ThreadSanitizer loses track of the locks of a process that forks while its threads run and
// then reports races in correctly locked code for the rest of the run. The tests that start
// the real program as a second process run in the other builds.
#if defined(__SANITIZE_THREAD__)
#define QXR_SKIP_WHERE_FORK_CONFUSES_TSAN() GTEST_SKIP() << "starts a second process"
#else
#define QXR_SKIP_WHERE_FORK_CONFUSES_TSAN() static_cast<void>(0)
#endif

namespace qxr::app::testing {

// Answers prompts as told and remembers what was asked.
class RecordedPrompts : public UserPrompts {
 public:
  RecordedPrompts() { set_prompts(this); }
  ~RecordedPrompts() override { set_prompts(nullptr); }
  void inform(QWidget*, const QString& text) override { informed << text; }
  void notify(QWidget*, const QString& text) override { notified << text; }
  bool confirm(QWidget*, const QString& text) override {
    confirmed << text;
    return confirm_answer;
  }
  QString choose_open_file(QWidget*, const QString& filter) override {
    filters << filter;
    return open_path;
  }
  QString choose_save_file(QWidget*, const QString& filter) override {
    filters << filter;
    return save_path;
  }

  QStringList informed;
  QStringList confirmed;
  QStringList notified;
  QStringList filters;
  bool confirm_answer = true;
  QString open_path;
  QString save_path;
};

// A main window whose devices are the emulated ones in a private folder (user data there too).
class EmulatedWindowTest : public qxr::testing::EmulatorTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the window (initialised and shown) with the given devices plugged first.
  void start(const std::vector<emu::DeviceType>& plugged, bool show = true);
  // Waits until the entry of the model row is shown, its device connected and its first
  // connect sequence done (it runs a moment after the channel opens).
  bool wait_connected(size_t row, int timeout_ms = 10000);
  // Counts the connects of window_ (start() does it; call it for a window made before
  // initialise() elsewhere).
  void watch_connects();
  // How many connect sequences the page of the model row has finished.
  int connects(size_t row) const;
  DevicePageWidget* page(size_t row) const;
  CDeviceOptionUI* entry(size_t row) const;
  QString folder() const;

  std::unique_ptr<AppSettings> settings_;
  std::unique_ptr<CMainWnd> window_;
  RecordedPrompts prompts_;
  // Counted for windows made by start(); a window a test makes itself is not watched.
  std::map<const DevicePageWidget*, int> connects_;
  bool counting_connects_ = false;
};

inline constexpr size_t kKeyboardRow = 0;
inline constexpr size_t kMouseRow = 1;
inline constexpr size_t kPadRow = 2;
inline constexpr size_t kHeadsetRow = 3;

}  // namespace qxr::app::testing

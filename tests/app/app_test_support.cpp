#include "tests/app/app_test_support.h"

#include "app/pages/device_option_ui.h"
#include "app/pages/device_page_widget.h"
#include "tests/support/event_loop.h"

namespace qxr::app::testing {

void EmulatedWindowTest::SetUp() {
  settings_ = std::make_unique<AppSettings>(folder() + QStringLiteral("/settings.ini"));
}

void EmulatedWindowTest::TearDown() {
  if (window_) window_->shutdown();
  window_.reset();
}

void EmulatedWindowTest::start(const std::vector<emu::DeviceType>& plugged, bool show) {
  ASSERT_TRUE(emu_->start(plugged));
  window_ = std::make_unique<CMainWnd>(*settings_, nullptr);
  ASSERT_TRUE(window_->loaded());
  watch_connects();
  window_->initialise();
  if (show) window_->show();
}

bool EmulatedWindowTest::wait_connected(size_t row, int timeout_ms) {
  return qxr::testing::qt::wait_until(
      [&] {
        const CDeviceOptionUI* e = entry(row);
        const DevicePageWidget* p = page(row);
        return e != nullptr && p != nullptr && e->IsShown() && p->device()->primary_channel().opened() &&
               (!counting_connects_ || connects(row) > 0);
      },
      timeout_ms);
}

void EmulatedWindowTest::watch_connects() {
  connects_.clear();
  QObject::connect(window_.get(), &CMainWnd::device_connected,
                   [this](DevicePageWidget* page, int) { ++connects_[page]; });
  counting_connects_ = true;
}

int EmulatedWindowTest::connects(size_t row) const {
  const auto it = connects_.find(page(row));
  return it == connects_.end() ? 0 : it->second;
}

DevicePageWidget* EmulatedWindowTest::page(size_t row) const { return window_->devices().models().at(row).page; }
CDeviceOptionUI* EmulatedWindowTest::entry(size_t row) const { return window_->devices().models().at(row).entry; }
QString EmulatedWindowTest::folder() const { return QString::fromStdString(folder_.path()); }

}  // namespace qxr::app::testing

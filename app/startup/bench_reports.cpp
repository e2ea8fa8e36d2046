#include "app/startup/bench_reports.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <time.h>

#include <cstdio>

#include "app/window/main_wnd.h"

namespace qxr::app {
namespace {

constexpr char kFirstPaintEnv[] = "QXR470_BENCH_FIRST_PAINT";
constexpr char kConnectedEnv[] = "QXR470_BENCH_CONNECTED";

}  // namespace

BenchReports::BenchReports(CMainWnd& window) : QObject(&window) {
  connects_wanted_ = qEnvironmentVariableIntValue(kConnectedEnv);
  if (connects_wanted_ <= 0) {
    if (qEnvironmentVariableIsSet(kFirstPaintEnv)) window.root()->installEventFilter(this);
    return;
  }
  connect(&window, &CMainWnd::device_connected, this, [this](DevicePageWidget* page, int) {
    connected_.insert(page);
    if (static_cast<int>(connected_.size()) == connects_wanted_) report("connected");
  });
}

bool BenchReports::eventFilter(QObject* watched, QEvent* event) {
  // Waiting for connects, the first paint is only on the way.
  if (event->type() == QEvent::Paint && !paint_reported_ && connects_wanted_ <= 0) {
    paint_reported_ = true;
    report("first-paint");
  }
  return QObject::eventFilter(watched, event);
}

void BenchReports::report(const char* name) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::fprintf(stderr, "%s-ns %lld\n", name, static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
  std::fflush(stderr);
  QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

}  // namespace qxr::app

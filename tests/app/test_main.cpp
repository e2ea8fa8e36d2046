// The program's tests (and the program-level lighting tests) run on the offscreen platform with the real skins, in a private runtime
// and configuration folder so no running program of the user is touched.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "app/window/app_controls.h"
#include "app/window/app_style.h"
#include "ui/skin_resources.h"

#if defined(__SANITIZE_THREAD__)
// Qt paints with its own worker pool inside the uninstrumented Qt libraries.
extern "C" const char* __tsan_default_suppressions() {
  return "called_from_lib:libQt6Core.so.6\n"
         "called_from_lib:libQt6Gui.so.6\n"
         "called_from_lib:libQt6Widgets.so.6\n"
         "called_from_lib:libQt6DBus.so.6\n"
         "called_from_lib:libglib-2.0.so.0\n"
         "race:QWaitCondition\n";
}
// Some tests start the real program; Qt forks for it, and the test goes on making threads.
extern "C" const char* __tsan_default_options() { return "die_after_fork=0"; }
#endif

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir runtime;
  if (!runtime.isValid()) return 1;
  qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", (runtime.path() + QStringLiteral("/config")).toUtf8());
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  auto resources = qxr::ui::SkinResources::locate();
  if (!resources) {
    fprintf(stderr, "no skin folder found\n");
    return 1;
  }
  qxr::ui::SkinResources::install(*resources);
  qxr::app::register_app_controls();
  qxr::app::apply_app_style();
  return RUN_ALL_TESTS();
}

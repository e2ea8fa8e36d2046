// GUI tests run on the offscreen platform with the real skin folder installed.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/skin_resources.h"

#if defined(__SANITIZE_THREAD__)
// Qt paints with its own worker pool (image conversions) whose locking happens inside the
// uninstrumented Qt libraries; ThreadSanitizer cannot see it and reports their allocations.
extern "C" const char* __tsan_default_suppressions() {
  return "called_from_lib:libQt6Core.so.6\n"
         "called_from_lib:libQt6Gui.so.6\n"
         "race:QWaitCondition\n";
}
#endif

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  if (auto resources = qxr::ui::SkinResources::locate()) {
    qxr::ui::SkinResources::install(*resources);
  } else {
    fprintf(stderr, "no skin folder found\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}

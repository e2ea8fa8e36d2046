// GUI tests run on the offscreen platform with the real skin folder installed.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/skin_resources.h"

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

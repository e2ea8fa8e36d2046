// The editors' GUI tests run on the offscreen platform with the real skin folder, the panels'
// classes registered and the English texts loaded.
#include <gtest/gtest.h>

#include <QApplication>

#include "editors/lighting/register_lighting.h"
#include "ui/language.h"
#include "ui/skin_resources.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  auto resources = qxr::ui::SkinResources::locate();
  if (!resources) {
    fprintf(stderr, "no skin folder found\n");
    return 1;
  }
  qxr::ui::SkinResources::install(*resources);
  qxr::editors::register_lighting_editor();
  qxr::ui::Language::instance().load(QStringLiteral("lan_en.xml"));
  return RUN_ALL_TESTS();
}

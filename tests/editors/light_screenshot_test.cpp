// Pictures of the lighting panel for a person to look at: written only when
// QXR_EDITORS_SCREENSHOT_DIR names a folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QTest>

#include "editors/lighting/light_words.h"
#include "tests/editors/light_fixture.h"
#include "ui/interface_scale.h"
#include "ui/language.h"

using namespace qxr;
using namespace qxr::editors;
using namespace qxr::editors::testing;

TEST(LightScreenshots, EveryKindInTheDarkStyle) {
  const QString dir = qEnvironmentVariable("QXR_EDITORS_SCREENSHOT_DIR");
  if (dir.isEmpty()) GTEST_SKIP() << "set QXR_EDITORS_SCREENSHOT_DIR to write the pictures";
  ASSERT_TRUE(ui::apply_style());
  struct Shot {
    const char* file;
    int kind;
    int mode;
    const char* skin;
    const char* language;
  };
  const Shot shots[] = {
      {"keyboard_wave", 1, 1, "LightControl.ui", "lan_en.xml"},
      {"keyboard_custom", 1, 20, "LightControl.ui", "lan_en.xml"},
      {"keyboard_music", 1, 21, "LightControl.ui", "lan_en.xml"},
      {"keyboard_off", 1, 28, "LightControl.ui", "lan_cn.xml"},
      {"keyboard_ring_cn", 1, 18, "LightControl.ui", "lan_cn.xml"},
      {"mouse_breathing", 2, 2, "LightControlBasic.ui", "lan_en.xml"},
      {"pad_static", 3, 3, "LightControlBasic.ui", "lan_en.xml"},
      {"headset_spectrum", 7, 1, "LightControlBasic.ui", "lan_en.xml"},
  };
  for (const Shot& s : shots) {
    ui::Language::instance().load(QString::fromLatin1(s.language));
    QWidget page;
    page.setObjectName(QStringLiteral("root"));
    page.resize(960, 210);
    auto* panel = new CLightControlUI(&page);
    panel->setProperty("skinfile", QString::fromLatin1(s.skin));
    panel->resize(960, 210);
    ASSERT_TRUE(panel->ensure_built());
    panel->SetDeviceKind(s.kind);
    std::vector<std::string> names = {"light_mode_user_effect", "light_mode_wave", "light_mode_breathing",
                                      "light_mode_static", "light_mode_blink"};
    names.resize(31, "light_mode_spectrum");
    names[20] = "light_mode_custom";
    names[21] = "light_mode_music";
    names[18] = "light_mode_ring_wave";
    names[28] = "light_mode_off";
    panel->FillModes(names, std::vector<bool>(names.size(), true), 4, 4);
    panel->SetSameModeAvailable(true);
    LightInfo l;
    l.select_item = uint8_t(s.mode);
    l.light = 3;
    l.speed = 2;
    l.fx = 1;
    l.red = 240;
    l.green = 56;
    l.blue = 79;
    panel->ShowLight(l);
    if (s.kind == 1) panel->SetAudioLight({0, 20, 20, 60, 0, 200, 255, 0, 1});
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    EXPECT_TRUE(page.grab().save(QDir(dir).filePath(QString::fromLatin1(s.file) + QStringLiteral(".png"))));
  }
  ui::Language::instance().load(QStringLiteral("lan_en.xml"));
}

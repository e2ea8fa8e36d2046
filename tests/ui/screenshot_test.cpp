// Pictures of the small windows for a person to look at: written only when
// QXR_UI_SCREENSHOT_DIR names a folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QTest>

#include "ui/about_wnd.h"
#include "ui/interface_scale.h"
#include "ui/msg_wnd.h"
#include "ui_test_support.h"

using namespace qxr::ui;
using namespace qxr::ui::testing;

TEST(Screenshots, MessageBoxAndAboutWindow) {
  const QString dir = qEnvironmentVariable("QXR_UI_SCREENSHOT_DIR");
  if (dir.isEmpty()) GTEST_SKIP() << "set QXR_UI_SCREENSHOT_DIR to write the pictures";
  ASSERT_TRUE(apply_style());
  for (const char* language : {"en", "cn"}) {
    use_language(QStringLiteral("lan_%1.xml").arg(QLatin1String(language)));
    CMsgWnd box;
    box.SetTitle(QStringLiteral("msg_title_text"));
    box.SetText(QStringLiteral("message_text_22"));
    box.SetButtonMode(CMsgWnd::kButtonsConfirmCancel);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_TRUE(box.grab().save(QDir(dir).filePath(QStringLiteral("msgbox_%1.png").arg(QLatin1String(language)))));
    box.SetButtonMode(CMsgWnd::kButtonsConfirm);
    box.SetText(QStringLiteral("message_text_7"));
    EXPECT_TRUE(box.grab().save(QDir(dir).filePath(QStringLiteral("msgbox_one_%1.png").arg(QLatin1String(language)))));

    CAboutWnd about;
    about.SetVersion(QStringLiteral("1.0.3"));
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_TRUE(about.grab().save(QDir(dir).filePath(QStringLiteral("about_%1.png").arg(QLatin1String(language)))));
  }
  set_interface_dpi(144, DpiWindow::Main);
  {
    CMsgWnd box;
    box.SetText(QStringLiteral("message_text_4"));
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_TRUE(box.grab().save(QDir(dir).filePath(QStringLiteral("msgbox_144.png"))));
  }
  set_interface_dpi(96, DpiWindow::Main);
  use_language(QStringLiteral("lan_en.xml"));
}

// Pictures of the small windows for a person to look at: written only when
// QXR_UI_SCREENSHOT_DIR names a folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QTest>

#include <QCheckBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>

#include "ui/about_wnd.h"
#include "ui/controls/device_key_button.h"
#include "ui/controls/select_panel.h"
#include "ui/skin_loader.h"
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

  // The controls of the test skin under the program's style.
  const auto res = SkinResources::open(test_skin_dir());
  ASSERT_TRUE(res);
  SkinLoader loader(ControlFactory::global(), *res);
  std::unique_ptr<QWidget> root(loader.load_skin(QStringLiteral("XML_CONTROLS")));
  ASSERT_NE(root, nullptr);
  const auto keys = key_buttons(root->findChild<QWidget*>(QStringLiteral("device_key_light")));
  const QColor colours[] = {QColor(255, 0, 0, 255), QColor(0, 200, 255, 255), QColor(0, 255, 80, 128), QColor(0, 0, 0, 0)};
  for (int i = 0; i < keys.size(); ++i) keys[i]->set_light_colour(colours[i % 4]);
  keys[1]->set_selected(true);
  keys[3]->set_selected(true);
  root->findChild<QProgressBar*>(QStringLiteral("progress_ring"))->setValue(75);
  root->findChild<QSlider*>(QStringLiteral("deng_speed_slider"))->setValue(3);
  root->findChild<QCheckBox*>(QStringLiteral("deng_FXL_check"))->setChecked(true);
  root->findChild<QPushButton*>(QStringLiteral("option_btn"))->setChecked(true);
  root->findChild<QWidget*>(QStringLiteral("macro_btn_starredio"))->setEnabled(false);
  // A segmented switch, as option groups are drawn.
  const char* segments[] = {"125 Hz", "500 Hz", "1000 Hz"};
  for (int i = 0; i < 3; ++i) {
    auto* b = new QPushButton(QString::fromLatin1(segments[i]), root.get());
    b->setCheckable(true);
    b->setAutoExclusive(true);
    b->setChecked(i == 1);
    b->setProperty("segment", true);
    b->setProperty("first", i == 0);
    b->setProperty("last", i == 2);
    b->setGeometry(10 + i * 80, 370, 80, 28);
  }
  root->findChild<QWidget*>(QStringLiteral("title_label"))->move(10, 340);
  root->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(root.get()));
  EXPECT_TRUE(root->grab().save(QDir(dir).filePath(QStringLiteral("controls.png"))));
}

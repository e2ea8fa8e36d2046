// The message box, the about window and the chrome and DPI rules they share.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "core/debug_line.h"
#include "tests/support/event_loop.h"
#include "ui/about_wnd.h"
#include "ui/interface_scale.h"
#include "ui/language.h"
#include "ui/msg_wnd.h"
#include "ui_test_support.h"

using namespace qxr::ui;
using namespace qxr::ui::testing;
using qxr::testing::qt::wait_until;

namespace {

class WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override { use_language(QStringLiteral("lan_en.xml")); }
  void TearDown() override { set_interface_dpi(kDefaultDpi, DpiWindow::Main); }
};

QString text_of(SkinWindow& w, const char* name) {
  auto* label = w.find<QLabel>(QString::fromLatin1(name));
  return label == nullptr ? QStringLiteral("<missing>") : label->text();
}

// Clicks name once the modal loop runs.
void click_later(SkinWindow& w, const char* name) {
  QTimer::singleShot(0, &w, [&w, name] {
    if (auto* b = w.find<QPushButton>(QString::fromLatin1(name))) QTest::mouseClick(b, Qt::LeftButton);
  });
}

}  // namespace

TEST_F(WindowsTest, MessageBoxHasItsControls) {
  CMsgWnd box;
  ASSERT_TRUE(box.loaded());
  EXPECT_EQ(box.window_class(), QStringLiteral("MsgWnd"));
  for (const char* name : {"MessageTitle", "MessageText", "confirm_btn", "cancel_btn", "closebtn", "text_test"}) {
    EXPECT_NE(box.find_control(QString::fromLatin1(name)), nullptr) << name;
  }
  EXPECT_TRUE(box.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_FALSE(box.testAttribute(Qt::WA_QuitOnClose));
}

TEST_F(WindowsTest, EmptyTitleOrTextLeavesThePreviousOne) {
  CMsgWnd box;
  box.SetTitle(QStringLiteral("Firmware"));
  box.SetText(QStringLiteral("Update ready"), true);
  box.SetTitle(QString());
  box.SetText(QString(), false);
  EXPECT_EQ(text_of(box, "MessageTitle"), QStringLiteral("Firmware"));
  EXPECT_EQ(text_of(box, "MessageText"), QStringLiteral("Update ready"));
  EXPECT_TRUE(box.find<QLabel>(QStringLiteral("MessageText"))->wordWrap());  // the flag came with the empty text
  box.SetText(QStringLiteral("One line"), false);
  EXPECT_FALSE(box.find<QLabel>(QStringLiteral("MessageText"))->wordWrap());
  // Keys show translated.
  box.SetText(QStringLiteral("message_text_4"));
  EXPECT_EQ(text_of(box, "MessageText"), QStringLiteral("Delete the selected macro?"));
}

TEST_F(WindowsTest, ButtonModeShowsOneOrTwoButtons) {
  CMsgWnd box;
  box.SetButtonMode(CMsgWnd::kButtonsConfirm);
  EXPECT_TRUE(box.find_control(QStringLiteral("cancel_btn"))->isHidden());
  EXPECT_FALSE(box.find_control(QStringLiteral("confirm_btn"))->isHidden());
  box.SetButtonMode(CMsgWnd::kButtonsConfirmCancel);
  EXPECT_FALSE(box.find_control(QStringLiteral("cancel_btn"))->isHidden());
  EXPECT_FALSE(box.find_control(QStringLiteral("confirm_btn"))->isHidden());
}

TEST_F(WindowsTest, ModalResultSaysWhatClosedTheBox) {
  {
    CMsgWnd box;
    click_later(box, "confirm_btn");
    EXPECT_EQ(box.ShowModal(), 1);
  }
  for (const char* name : {"cancel_btn", "closebtn"}) {
    CMsgWnd box;
    click_later(box, name);
    EXPECT_EQ(box.ShowModal(), 0) << name;
  }
  {
    CMsgWnd box;
    QTimer::singleShot(0, &box, [&box] { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(box.ShowModal(), 0);
  }
  {
    CMsgWnd box;
    QTimer::singleShot(0, &box, [&box] { box.close(); });
    EXPECT_EQ(box.ShowModal(), 0);
  }
}

TEST_F(WindowsTest, RefusedDpiFallsBackAndScalesEveryWindow) {
  CMsgWnd box;
  CAboutWnd about;
  const QSize box_size = box.size();
  const QSize about_size = about.size();
  qxr::DebugCapture capture;
  EXPECT_EQ(box.SetDPI(100), 96);
  EXPECT_EQ(capture.count("MSG_WND DPI SET ERROR"), 1);
  EXPECT_EQ(box.size(), box_size);

  EXPECT_EQ(box.SetDPI(144), 144);
  EXPECT_EQ(box.size(), box_size * 3 / 2);
  EXPECT_EQ(about.size(), about_size * 3 / 2);  // all windows at once
  EXPECT_EQ(about.dpi(), 144);
  EXPECT_EQ(box.find_control(QStringLiteral("title_bar"))->maximumHeight(), 66);

  EXPECT_EQ(box.SetDPI(96), 96);
  EXPECT_EQ(box.size(), box_size);  // back without rounding drift
  EXPECT_EQ(about.set_dpi(1), 96);
  EXPECT_EQ(capture.count("MAIN_WND DPI SET ERROR"), 1);
}

TEST_F(WindowsTest, AboutShowsTheVersionInTheCurrentLanguage) {
  CAboutWnd about;
  ASSERT_TRUE(about.loaded());
  for (const char* name : {"closebtn", "minbtn", "software_ver_label", "homepage_btn", "text_test"}) {
    EXPECT_NE(about.find_control(QString::fromLatin1(name)), nullptr) << name;
  }
  about.SetVersion(QStringLiteral("1.4.2"));
  EXPECT_EQ(text_of(about, "software_ver_label"), QStringLiteral("Software version: 1.4.2"));
  use_language(QStringLiteral("lan_cn.xml"));
  EXPECT_EQ(text_of(about, "software_ver_label"), QStringLiteral("软件版本：1.4.2"));
  EXPECT_EQ(about.find<QPushButton>(QStringLiteral("homepage_btn"))->text(), QStringLiteral("访问官网"));
  use_language(QStringLiteral("lan_en.xml"));
  EXPECT_EQ(text_of(about, "software_ver_label"), QStringLiteral("Software version: 1.4.2"));
}

TEST_F(WindowsTest, ClosingTheAboutWindowClosesOnlyIt) {
  QWidget main_window;
  main_window.show();
  CAboutWnd about(&main_window);
  about.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
  about.close();
  EXPECT_FALSE(about.isVisible());
  EXPECT_TRUE(main_window.isVisible());
  about.show();
  QTest::mouseClick(about.find<QPushButton>(QStringLiteral("closebtn")), Qt::LeftButton);
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.result(), 0);
}

TEST_F(WindowsTest, MaximiseAndRestoreButtonsSwap) {
  const auto res = SkinResources::open(test_skin_dir());
  ASSERT_TRUE(res);
  ScopedResources scoped(*res);
  SkinWindow window(QStringLiteral("XML_CHROME"), QStringLiteral("ChromeWnd"), DpiWindow::Set);
  ASSERT_TRUE(window.loaded());
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QWidget* max = window.find_control(QStringLiteral("maxbtn"));
  QWidget* restore = window.find_control(QStringLiteral("restorebtn"));
  EXPECT_TRUE(max->isVisible());
  EXPECT_FALSE(restore->isVisible());
  QTest::mouseClick(static_cast<QPushButton*>(max), Qt::LeftButton);
  EXPECT_TRUE(wait_until([&] { return window.isMaximized(); }));
  EXPECT_FALSE(max->isVisible());
  EXPECT_TRUE(restore->isVisible());
  QTest::mouseClick(static_cast<QPushButton*>(restore), Qt::LeftButton);
  EXPECT_TRUE(wait_until([&] { return !window.isMaximized(); }));
  EXPECT_TRUE(max->isVisible());
  EXPECT_FALSE(restore->isVisible());
  // Window states set from outside swap them as well.
  window.setWindowState(Qt::WindowMaximized);
  EXPECT_TRUE(restore->isVisible());
  window.showNormal();
  QTest::mouseClick(window.find<QPushButton>(QStringLiteral("minbtn")), Qt::LeftButton);
  EXPECT_TRUE(wait_until([&] { return window.isMinimized(); }));
  // Other clicks reach the window's own handling, not the chrome.
  QTest::mouseClick(window.find<QPushButton>(QStringLiteral("other_btn")), Qt::LeftButton);
  EXPECT_TRUE(window.isMinimized());
}

TEST_F(WindowsTest, AskReturnsTheUsersAnswer) {
  QTimer::singleShot(0, [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<CMsgWnd*>(w); box != nullptr && box->isVisible()) {
        QTest::mouseClick(box->find<QPushButton>(QStringLiteral("confirm_btn")), Qt::LeftButton);
      }
    }
  });
  EXPECT_TRUE(ask(nullptr, QStringLiteral("msg_title_text"), QStringLiteral("message_text_22")));
}

// The main window without devices: hiding to the tray and coming back, a second start,
// lighting control, languages, suspend, the no-device notice and the orderly shutdown.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTest>

#include "app/window/app_style.h"
#include "app/pages/device_option_ui.h"
#include "app/pages/device_profile_ui.h"
#include "profile/json_file.h"
#include "app/pages/device_page_widget.h"
#include "app/startup/instance_server.h"
#include "app/startup/sleep_watcher.h"
#include "app/window/music_link.h"
#include "core/debug_line.h"
#include "devices/kinds/device_table.h"
#include "tests/app/app_test_support.h"
#include "tests/support/event_loop.h"
#include "ui/control_timer.h"
#include "ui/language.h"
#include "ui/language_table.h"

namespace qxr::app {
namespace {

using qxr::testing::qt::spin;
using qxr::testing::qt::wait_until;

class WindowTest : public testing::EmulatedWindowTest {
 protected:
  void TearDown() override {
    EmulatedWindowTest::TearDown();
    ui::Language::instance().set_table(ui::LanguageTable{});
  }
  bool all_host_lighting(bool on) {
    for (const auto& m : window_->devices().models()) {
      if (m.page != nullptr && m.page->device()->get_host_lighting() != on) return false;
    }
    return true;
  }
  QWidget* find(const char* name) { return window_->control(QString::fromLatin1(name)); }
};

TEST_F(WindowTest, TheCloseButtonHidesAndTheIdentityMessageBringsItBack) {
  start({});
  window_->set_tray_check([] { return true; });
  ASSERT_TRUE(wait_until([&] { return window_->isVisible(); }));
  QTest::mouseClick(qobject_cast<QAbstractButton*>(find("closebtn")), Qt::LeftButton);
  EXPECT_FALSE(window_->isVisible());
  // Still running: the devices keep their threads.
  EXPECT_TRUE(window_->devices().discovery()->running());
  window_->handle_message({MessageKind::Identity, 0, 1, {}});
  EXPECT_TRUE(window_->isVisible());
  window_->handle_message({MessageKind::MainAction, 1, 0, {}});
  EXPECT_FALSE(window_->isVisible());
  window_->handle_message({MessageKind::MainAction, 0, 0, {}});
  EXPECT_TRUE(window_->isVisible());
}

TEST_F(WindowTest, WithoutATrayClosingEndsTheProgram) {
  start({});
  window_->set_tray_check([] { return false; });
  int quits = 0;
  QObject::connect(window_.get(), &CMainWnd::quit_requested, [&] { ++quits; });
  // The window manager's close (Alt+F4): the program ends, the window goes with it.
  window_->close();
  EXPECT_EQ(quits, 1);
  window_->show();
  QTest::mouseClick(qobject_cast<QAbstractButton*>(find("closebtn")), Qt::LeftButton);
  EXPECT_EQ(quits, 2);
  // Another program hiding the window still only hides it: a second start brings it back.
  window_->show();
  window_->handle_message({MessageKind::MainAction, 1, 0, {}});
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(quits, 2);
}

TEST_F(WindowTest, TheQuitLineEndsTheProgramWithOrWithoutATray) {
  start({});
  window_->set_tray_check([] { return true; });
  int quits = 0;
  QObject::connect(window_.get(), &CMainWnd::quit_requested, [&] { ++quits; });
  window_->handle_message({MessageKind::Quit, 0, 0, {}});
  EXPECT_EQ(quits, 1);
  // Quitting lets the window's own close through.
  EXPECT_TRUE(window_->close());
}

TEST_F(WindowTest, ASecondStartShowsTheHiddenWindow) {
  QXR_SKIP_WHERE_FORK_CONFUSES_TSAN();
  InstanceServer server;
  ASSERT_TRUE(server.claim());
  start({});
  window_->set_tray_check([] { return true; });
  QObject::connect(&server, &InstanceServer::message_received, window_.get(), &CMainWnd::handle_message);
  QTest::mouseClick(qobject_cast<QAbstractButton*>(find("closebtn")), Qt::LeftButton);
  ASSERT_FALSE(window_->isVisible());
  QProcess second;
  second.start(QStringLiteral(QXR_PROGRAM_PATH), {});
  ASSERT_TRUE(second.waitForStarted(5000));
  ASSERT_TRUE(wait_until([&] { return second.state() == QProcess::NotRunning; }, 20000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(wait_until([&] { return window_->isVisible(); }));
}

TEST_F(WindowTest, LightingControlFromOtherProgramsAndFromTheButton) {
  start({});
  auto* status = qobject_cast<QAbstractButton*>(find("control_light_status"));
  ASSERT_NE(status, nullptr);
  EXPECT_TRUE(window_->lighting_controlled());
  EXPECT_EQ(ui::Language::instance().text_key(status), QString::fromUtf8(kLightControlOnText));
  window_->handle_message({MessageKind::LightControl, 1, 0, {}});
  EXPECT_FALSE(window_->lighting_controlled());
  EXPECT_EQ(ui::Language::instance().text_key(status), QString::fromUtf8(kLightControlOffText));
  EXPECT_TRUE(all_host_lighting(false));
  // Only wparam 1 carries the switch.
  window_->handle_message({MessageKind::LightControl, 0, 1, {}});
  EXPECT_FALSE(window_->lighting_controlled());
  QTest::mouseClick(status, Qt::LeftButton);
  EXPECT_TRUE(window_->lighting_controlled());
  EXPECT_TRUE(all_host_lighting(true));
}

TEST_F(WindowTest, WhileTheDevicesRunTheirOwnLightingNoFrameTimerRunsAndTheFramesComeBack) {
  start({emu::DeviceType::Pad});
  ASSERT_TRUE(wait_connected(testing::kPadRow));
  auto frames = [&] { return emu_->counters(emu::DeviceType::Pad).light_frames; };
  auto timer = [&] { return ui::control_timer_active(entry(testing::kPadRow), CDeviceOptionUI::kLightFrameTimer); };
  ASSERT_TRUE(wait_until([&] { return frames() > 0; }));
  window_->handle_message({MessageKind::LightControl, 1, 0, {}});
  ASSERT_TRUE(wait_until([&] { return !timer(); }));
  const uint32_t before = frames();
  spin(300);
  EXPECT_EQ(frames(), before);
  window_->handle_message({MessageKind::LightControl, 1, 1, {}});
  EXPECT_TRUE(timer());
  EXPECT_TRUE(wait_until([&] { return frames() > before; }));
}

TEST_F(WindowTest, TheButtonAnnouncesTheNewStateToOtherPrograms) {
  InstanceServer server;
  ASSERT_TRUE(server.claim());
  window_ = std::make_unique<CMainWnd>(*settings_, &server);
  ASSERT_TRUE(emu_->start({}));
  window_->initialise();
  QLocalSocket client;
  client.connectToServer(QString::fromStdString(instance_socket_path()));
  ASSERT_TRUE(client.waitForConnected(2000));
  ASSERT_TRUE(wait_until([&] { return server.client_count() == 1; }));
  // The start-up announcement came before anyone could listen: each client gets it first.
  ASSERT_TRUE(wait_until([&] { return client.canReadLine(); }));
  EXPECT_EQ(client.readLine(), QByteArray("light-announce 1 1\n"));
  QTest::mouseClick(qobject_cast<QAbstractButton*>(find("control_light_status")), Qt::LeftButton);
  ASSERT_TRUE(wait_until([&] { return client.canReadLine(); }));
  EXPECT_EQ(client.readLine(), QByteArray("light-announce 1 0\n"));
  // A client that comes later learns the state as it is now.
  QLocalSocket later;
  later.connectToServer(QString::fromStdString(instance_socket_path()));
  ASSERT_TRUE(later.waitForConnected(2000));
  ASSERT_TRUE(wait_until([&] { return later.canReadLine(); }));
  EXPECT_EQ(later.readLine(), QByteArray("light-announce 1 0\n"));
}

TEST_F(WindowTest, TheDeviceTableGoesToTheClientThatAsked) {
  InstanceServer server;
  ASSERT_TRUE(server.claim());
  window_ = std::make_unique<CMainWnd>(*settings_, &server);
  ASSERT_TRUE(emu_->start({}));
  window_->initialise();
  std::vector<LocalMessage> passed_on;
  QObject::connect(&server, &InstanceServer::message_received, [&](const LocalMessage& m) { passed_on.push_back(m); });
  QLocalSocket asking, other;
  asking.connectToServer(QString::fromStdString(instance_socket_path()));
  other.connectToServer(QString::fromStdString(instance_socket_path()));
  ASSERT_TRUE(asking.waitForConnected(2000));
  ASSERT_TRUE(other.waitForConnected(2000));
  asking.write("device-table\n");
  ASSERT_TRUE(wait_until([&] {
    asking.waitForReadyRead(1);
    return asking.bytesAvailable() > 0 && asking.peek(4096).count('\n') >= 2;
  }));
  EXPECT_EQ(asking.readLine(), QByteArray("light-announce 1 1\n"));
  const QByteArray line = asking.readLine();
  auto reply = ipc::parse_message(std::string_view(line.constData(), static_cast<size_t>(line.size())));
  ASSERT_TRUE(reply.has_value()) << line.left(40).toStdString();
  EXPECT_EQ(reply->kind, MessageKind::Data);
  EXPECT_EQ(reply->wparam, 5);
  const devices::DeviceTableBlock block = devices::device_table_block();
  EXPECT_EQ(reply->data, std::vector<uint8_t>(block.begin(), block.end()));
  // Only the asking client hears the answer, and the window never sees the request.
  spin(200);
  other.waitForReadyRead(1);
  EXPECT_EQ(other.readAll(), QByteArray("light-announce 1 1\n"));
  EXPECT_TRUE(passed_on.empty());
}

TEST_F(WindowTest, SwitchingTheLanguageChangesTheTexts) {
  start({});
  auto* tab = page(testing::kKeyboardRow)->findChild<QAbstractButton*>(QStringLiteral("deng_Op_tab"));
  ASSERT_NE(tab, nullptr);
  int en = -1, cn = -1;
  const auto& entries = window_->language().entries();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].name == QLatin1String("en_US")) en = static_cast<int>(i);
    if (entries[i].name == QLatin1String("zh_CN")) cn = static_cast<int>(i);
  }
  ASSERT_TRUE(window_->apply_language(en));
  EXPECT_EQ(tab->text(), QStringLiteral("Lighting"));
  EXPECT_EQ(qobject_cast<QAbstractButton*>(find("control_light_status"))->text(), QStringLiteral("Lighting: program"));
  ASSERT_TRUE(window_->apply_language(cn));
  EXPECT_EQ(tab->text(), QStringLiteral("灯光"));
  EXPECT_EQ(qobject_cast<QAbstractButton*>(find("control_light_status"))->text(), QStringLiteral("控制灯光"));
  // The choice is kept for the next start.
  EXPECT_EQ(settings_->language_id(), entries[static_cast<size_t>(cn)].id);
}

TEST_F(WindowTest, WithoutDevicesTheNoticeShowsOnceDiscoveryHasLooked) {
  start({});
  ASSERT_TRUE(wait_until([&] { return find("No_device_Link")->isVisibleTo(window_.get()); }));
  EXPECT_FALSE(find("device_power_switch")->isVisibleTo(window_.get()));
  for (const auto& m : window_->devices().models()) EXPECT_FALSE(m.entry->isVisibleTo(window_.get()));
  QTest::mouseClick(qobject_cast<QAbstractButton*>(find("nodevice_ok_btn")), Qt::LeftButton);
  EXPECT_FALSE(window_->isVisible());
}

TEST_F(WindowTest, SuspendGivesUpLightingAndResumeRestoresTheUsersState) {
  start({});
  window_->on_suspend();
  EXPECT_FALSE(window_->awake());
  EXPECT_TRUE(all_host_lighting(false));
  // Game events wait for the computer to wake up.
  window_->on_resume();
  EXPECT_TRUE(all_host_lighting(true));
  window_->handle_message({MessageKind::LightControl, 1, 0, {}});
  window_->on_suspend();
  window_->on_resume();
  EXPECT_TRUE(all_host_lighting(false));
}

TEST_F(WindowTest, DevicesCanStartAfterTheFirstPaint) {
  ASSERT_TRUE(emu_->start({emu::DeviceType::Pad}));
  window_ = std::make_unique<CMainWnd>(*settings_, nullptr);
  window_->initialise(CMainWnd::DeviceStart::AfterFirstPaint);
  EXPECT_FALSE(window_->devices_started());
  EXPECT_TRUE(window_->devices().models().empty());
  // Nothing says "no device" before anyone has looked.
  EXPECT_FALSE(find("No_device_Link")->isVisibleTo(window_.get()));
  window_->show();
  ASSERT_TRUE(wait_until([&] { return window_->devices_started(); }));
  EXPECT_TRUE(wait_connected(testing::kPadRow));
  EXPECT_FALSE(find("No_device_Link")->isVisibleTo(window_.get()));
}

TEST_F(WindowTest, ProfilesAreImportedAndExportedThroughTheFileDialogs) {
  start({});
  DevicePageWidget* kb = page(testing::kKeyboardRow);
  CDeviceProfileUI* panel = kb->profile_panel();
  panel->SetMenuVisible(true);
  auto click = [&](const char* name) {
    QTest::mouseClick(panel->findChild<QAbstractButton*>(QLatin1String(name)), Qt::LeftButton);
  };
  // Export: the selected profile, unchanged, under exactly the name typed.
  prompts_.save_path = folder() + QStringLiteral("/exported");
  click("device_export_btn");
  EXPECT_EQ(prompts_.filters.last(), QStringLiteral("Profile Files(*.json)"));
  const Json::Value exported = ReadJsonFile(prompts_.save_path.toStdString());
  ASSERT_TRUE(exported.isObject());
  EXPECT_EQ(QString::fromStdString(exported["profileUUID"].asString()), panel->GetCurrentProfileId());

  // Import: under the file's base name, with an identifier of its own.
  const QString gaming = folder() + QStringLiteral("/gaming.json");
  ASSERT_TRUE(QFile::copy(prompts_.save_path, gaming));
  prompts_.open_path = gaming;
  click("device_import_btn");
  ASSERT_EQ(panel->names(), (QStringList{"profile1", "gaming"}));
  const Json::Value list = ReadJsonFile(panel->list_file().toStdString());
  EXPECT_NE(list["profilelist"][1]["profileUUID"], exported["profileUUID"]);

  // A list file is valid JSON but no profile: refused without a word.
  prompts_.open_path = panel->list_file();
  click("device_import_btn");
  EXPECT_EQ(panel->names().size(), 2);
  // Cancelled dialogs change nothing.
  prompts_.open_path.clear();
  click("device_import_btn");
  EXPECT_EQ(panel->names().size(), 2);
  EXPECT_TRUE(prompts_.informed.isEmpty());
}

TEST_F(WindowTest, TheLargerInterfaceScalesTheWindowAndKeepsTheProgramsLook) {
  start({});
  auto* tab = page(testing::kKeyboardRow)->findChild<QWidget*>(QStringLiteral("deng_Op_tab"));
  const QString sheet_before = qApp->styleSheet();
  ASSERT_TRUE(sheet_before.contains(QStringLiteral("device_entry")));
  EXPECT_EQ(window_->set_interface_dpi(144), 144);
  EXPECT_EQ(window_->size(), QSize(1500, 960));
  // The program's own rules are still there, at the larger size.
  EXPECT_TRUE(qApp->styleSheet().contains(QStringLiteral("device_entry")));
  EXPECT_EQ(window_->set_interface_dpi(100), 96);  // not an accepted value
  EXPECT_EQ(window_->size(), QSize(1000, 640));
  EXPECT_NE(tab, nullptr);
}

TEST_F(WindowTest, ShutdownStopsEveryThreadWithItsLines) {
  start({});
  DebugCapture capture;
  window_->shutdown();
  EXPECT_FALSE(window_->devices().discovery()->running());
  EXPECT_FALSE(window_->sync_lighting().running());
  EXPECT_TRUE(capture.contains("退出测试"));
  EXPECT_TRUE(capture.contains("抓取设备线程设定退出"));
  EXPECT_TRUE(capture.contains("同步灯光线程设定退出"));
  EXPECT_TRUE(capture.contains(kAudioDaemonStopLine));
  EXPECT_EQ(capture.count("所有对象处于激发状态\n"), 3);  // with the audio daemon's watcher
  EXPECT_EQ(capture.count("所有对象处于非激发状态，超时\n"), 0);
  EXPECT_FALSE(window_->isVisible());
}

}  // namespace
}  // namespace qxr::app

namespace qxr::app {
namespace {

TEST(SleepWatcherTest, LogindsSignalBecomesSuspendAndResume) {
  SleepWatcher watcher;
  int suspended = 0, resumed = 0;
  QObject::connect(&watcher, &SleepWatcher::suspending, [&] { ++suspended; });
  QObject::connect(&watcher, &SleepWatcher::resumed, [&] { ++resumed; });
  // What the system bus delivers: PrepareForSleep(true) before, (false) after.
  ASSERT_TRUE(QMetaObject::invokeMethod(&watcher, "prepare_for_sleep", Q_ARG(bool, true)));
  EXPECT_EQ(suspended, 1);
  EXPECT_EQ(resumed, 0);
  ASSERT_TRUE(QMetaObject::invokeMethod(&watcher, "prepare_for_sleep", Q_ARG(bool, false)));
  EXPECT_EQ(resumed, 1);
}

}  // namespace
}  // namespace qxr::app

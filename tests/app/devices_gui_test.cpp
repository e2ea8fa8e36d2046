// The window on emulated devices: they appear, go, connect and take their profiles; key
// presses light the keyboard's picture; the rubber band selects keys; game events and the
// power panel.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QScreen>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/pages/device_option_ui.h"
#include "app/pages/device_page_widget.h"
#include "app/pages/device_profile_ui.h"
#include "app/pages/key_canvas.h"
#include "app/window/game_lighting.h"
#include "app/window/save_failures.h"
#include "app/pages/mp_device_power_ui.h"
#include "devices/keyboard/keyboard_device.h"
#include "devices/keyboard/settings_block.h"
#include "devices/lighting/keyboard_modes.h"
#include "emulator/firmware.h"
#include "profile/json_file.h"
#include "tests/app/app_test_support.h"
#include "tests/support/event_loop.h"
#include "ui/controls/device_key_button.h"
#include "ui/controls/select_panel.h"
#include "ui/language.h"

namespace qxr::app {
namespace {

using emu::DeviceType;
using testing::kHeadsetRow;
using testing::kKeyboardRow;
using testing::kMouseRow;
using testing::kPadRow;
using qxr::testing::qt::spin;
using qxr::testing::qt::settle;
using qxr::testing::qt::wait_until;

class DevicesGuiTest : public testing::EmulatedWindowTest {
 protected:
  // The test knows the row's kind.
  devices::CMarluneKeyboardDevice* keyboard() {
    return static_cast<devices::CMarluneKeyboardDevice*>(page(kKeyboardRow)->device());
  }
  QWidget* find(const char* name) { return window_->control(QString::fromLatin1(name)); }
  bool notice_shown() { return find("No_device_Link")->isVisibleTo(window_.get()); }

  // Two devices connected; the shared effect is one static colour.
  static constexpr lighting::Rgb kSharedColour{12, 34, 56};
  void start_two_for_sync(DeviceType first, size_t first_row, DeviceType second, size_t second_row) {
    start({first, second});
    ASSERT_TRUE(wait_connected(first_row));
    ASSERT_TRUE(wait_connected(second_row));
    SyncSettings s;
    s.mode = SyncMode::Static;
    s.colour = kSharedColour;
    window_->sync_lighting().set_settings(s);
  }
};

TEST_F(DevicesGuiTest, EveryDeviceOfTheDemoGetsItsEntryAndPage) {
  start({emu::kAllDeviceTypes.begin(), emu::kAllDeviceTypes.end()});
  for (size_t row : {kKeyboardRow, kMouseRow, kPadRow, kHeadsetRow}) {
    ASSERT_TRUE(wait_connected(row)) << row;
    EXPECT_TRUE(entry(row)->isVisibleTo(window_.get()));
  }
  EXPECT_FALSE(notice_shown());
  // The first device found keeps the selection.
  EXPECT_EQ(window_->devices().selected_entry(), static_cast<int>(kKeyboardRow));
  EXPECT_TRUE(page(kKeyboardRow)->isVisible());
  // Connected pages run: light frames reach the keyboard's picture.
  EXPECT_TRUE(wait_until([&] { return page(kKeyboardRow)->frames_shown() > 2; }));
  // The secondary interfaces are followed as well.
  EXPECT_TRUE(wait_until([&] { return page(kKeyboardRow)->device()->event_thread_running(); }));
  // Picking another entry shows its page.
  window_->devices().entry_picked(entry(kPadRow));
  EXPECT_TRUE(page(kPadRow)->isVisible());
  EXPECT_FALSE(page(kKeyboardRow)->isVisible());
  EXPECT_TRUE(entry(kPadRow)->IsSelected());
  EXPECT_FALSE(entry(kKeyboardRow)->IsSelected());
}

TEST_F(DevicesGuiTest, UnpluggingHidesTheEntryAndTheLastOneShowsTheNotice) {
  start({DeviceType::Keyboard, DeviceType::Pad});
  ASSERT_TRUE(wait_connected(kKeyboardRow));
  ASSERT_TRUE(wait_connected(kPadRow));
  ASSERT_TRUE(emu_->unplug(DeviceType::Keyboard));
  ASSERT_TRUE(wait_until([&] { return !entry(kKeyboardRow)->IsShown(); }));
  EXPECT_FALSE(page(kKeyboardRow)->device()->primary_channel().opened());
  // The selection moved to the device that is still there.
  EXPECT_EQ(window_->devices().selected_entry(), static_cast<int>(kPadRow));
  EXPECT_FALSE(notice_shown());
  ASSERT_TRUE(emu_->unplug(DeviceType::Pad));
  ASSERT_TRUE(wait_until([&] { return !entry(kPadRow)->IsShown(); }));
  EXPECT_TRUE(notice_shown());
  EXPECT_EQ(window_->devices().selected_entry(), -1);
  // Nothing comes back that is not there.
  for (const auto& m : window_->devices().models()) EXPECT_FALSE(m.entry->IsShown());
  // And plugged again, it is back.
  ASSERT_TRUE(emu_->plug(DeviceType::Pad));
  ASSERT_TRUE(wait_connected(kPadRow));
  EXPECT_FALSE(notice_shown());
}

TEST_F(DevicesGuiTest, PluggingASecondDeviceKeepsTheSelection) {
  start({DeviceType::Keyboard});
  ASSERT_TRUE(wait_connected(kKeyboardRow));
  ASSERT_TRUE(entry(kKeyboardRow)->IsSelected());
  ASSERT_TRUE(emu_->plug(DeviceType::Mouse));
  ASSERT_TRUE(wait_connected(kMouseRow));
  EXPECT_TRUE(entry(kKeyboardRow)->IsSelected());
  EXPECT_FALSE(entry(kMouseRow)->IsSelected());
  EXPECT_TRUE(entry(kMouseRow)->IsShown());
  EXPECT_TRUE(page(kKeyboardRow)->isVisible());
}

TEST_F(DevicesGuiTest, ASecondKeyboardIsIgnored) {
  start({DeviceType::Keyboard});
  ASSERT_TRUE(wait_connected(kKeyboardRow));
  const std::string first_path = page(kKeyboardRow)->device()->slot().path;
  // A second keyboard in the same folder: its own emulator, linked in under another name.
  const std::string other_dir = folder_.file("other");
  emu::Emulator other(other_dir);
  ASSERT_TRUE(other.start({DeviceType::Keyboard}));
  const std::string folder_a = emu_->dir();
  std::filesystem::create_symlink(other.socket_path(DeviceType::Keyboard), folder_a + "/second.sock");
  std::filesystem::copy_file(other.json_path(DeviceType::Keyboard), folder_a + "/second.json.tmp");
  std::filesystem::rename(folder_a + "/second.json.tmp", folder_a + "/second.json");
  spin(1500);
  EXPECT_EQ(other.connection_count(DeviceType::Keyboard), 0u);
  EXPECT_EQ(page(kKeyboardRow)->device()->slot().path, first_path);
  EXPECT_TRUE(page(kKeyboardRow)->device()->primary_channel().opened());
  std::filesystem::remove(folder_a + "/second.json");
  std::filesystem::remove(folder_a + "/second.sock");
}

TEST_F(DevicesGuiTest, ProfilesThroughThePanelReachTheListAndTheDevice) {
  start({DeviceType::Keyboard});
  ASSERT_TRUE(wait_connected(kKeyboardRow));
  // Connected: the profile is read and the page shows it.
  ASSERT_TRUE(wait_until([&] { return keyboard()->light_thread_running(); }));
  CDeviceProfileUI* panel = page(kKeyboardRow)->profile_panel();
  panel->SetMenuVisible(true);
  auto click = [&](const char* name) {
    auto* b = panel->findChild<QAbstractButton*>(QLatin1String(name));
    ASSERT_NE(b, nullptr) << name;
    QTest::mouseClick(b, Qt::LeftButton);
  };
  click("device_add_btn");
  ASSERT_EQ(panel->names(), (QStringList{"profile1", "profile2"}));
  Json::Value list = ReadJsonFile(panel->list_file().toStdString());
  ASSERT_EQ(list["profilelist"].size(), 2u);
  const std::string second_id = list["profilelist"][1]["profileUUID"].asString();

  // Rename the selected one through the edit box.
  auto* edit = panel->findChild<QLineEdit*>(QStringLiteral("device_profile_name_edit"));
  edit->setText(QStringLiteral("Profile2"));
  click("device_profile_edit_save_btn");
  EXPECT_EQ(prompts_.informed, QStringList{QStringLiteral("message_text_5")});
  edit->setText(QStringLiteral("office"));
  click("device_profile_edit_save_btn");
  EXPECT_EQ(panel->names().first(), QStringLiteral("office"));
  EXPECT_EQ(ReadJsonFile(panel->list_file().toStdString())["profilelist"][0]["profilename"].asString(), "office");

  // Give the second profile settings the keyboard does not have yet, then pick it.
  const std::string path = keyboard()->user_data_folder() + second_id + ".Json";
  Json::Value profile = ReadJsonFile(path);
  ASSERT_TRUE(profile.isObject());
  Json::Value full = ReadJsonFile(keyboard()->default_profile_path());
  full["profilename"] = profile["profilename"];
  full["profileUUID"] = profile["profileUUID"];
  full["Device"][0]["SystemStages"]["PollingRate"] = 1;
  full["Device"][0]["SystemStages"]["WinFlag"] = 1;
  ASSERT_TRUE(WriteJsonFile(path, full));
  const uint8_t before = emu_->settings_block(DeviceType::Keyboard, 0).at(22);
  ASSERT_NE(before, 1);
  auto* combo = panel->findChild<QComboBox*>(QStringLiteral("device_profile_combo"));
  combo->setCurrentIndex(1);  // as the user picks it
  ASSERT_TRUE(wait_until([&] {
    const auto block = emu_->settings_block(DeviceType::Keyboard, 0);
    return block.size() > 22 && block[22] == 1 && block[21] == 1;
  }));
  EXPECT_EQ(ReadJsonFile(panel->list_file().toStdString())["profileselect"].asInt(), 1);
  EXPECT_EQ(panel->GetCurrentProfileId().toStdString(), second_id);
  // The page shows the new profile's system settings.
  ASSERT_TRUE(wait_until([&] {
    auto* option = page(kKeyboardRow)->findChild<QAbstractButton*>(QStringLiteral("polling_rate_option_1"));
    return option != nullptr && option->isChecked();
  }));
  EXPECT_TRUE(page(kKeyboardRow)->findChild<QAbstractButton*>(QStringLiteral("winlockflag_option"))->isChecked());

  // Deleting the selected profile removes its file and the keyboard follows the new selection.
  click("device_sub_btn");
  EXPECT_EQ(panel->names(), QStringList{QStringLiteral("office")});
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
  ASSERT_TRUE(wait_until([&] { return emu_->settings_block(DeviceType::Keyboard, 0).at(22) == before; }));
  keyboard()->drain();
  // Nothing the keyboard saves afterwards brings the deleted file back.
  keyboard()->SaveProfile();
  keyboard()->drain();
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

TEST_F(DevicesGuiTest, ResettingAsksFirstAndThenSendsTheDefaults) {
  start({DeviceType::Keyboard});
  ASSERT_TRUE(wait_connected(kKeyboardRow));
  ASSERT_TRUE(wait_until([&] { return keyboard()->light_thread_running(); }));
  CDeviceProfileUI* panel = page(kKeyboardRow)->profile_panel();
  keyboard()->set_system_setting(devices::SystemSetting::PollingRate, 0);
  ASSERT_TRUE(wait_until([&] { return emu_->settings_block(DeviceType::Keyboard, 0).at(22) == 0; }));
  panel->SetMenuVisible(true);
  prompts_.confirm_answer = false;
  QTest::mouseClick(panel->findChild<QAbstractButton*>(QStringLiteral("device_reset_btn")), Qt::LeftButton);
  EXPECT_EQ(prompts_.confirmed, QStringList{QStringLiteral("message_text_22")});
  spin(300);
  EXPECT_EQ(emu_->settings_block(DeviceType::Keyboard, 0).at(22), 0);
  prompts_.confirm_answer = true;
  QTest::mouseClick(panel->findChild<QAbstractButton*>(QStringLiteral("device_reset_btn")), Qt::LeftButton);
  // The default profile's polling rate is option 3.
  EXPECT_TRUE(wait_until([&] { return emu_->settings_block(DeviceType::Keyboard, 0).at(22) == 3; }));
  EXPECT_TRUE(prompts_.informed.isEmpty()) << prompts_.informed.join(QLatin1Char(',')).toStdString();
}

TEST_F(DevicesGuiTest, TheMousesFifthPollingOptionIsShownAloneAndAfterReapplying) {
  start({DeviceType::Mouse});
  ASSERT_TRUE(wait_connected(kMouseRow));
  DevicePageWidget* mouse = page(kMouseRow);
  auto option = [&](int i) {
    return mouse->findChild<QAbstractButton*>(QStringLiteral("polling_rate_option_%1").arg(i));
  };
  auto only_option_four = [&] {
    for (int i = 0; i < 5; ++i) {
      if (option(i)->isChecked() != (i == 4)) return false;
    }
    return true;
  };
  for (int i = 0; i < 5; ++i) ASSERT_NE(option(i), nullptr) << i;
  // Connected: the mouse's tables were read and its profile shown.
  ASSERT_TRUE(wait_until([&] { return emu_->exchanges(DeviceType::Mouse, protocol::CMD_READ_INFO) > 0; }));
  mouse->device()->drain();
  option(4)->click();
  ASSERT_TRUE(wait_until([&] { return emu_->settings_block(DeviceType::Mouse, 0).at(11) == 4; }));
  mouse->device()->drain();
  spin(50);
  EXPECT_TRUE(only_option_four());
  // What a restart does: the profile is loaded and shown again.
  mouse->apply_selected_profile();
  mouse->device()->drain();
  spin(50);
  EXPECT_TRUE(only_option_four());
}

// A real page with its style sheet and frames: light frames keep the case (or picture) and rims
// of earlier paints, and the window still shows what painting the picture whole shows.
TEST_F(DevicesGuiTest, AfterItsFramesEachDevicePictureIsWhatAFullPaintShows) {
  struct Picture {
    size_t row;
    const char* canvas;
    bool light_only;  // the mouse's clear keys lie over its lights: its frames repaint them too
  };
  start({emu::kAllDeviceTypes.begin(), emu::kAllDeviceTypes.end()});
  for (const Picture& kind : {Picture{kKeyboardRow, "keyboard_device_key_light", true},
                              Picture{kMouseRow, "mouse_picture", false},
                              Picture{kPadRow, "mousepad_picture", true},
                              Picture{kHeadsetRow, "headset_picture", true}}) {
    SCOPED_TRACE(kind.canvas);
    ASSERT_TRUE(wait_connected(kind.row));
    window_->devices().entry_picked(entry(kind.row));
    DevicePageWidget* shown_page = page(kind.row);
    auto* canvas = shown_page->findChild<KeyCanvas*>(QString::fromLatin1(kind.canvas));
    ASSERT_NE(canvas, nullptr);
    const uint64_t frames = shown_page->frames_shown();
    ASSERT_TRUE(wait_until([&] {
      return shown_page->frames_shown() > frames + 5 && canvas->last_paint_light_only() == kind.light_only;
    }));
    shown_page->device()->set_host_lighting(false);  // the picture stays as the last frame left it
    spin(150);
    settle();
    const QRect at(canvas->mapTo(window_.get(), QPoint()), canvas->size());
    const QImage shown = QGuiApplication::primaryScreen()->grabWindow(window_->winId()).toImage().copy(at);
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), canvas->grab().toImage().convertToFormat(QImage::Format_RGB32));
  }
}

// The mouse's picture: its lights follow the frames, the rest of it is not repainted.
TEST_F(DevicesGuiTest, MouseFramesRepaintTheLightsNotThePicture) {
  start({DeviceType::Mouse});
  ASSERT_TRUE(wait_connected(kMouseRow));
  DevicePageWidget* mouse = page(kMouseRow);
  ASSERT_TRUE(wait_until([&] { return mouse->on_screen(); }));
  QWidget* panel = mouse->findChild<QWidget*>(QStringLiteral("mouse_device_key_light"));
  CDeviceKeyButtonUI* light = mouse->light_indicator(0);
  ASSERT_NE(panel, nullptr);
  ASSERT_NE(light, nullptr);
  struct LargestPaint : QObject {
    int area = 0;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) {
        const QRect r = static_cast<QPaintEvent*>(e)->region().boundingRect();
        area = std::max(area, r.width() * r.height());
      }
      return false;
    }
  } largest;
  spin(200);  // what connecting and showing left to paint
  panel->installEventFilter(&largest);
  const QColor first = light->light_colour();
  ASSERT_TRUE(wait_until([&] { return light->light_colour() != first; }));
  spin(300);
  panel->removeEventFilter(&largest);
  EXPECT_LE(largest.area, panel->width() * panel->height() / 4);
}

TEST_F(DevicesGuiTest, TheMouseIsToldThePrimaryScreensSize) {
  start({DeviceType::Mouse});
  ASSERT_TRUE(wait_connected(kMouseRow));
  ASSERT_TRUE(wait_until([&] { return emu_->exchanges(DeviceType::Mouse, protocol::CMD_READ_INFO) > 0; }));
  page(kMouseRow)->device()->write_settings();
  page(kMouseRow)->device()->drain();
  const QSize screen = QGuiApplication::primaryScreen()->size();
  ASSERT_GT(screen.width(), 0);
  const std::vector<uint8_t> b = emu_->settings_block(DeviceType::Mouse, 0);
  ASSERT_GT(b.size(), 63u);
  EXPECT_EQ(b[60] | b[61] << 8, screen.width());
  EXPECT_EQ(b[62] | b[63] << 8, screen.height());
}

TEST_F(DevicesGuiTest, AKeyPressLightsItsIndicatorInAReactiveMode) {
  start({DeviceType::Keyboard});
  ASSERT_TRUE(wait_connected(kKeyboardRow));
  ASSERT_TRUE(wait_until([&] { return keyboard()->light_thread_running() && keyboard()->event_thread_running(); }));
  LightInfo light = keyboard()->GetLightInfo();
  light.select_item = lighting::kModeReactive;
  light.light = 4;
  light.speed = 0;
  keyboard()->set_lighting_state(light);
  keyboard()->drain();
  constexpr int kKeyA = 64;
  constexpr int kKeyL = 72;
  const uint8_t position = keyboard()->key_maps().position[kKeyA];
  ASSERT_NE(position, devices::kNoPosition);
  // Reactive mode starts dark.
  CDeviceKeyButtonUI* a = page(kKeyboardRow)->light_indicator(kKeyA);
  CDeviceKeyButtonUI* l = page(kKeyboardRow)->light_indicator(kKeyL);
  ASSERT_TRUE(wait_until([&] { return a->light_colour().alpha() == 0; }));
  ASSERT_TRUE(emu_->press_key(DeviceType::Keyboard, position));
  ASSERT_TRUE(wait_until([&] { return a->light_colour().alpha() > 0; }));
  EXPECT_EQ(l->light_colour().alpha(), 0);
  emu_->release_key(DeviceType::Keyboard, position);
}

TEST_F(DevicesGuiTest, TheRubberBandSelectsTheTouchedKeysAndClearsTheOthers) {
  start({DeviceType::Keyboard});
  ASSERT_TRUE(wait_connected(kKeyboardRow));
  DevicePageWidget* kb = page(kKeyboardRow);
  CSelectPanelUI* panel = kb->key_panel();
  ASSERT_NE(panel, nullptr);
  std::vector<QString> ends;
  window_->set_route_observer([&](Route r, const ui::Notification& n) {
    if (r == Route::KeySelectionEnd) ends.push_back(n.sender_name);
    return false;
  });
  kb->key_button(0)->set_selected(true);  // Esc, far from the band
  // From the middle of Q to the middle of E: Q, W and E.
  const QPoint from = kb->key_button(43)->mapTo(panel, kb->key_button(43)->rect().center());
  const QPoint to = kb->key_button(45)->mapTo(panel, kb->key_button(45)->rect().center());
  QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, from);
  QMouseEvent move(QEvent::MouseMove, QPointF(to), panel->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(panel, &move);
  QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, to);
  EXPECT_EQ(kb->selected_keys(), (QList<int>{43, 44, 45}));
  EXPECT_EQ(ends, std::vector<QString>{QStringLiteral("device_key_light")});
  // A band over no key clears them all and still ends.
  const QPoint empty(panel->width() - 2, 2);
  QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, empty);
  QMouseEvent move2(QEvent::MouseMove, QPointF(empty - QPoint(1, 0)), panel->mapToGlobal(QPointF(empty - QPoint(1, 0))),
                    Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(panel, &move2);
  QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, empty - QPoint(1, 0));
  EXPECT_TRUE(kb->selected_keys().isEmpty());
  EXPECT_EQ(ends.size(), 2u);
}

TEST_F(DevicesGuiTest, AGameEventLightsTheSelectedDeviceForFiveSeconds) {
  start({DeviceType::Pad});
  ASSERT_TRUE(wait_connected(kPadRow));
  devices::CMarluneUSBDevice* pad = page(kPadRow)->device();
  ASSERT_TRUE(wait_until([&] { return pad->get_kind() != devices::kKindKeyboard && pad->GetLightInfo().light != 0; }));
  const LightInfo own = pad->GetLightInfo();
  const uint8_t game_mode = own.select_item == 2 ? 3 : 2;
  window_->handle_message({MessageKind::GameStart, kGroupModes, game_mode, {}});
  EXPECT_EQ(pad->GetLightInfo().select_item, game_mode);
  // A second event within the time does not make the game's lighting the one to return to.
  window_->handle_message({MessageKind::GameDeath, kGroupModes, 0, {}});
  EXPECT_TRUE(wait_until([&] { return pad->GetLightInfo() == own; }, kGameRestoreMs + 3000));
  // Asleep, games are ignored.
  window_->on_suspend();
  window_->handle_message({MessageKind::GameStart, kGroupModes, game_mode, {}});
  EXPECT_EQ(pad->GetLightInfo(), own);
}

// The keyboard runs an on-board mode (the device itself animates it, nothing is streamed), so the
// game's mode has to reach it in its settings block.
class GameEventTest : public DevicesGuiTest {
 protected:
  static constexpr uint8_t kUserMode = lighting::kModeStatic;
  static constexpr uint8_t kGameMode = lighting::kModeSpectrum;
  static constexpr int kConnectDelayMs = 500;

  void start_keyboard() {
    start({DeviceType::Keyboard});
    connected_keyboard();
    LightInfo user = keyboard()->GetLightInfo();
    user.select_item = kUserMode;
    keyboard()->set_lighting_state(user);
    keyboard()->write_settings();
    keyboard()->apply_profile_to_page();
    keyboard()->drain();
    spin(50);
  }
  void connected_keyboard() {
    ASSERT_TRUE(wait_connected(kKeyboardRow));
    // The connect (read, profile, page) comes with the entry's connect timer.
    spin(kConnectDelayMs + 200);
    keyboard()->drain();
    spin(50);
    ASSERT_GT(keyboard()->light_config().mode_values.size(), kGameMode);
  }
  uint8_t device_mode() { return emu_->settings_block(DeviceType::Keyboard, 0).at(devices::kBlockMode); }
  uint8_t mode_value(uint8_t mode) { return static_cast<uint8_t>(keyboard()->light_config().mode_values.at(mode)); }
  int stored_mode() {
    const Json::Value profile = ReadJsonFile(keyboard()->profile_path());
    return profile["Device"][0]["LightInfo"]["SelectItem"].asInt();
  }
  QString panel_mode() {
    if (auto* combo = page(kKeyboardRow)->findChild<QComboBox*>(QStringLiteral("light_combo_modeSelect"))) {
      return combo->currentText();
    }
    auto* summary = page(kKeyboardRow)->findChild<QLabel*>(QString::fromLatin1(kLightSummaryName));
    return summary == nullptr ? QString() : summary->text();
  }
  // A new window, as the program's next start, on the devices still plugged.
  void restart_window() {
    window_->shutdown();
    window_.reset();
    window_ = std::make_unique<CMainWnd>(*settings_, nullptr);
    watch_connects();
    window_->initialise();
    window_->show();
    connected_keyboard();
  }
};

TEST_F(GameEventTest, TheGameModeReachesTheKeyboardButNotTheProfileAndAQuitLeavesTheUsersMode) {
  start_keyboard();
  ASSERT_EQ(device_mode(), mode_value(kUserMode));
  ASSERT_EQ(stored_mode(), kUserMode);
  const QString users_panel = panel_mode();

  window_->handle_message({MessageKind::GameStart, kGroupModes, kGameMode, {}});
  keyboard()->drain();
  spin(50);
  EXPECT_EQ(device_mode(), mode_value(kGameMode));
  EXPECT_EQ(keyboard()->GetLightInfo().select_item, kGameMode);
  EXPECT_NE(panel_mode(), users_panel);
  EXPECT_EQ(stored_mode(), kUserMode);

  // The program ends a second later, within the game's five seconds.
  spin(1000);
  window_->shutdown();
  EXPECT_EQ(device_mode(), mode_value(kUserMode));
  EXPECT_EQ(stored_mode(), kUserMode);

  restart_window();
  EXPECT_EQ(keyboard()->GetLightInfo().select_item, kUserMode);
  EXPECT_EQ(stored_mode(), kUserMode);
  EXPECT_EQ(device_mode(), mode_value(kUserMode));
}

TEST_F(GameEventTest, AfterFiveSecondsTheUsersModeIsBackOnKeyboardAndPanel) {
  start_keyboard();
  const QString users_panel = panel_mode();
  window_->handle_message({MessageKind::GameKill, kGroupModes, kGameMode, {}});
  ASSERT_TRUE(wait_until([&] { return device_mode() == mode_value(kGameMode); }));
  EXPECT_TRUE(wait_until([&] { return device_mode() == mode_value(kUserMode); }, kGameRestoreMs + 3000));
  EXPECT_TRUE(wait_until([&] { return panel_mode() == users_panel; }));
  EXPECT_EQ(stored_mode(), kUserMode);
}

TEST_F(GameEventTest, AKeyboardUnpluggedDuringAGameGetsTheUsersModeBeforeItIsReadAgain) {
  start_keyboard();
  window_->handle_message({MessageKind::GameStart, kGroupModes, kGameMode, {}});
  ASSERT_TRUE(wait_until([&] { return device_mode() == mode_value(kGameMode); }));
  ASSERT_TRUE(emu_->unplug(DeviceType::Keyboard));
  ASSERT_TRUE(wait_until([&] { return !entry(kKeyboardRow)->IsShown(); }));
  ASSERT_TRUE(emu_->plug(DeviceType::Keyboard));
  connected_keyboard();
  EXPECT_EQ(device_mode(), mode_value(kUserMode));
  EXPECT_EQ(keyboard()->GetLightInfo().select_item, kUserMode);
  EXPECT_EQ(stored_mode(), kUserMode);
}

TEST_F(GameEventTest, TheUsersOwnChoiceDuringAGameStays) {
  start_keyboard();
  window_->handle_message({MessageKind::GameStart, kGroupModes, kGameMode, {}});
  LightInfo chosen = keyboard()->GetLightInfo();
  chosen.select_item = lighting::kModeRipple;
  keyboard()->set_lighting_state(chosen);
  keyboard()->write_settings();
  EXPECT_FALSE(keyboard()->temporary_lighting());
  // The game's time runs out: nothing to return to, the user's new choice stays.
  window_->shutdown();
  EXPECT_EQ(device_mode(), mode_value(lighting::kModeRipple));
  EXPECT_EQ(stored_mode(), lighting::kModeRipple);
}

// A folder that cannot take files, for root too: a plain file where the folder was.
class FolderBreaker {
 public:
  explicit FolderBreaker(std::string folder) : folder_(std::move(folder)) {
    while (!folder_.empty() && folder_.back() == '/') folder_.pop_back();
  }
  void break_it() {
    std::filesystem::rename(folder_, folder_ + ".away");
    std::ofstream(folder_) << "not a folder";
  }
  void mend() {
    std::filesystem::remove(folder_);
    std::filesystem::rename(folder_ + ".away", folder_);
  }
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
};

TEST_F(GameEventTest, FailedSavesAreShownOncePerBurstAndTheNextChangeSavesThem) {
  start_keyboard();
  const auto choose = [&](uint8_t mode) {
    LightInfo light = keyboard()->GetLightInfo();
    light.select_item = mode;
    keyboard()->set_lighting_state(light);
    keyboard()->drain();
    spin(20);
  };
  ASSERT_EQ(stored_mode(), kUserMode);
  FolderBreaker breaker(keyboard()->user_data_folder());
  const std::string path = keyboard()->profile_path();
  breaker.break_it();
  choose(lighting::kModeRipple);
  choose(lighting::kModeSparkle);
  choose(lighting::kModeScan);
  ASSERT_EQ(prompts_.notified.size(), 1);
  EXPECT_TRUE(prompts_.notified[0].contains(QString::fromStdString(breaker.folder()))) << prompts_.notified[0].toStdString();
  EXPECT_TRUE(prompts_.notified[0].contains(QString::fromLocal8Bit(std::strerror(ENOTDIR))));
  // The change still holds in the program.
  EXPECT_EQ(keyboard()->GetLightInfo().select_item, lighting::kModeScan);

  breaker.mend();
  EXPECT_EQ(stored_mode(), kUserMode);  // the file as it was
  choose(lighting::kModeTwinkle);
  EXPECT_EQ(stored_mode(), lighting::kModeTwinkle);
  EXPECT_EQ(prompts_.notified.size(), 1);

  // After a save that worked, the next failure is news again.
  breaker.break_it();
  choose(lighting::kModeRipple);
  EXPECT_EQ(prompts_.notified.size(), 2);
  breaker.mend();
}

TEST(SaveFailureText, NamesTheFolderAndTheReason) {
  const QString text = save_failure_text("/data/QXR470 GAMING KEYBOARD/keyboard/2024_01_01.Json", ENOSPC);
  EXPECT_TRUE(text.contains(QStringLiteral("/data/QXR470 GAMING KEYBOARD/keyboard"))) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("2024_01_01")));
  EXPECT_TRUE(text.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))));
}

TEST_F(DevicesGuiTest, ThePadsPowerPanelShowsThePhoneOnTheCharger) {
  emu_->set_phone_type(DeviceType::Pad, 1);
  start({DeviceType::Pad});
  ASSERT_TRUE(wait_connected(kPadRow));
  CMpDevicePowerUI* power = window_->devices().models()[kPadRow].power;
  ASSERT_NE(power, nullptr);
  EXPECT_TRUE(find("device_power_switch")->isVisibleTo(window_.get()));
  auto* phone = power->findChild<QAbstractButton*>(QStringLiteral("device_phone_type"));
  // The five-second poll, without waiting for it.
  ASSERT_TRUE(wait_until([&] { return ui::control_timer_active(entry(kPadRow), CDeviceOptionUI::kStatusTimer); }));
  entry(kPadRow)->on_control_timer(CDeviceOptionUI::kStatusTimer);
  ASSERT_TRUE(wait_until([&] { return !phone->isHidden(); }));
  EXPECT_EQ(ui::Language::instance().text_key(phone), QStringLiteral("Phone_type_iphone"));
  EXPECT_FALSE(power->findChild<QWidget*>(QStringLiteral("device_power_Layout"))->isHidden());
  // The keyboard has no power panel: picking it hides the switch.
}

TEST_F(DevicesGuiTest, NothingIsRepaintedWhileTheWindowIsHidden) {
  start({DeviceType::Keyboard});
  ASSERT_TRUE(wait_connected(kKeyboardRow));
  DevicePageWidget* kb = page(kKeyboardRow);
  ASSERT_TRUE(wait_until([&] { return kb->frames_shown() > 3; }));
  window_->hide();
  spin(100);  // frames queued before hiding drain away
  const uint64_t frames = kb->frames_shown();
  spin(400);
  EXPECT_EQ(kb->frames_shown(), frames);
  window_->show();
  EXPECT_TRUE(wait_until([&] { return kb->frames_shown() > frames; }));
}

TEST_F(DevicesGuiTest, MarkedDevicesFollowTheSharedLighting) {
  ASSERT_NO_FATAL_FAILURE(start_two_for_sync(DeviceType::Pad, kPadRow, DeviceType::Headset, kHeadsetRow));
  entry(kPadRow)->synchro_button()->click();
  EXPECT_FALSE(page(kPadRow)->device()->synchronised());  // one mark synchronises nothing
  entry(kHeadsetRow)->synchro_button()->click();
  EXPECT_TRUE(page(kPadRow)->device()->synchronised());
  EXPECT_TRUE(page(kHeadsetRow)->device()->synchronised());
  const uint64_t frames = window_->sync_lighting().frames();
  ASSERT_TRUE(wait_until([&] { return window_->sync_lighting().frames() > frames + 2; }));
  const devices::LedRecord shared{kSharedColour.red, kSharedColour.green, kSharedColour.blue, 255};
  for (size_t row : {kPadRow, kHeadsetRow}) {
    for (const devices::LedRecord& led : page(row)->device()->led_frame()) EXPECT_EQ(led, shared);
  }
  // Leaving one of two marked devices ends the synchronisation of both.
  ASSERT_TRUE(emu_->unplug(DeviceType::Headset));
  ASSERT_TRUE(wait_until([&] { return !entry(kHeadsetRow)->IsShown(); }));
  EXPECT_FALSE(page(kPadRow)->device()->synchronised());
  EXPECT_FALSE(entry(kPadRow)->IsSynchro());
}

TEST_F(DevicesGuiTest, TheKeyboardFollowsTheSharedLightingOnItsPicture) {
  ASSERT_NO_FATAL_FAILURE(start_two_for_sync(DeviceType::Keyboard, kKeyboardRow, DeviceType::Pad, kPadRow));
  entry(kKeyboardRow)->synchro_button()->click();
  entry(kPadRow)->synchro_button()->click();
  ASSERT_TRUE(keyboard()->synchronised());
  const QColor shared(kSharedColour.red, kSharedColour.green, kSharedColour.blue, 255);
  DevicePageWidget* kb = page(kKeyboardRow);
  auto all_shared = [&] {
    for (int i = 0; i < kb->light_indicator_count(); ++i) {
      CDeviceKeyButtonUI* key = kb->light_indicator(i);
      if (key != nullptr && !key->isHidden() && key->light_colour() != shared) return false;
    }
    return true;
  };
  EXPECT_TRUE(wait_until(all_shared));
  // Unmarking gives the keyboard its own effect back.
  entry(kKeyboardRow)->synchro_button()->click();
  EXPECT_FALSE(keyboard()->synchronised());
  EXPECT_TRUE(wait_until([&] { return !all_shared(); }));
}

}  // namespace
}  // namespace qxr::app

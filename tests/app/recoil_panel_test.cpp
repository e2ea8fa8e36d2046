// The recoil panel in the whole program, on the emulated mouse: one click from the mouse page,
// an edited bullet in the mouse's recoil memory byte for byte and in its script file, scripts
// out to a ".shoot" file and back, hostile files refused, and a send the mouse did not take.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTest>

#include <filesystem>

#include "app/pages/device_page_widget.h"
#include "app/pages/device_profile_ui.h"
#include "app/window/recoil_panels.h"
#include "editors/recoil/recoil_control_names.h"
#include "editors/recoil/recoil_pattern_view.h"
#include "emulator/firmware_layout.h"
#include "profile/json_file.h"
#include "profile/macro_files.h"
#include "tests/app/app_test_support.h"
#include "tests/support/event_loop.h"
#include "tests/support/temp_folder.h"
#include "ui/controls/select_panel.h"
#include "ui/language.h"
#include "ui/notification.h"

namespace qxr::app {
namespace {

namespace n = editors::recoil::names;
using emu::DeviceType;
using qxr::testing::read_text;
using qxr::testing::write_text;
using qxr::testing::qt::spin;
using qxr::testing::qt::wait_until;
using testing::kKeyboardRow;
using testing::kMouseRow;

class RecoilPanelTest : public testing::EmulatedWindowTest {
 protected:
  static QString text(const char* key) { return ui::Language::instance().text(QString::fromLatin1(key)); }
  void start_mouse() {
    start({DeviceType::Mouse});
    install_recoil_editor(*window_);
    ASSERT_TRUE(wait_connected(kMouseRow));
    ASSERT_TRUE(wait_until([&] { return emu_->exchanges(DeviceType::Mouse, protocol::CMD_READ_INFO) > 0; }));
    settle();
  }
  // The tab as a user clicks it.
  void open_recoil_tab() {
    window_->devices().entry_picked(entry(kMouseRow));
    auto* tab = page(kMouseRow)->findChild<QAbstractButton*>(QStringLiteral("shoot_Op_tab"));
    ASSERT_NE(tab, nullptr);
    QTest::mouseClick(tab, Qt::LeftButton);
    ASSERT_NE(panel(), nullptr);
  }
  CShootControlUI* panel() { return page(kMouseRow)->recoil_bridge()->panel(); }
  template <typename T>
  T* control(std::string_view name) {
    return panel()->control<T>(name);
  }
  template <typename T>
  T* control(std::string_view prefix, int index) {
    return panel()->control<T>(std::string(prefix) + std::to_string(index));
  }
  void click(std::string_view name) { QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton); }
  void click(std::string_view prefix, int index) { QTest::mouseClick(control<QAbstractButton>(prefix, index), Qt::LeftButton); }
  // Typed into an edit, then left.
  void type(std::string_view edit, const QString& text) {
    auto* e = control<QLineEdit>(edit);
    e->setText(text);
    ui::send_notify(e, ui::notify_type::kKillFocus);
  }
  void settle() {
    page(kMouseRow)->device()->drain();
    spin(20);
  }
  std::string script(int gun) { return panel()->folder().script_path(gun); }
  uint32_t sends() { return emu_->exchanges(DeviceType::Mouse, protocol::CMD_WRITE_RECOIL); }
  RecoilBullet shown() {
    RecoilBullet b;
    b.left = control<QAbstractButton>(n::kHorizontalOption)->isChecked();
    b.up = control<QAbstractButton>(n::kVerticalOption)->isChecked();
    b.horizontal = static_cast<uint8_t>(control<QLineEdit>(n::kHorizontalEdit)->text().toInt());
    b.vertical = static_cast<uint8_t>(control<QLineEdit>(n::kVerticalEdit)->text().toInt());
    b.delay_ms = static_cast<uint16_t>(control<QLineEdit>(n::kDelayEdit)->text().toInt());
    return b;
  }
};

TEST_F(RecoilPanelTest, TheRecoilTabIsOneClickAwayAndOnlyOnTheMouse) {
  start({DeviceType::Keyboard, DeviceType::Mouse});
  install_recoil_editor(*window_);
  ASSERT_TRUE(wait_connected(kMouseRow));
  EXPECT_TRUE(page(kKeyboardRow)->findChild<QWidget*>(QStringLiteral("shoot_Op_tab"))->isHidden());
  EXPECT_EQ(page(kKeyboardRow)->recoil_bridge()->panel(), nullptr);
  open_recoil_tab();
  EXPECT_TRUE(panel()->isVisible());
  EXPECT_TRUE(panel()->controls_found());
  EXPECT_FALSE(page(kMouseRow)->key_panel()->isVisible());  // the panel has the picture's room
  EXPECT_EQ(panel()->current_gun(), 0);
  EXPECT_EQ(panel()->current_bullet(), 0);
  EXPECT_EQ(control<QLabel>(n::kBulletIndex)->text(), QStringLiteral("1"));
  // The factory scripts are the mouse's first scripts, and gun 1's first bullet is on show.
  for (int gun = 0; gun < editors::recoil::kGunCount; ++gun) {
    EXPECT_EQ(read_text(script(gun)), read_text(panel()->folder().factory_path(gun))) << gun;
  }
  EXPECT_EQ(shown(), ReadRecoilBullets(script(0))[0]);
  EXPECT_EQ(control<QAbstractButton>(n::kVerticalOption)->text(),
            text(shown().up ? "mouse_move_to_up_text" : "mouse_move_to_down_text"));
}

TEST_F(RecoilPanelTest, AnEditedBulletReachesTheMousesRecoilMemoryByteForByte) {
  start_mouse();
  open_recoil_tab();
  click(n::kGunOption, 1);
  EXPECT_EQ(control<QStackedWidget>(n::kGunPictures)->currentIndex(), 1);
  click(n::kBulletOption, 2);
  EXPECT_EQ(control<QLabel>(n::kBulletIndex)->text(), QStringLiteral("3"));
  // 12 to the left, 3 down, 90 ms to the next bullet.
  auto* x = control<QAbstractButton>(n::kHorizontalOption);
  if (!x->isChecked()) click(n::kHorizontalOption);
  auto* y = control<QAbstractButton>(n::kVerticalOption);
  if (y->isChecked()) click(n::kVerticalOption);
  EXPECT_EQ(x->text(), text("mouse_move_to_left_text"));
  EXPECT_EQ(y->text(), text("mouse_move_to_down_text"));
  type(n::kHorizontalEdit, QStringLiteral("12"));
  type(n::kVerticalEdit, QStringLiteral("3"));
  type(n::kDelayEdit, QStringLiteral("90"));

  // The script file holds the bullet as its six events.
  const Json::Value events = ReadJsonFile(script(1))["Events"];
  ASSERT_EQ(events.size(), 180u);
  const auto expect_event = [&](Json::ArrayIndex i, const char* action, int button, int delay, int type) {
    EXPECT_EQ(events[i]["Action"].asString(), action) << i;
    EXPECT_EQ(events[i]["Button"], button) << i;
    EXPECT_EQ(events[i]["Delay"], delay) << i;  // an integer, not text
    EXPECT_EQ(events[i]["Type"], type) << i;
  };
  expect_event(12, "down", 1, 10, 1);
  expect_event(13, "up", 1, 0, 1);
  expect_event(14, "down", 12, 5, 4);
  expect_event(15, "up", 3, 90, 5);
  expect_event(16, "down", 0, 0, 4);
  expect_event(17, "up", 0, 0, 5);
  EXPECT_EQ(panel()->findChild<RecoilPatternView*>(QStringLiteral("shoot_image_1"))->bullets()[2],
            (RecoilBullet{true, 12, false, 3, 90}));

  const uint32_t before = sends();
  click(n::kSaveButton);
  ASSERT_TRUE(wait_until([&] { return sends() > before; }));
  settle();
  ASSERT_TRUE(wait_until([&] {
    spin(5);
    return !control<QLabel>(n::kSendStatus)->text().isEmpty();
  }));
  EXPECT_EQ(control<QLabel>(n::kSendStatus)->text(), text("shoot_sent_text"));
  EXPECT_TRUE(prompts_.informed.isEmpty()) << prompts_.informed.join(QLatin1Char(',')).toStdString();

  // Four scripts of 180 events: 16 + 4 x 2 + 4 x 4 + 720 x 4 = 2920 bytes. Gun 1's record
  // follows gun 0's at 24 + 4 + 720 = 748; its bullet 2 starts 12 events in, at 752 + 48 = 800.
  const std::vector<uint8_t> memory = emu_->memory(DeviceType::Mouse, emu::Memory::kRecoil);
  ASSERT_GE(memory.size(), 2920u);
  const std::vector<uint8_t> header = {0xAA, 0x55, 0x68, 0x0B, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                       24, 0, 0xEC, 0x02, 0xC0, 0x05, 0x94, 0x08};
  EXPECT_EQ(std::vector<uint8_t>(memory.begin(), memory.begin() + 24), header);
  EXPECT_EQ(std::vector<uint8_t>(memory.begin() + 748, memory.begin() + 752), (std::vector<uint8_t>{180, 0, 0, 0}));
  const std::vector<uint8_t> bullet = {
      10, 0, 0x81, 0x01,  // left pressed, held 10 ms
      0, 0, 0x01, 0x01,   // released
      5, 0, 0x84, 12,     // 12 to the left, then 5 ms
      90, 0, 0x05, 3,     // 3 down, then 90 ms to the next bullet
      0, 0, 0x84, 0,      // the pulls' ends
      0, 0, 0x05, 0,
  };
  EXPECT_EQ(std::vector<uint8_t>(memory.begin() + 800, memory.begin() + 824), bullet);
  EXPECT_EQ(emu_->recoil_image(DeviceType::Mouse).state, emu::ImageState::kValid);
}

TEST_F(RecoilPanelTest, WhatIsStillBeingTypedIsKeptWhenTheUserMovesOn) {
  start_mouse();
  open_recoil_tab();
  click(n::kBulletOption, 4);
  control<QLineEdit>(n::kDelayEdit)->setText(QStringLiteral("70000"));  // not left yet
  click(n::kNextBullet);
  EXPECT_EQ(panel()->current_bullet(), 5);
  EXPECT_EQ(ReadRecoilBullets(script(0))[4].delay_ms, 65535);  // clamped as the edit then shows
  // Flipping a direction is kept at once, too.
  const bool up = control<QAbstractButton>(n::kVerticalOption)->isChecked();
  click(n::kVerticalOption);
  click(n::kPreviousBullet);
  EXPECT_EQ(ReadRecoilBullets(script(0))[5].up, !up);
  EXPECT_EQ(shown().delay_ms, 65535);
  // Keys typed into an edit and Enter: stored as leaving it stores.
  auto* horizontal = control<QLineEdit>(n::kHorizontalEdit);
  window_->activateWindow();
  horizontal->setFocus();
  ASSERT_TRUE(wait_until([&] { return horizontal->hasFocus(); }));
  horizontal->selectAll();
  QTest::keyClicks(horizontal, QStringLiteral("4x2"));  // the letter never gets in
  QTest::keyClick(horizontal, Qt::Key_Return);
  EXPECT_FALSE(horizontal->hasFocus());
  EXPECT_EQ(ReadRecoilBullets(script(0))[4].horizontal, 42);
  // The grid ends where it ends.
  click(n::kBulletOption, 29);
  click(n::kNextBullet);
  EXPECT_EQ(panel()->current_bullet(), 29);
}

TEST_F(RecoilPanelTest, AGunsScriptGoesOutAsAShootFileAndComesBack) {
  start_mouse();
  open_recoil_tab();
  click(n::kGunOption, 2);
  click(n::kBulletOption, 7);
  type(n::kHorizontalEdit, QStringLiteral("9"));
  type(n::kDelayEdit, QStringLiteral("123"));
  const RecoilBullet edited = shown();
  const std::string stored = read_text(script(2));

  qxr::testing::TempFolder outside;
  prompts_.save_path = QString::fromStdString(outside.file("spray.shoot"));
  click(n::kExportButton);
  EXPECT_EQ(prompts_.filters.value(0), QStringLiteral("Shoot Files(*.shoot)"));
  EXPECT_EQ(read_text(outside.file("spray.shoot")), stored);

  click(n::kResetButton);
  EXPECT_EQ(read_text(script(2)), read_text(panel()->folder().factory_path(2)));
  EXPECT_NE(shown(), edited);

  prompts_.open_path = prompts_.save_path;
  click(n::kImportButton);
  EXPECT_EQ(read_text(script(2)), stored);
  EXPECT_EQ(panel()->current_bullet(), 7);
  EXPECT_EQ(shown(), edited);
  EXPECT_TRUE(prompts_.informed.isEmpty()) << prompts_.informed.join(QLatin1Char(',')).toStdString();
  // Only gun 3 was touched.
  for (int gun : {0, 1, 3}) EXPECT_EQ(read_text(script(gun)), read_text(panel()->folder().factory_path(gun))) << gun;
}

TEST_F(RecoilPanelTest, AHostileShootFileChangesNothing) {
  start_mouse();
  open_recoil_tab();
  click(n::kBulletOption, 3);
  const std::string before = read_text(script(0));
  const RecoilBullet showing = shown();
  const uint32_t sent = sends();
  qxr::testing::TempFolder outside;
  const std::string offered = outside.file("free_skins.shoot");
  prompts_.open_path = QString::fromStdString(offered);
  // A gun key that types (Win+R, then keys) instead of pulling, and one that pulls 4000 times.
  std::string typing = R"({"Events":[{"Action":"down","Button":1,"Delay":10,"Type":1},)"
                       R"({"Action":"down","Button":8,"Delay":0,"Type":9},{"Action":"down","Button":21,"Delay":0,"Type":10}]})";
  std::string endless = R"({"Events":[)";
  for (int i = 0; i < 4000; ++i) endless += std::string(i ? "," : "") + R"({"Action":"up","Button":255,"Delay":0,"Type":5})";
  endless += "]}";
  for (const std::string& text : {typing, endless, std::string(R"({"Events":[{"Action":"down","Button":1)")}) {
    write_text(offered, text);
    prompts_.informed.clear();
    click(n::kImportButton);
    EXPECT_EQ(prompts_.informed, QStringList{QStringLiteral("shoot_import_refused_text")}) << text.substr(0, 80);
    EXPECT_EQ(read_text(script(0)), before);
    EXPECT_EQ(shown(), showing);
  }
  EXPECT_EQ(sends(), sent);
}

TEST_F(RecoilPanelTest, AnUnreadableScriptIsKeptAsideAndTheFactoryScriptTakesItsPlace) {
  start_mouse();
  const std::string folder = page(kMouseRow)->device()->recoil_scripts()->recoil_folder();
  write_text(RecoilScriptPath(folder, 3), "{\"Events\": [ {\"Action\": \"do");
  open_recoil_tab();
  bool kept = false;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    kept |= entry.path().filename().string().rfind("ShootData_3.Shoot.unreadable", 0) == 0;
  }
  EXPECT_TRUE(kept);
  EXPECT_EQ(read_text(script(3)), read_text(panel()->folder().factory_path(3)));
  click(n::kGunOption, 3);
  EXPECT_EQ(shown(), ReadRecoilBullets(panel()->folder().factory_path(3))[0]);
}

TEST_F(RecoilPanelTest, ASendTheMouseDidNotTakeIsSaidSo) {
  start_mouse();
  open_recoil_tab();
  emu_->unplug(DeviceType::Mouse);
  ASSERT_TRUE(wait_until([&] { return !page(kMouseRow)->device()->connected(); }));
  const uint32_t before = sends();
  control<QAbstractButton>(n::kSaveButton)->click();  // the page may be out of sight by now
  ASSERT_TRUE(wait_until([&] {
    settle();
    return !prompts_.informed.isEmpty();
  }));
  EXPECT_EQ(prompts_.informed, QStringList{QStringLiteral("shoot_send_failed_text")});
  EXPECT_EQ(control<QLabel>(n::kSendStatus)->text(), text("shoot_send_failed_text"));
  EXPECT_EQ(sends(), before);
}

}  // namespace
}  // namespace qxr::app

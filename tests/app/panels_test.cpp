// The profile panel, the power panel, the list entry and a page's indicators, each on its own.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTimer>

#include "app/pages/device_option_ui.h"
#include "app/pages/device_page_widget.h"
#include "app/pages/device_profile_ui.h"
#include "app/pages/mp_device_power_ui.h"
#include "profile/data_paths.h"
#include "profile/json_file.h"
#include "tests/app/app_test_support.h"
#include "tests/support/event_loop.h"
#include "ui/control_timer.h"
#include "ui/controls/device_key_button.h"
#include "ui/language.h"
#include "ui/language_table.h"
#include "ui/notification.h"

namespace qxr::app {
namespace {

using qxr::testing::qt::spin;
using qxr::testing::qt::wait_until;

class ProfilePanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    folder_ = dir_.path() + QStringLiteral("/");
  }
  void init(int kind, const char* model = kKeyboardFolder) {
    panel_.SetDeviceKind(kind);
    panel_.SetFolders(folder_, QString::fromStdString(DefaultProfilePath(model)));
    panel_.InitProfileList();
  }
  Json::Value list_file() const { return ReadJsonFile(panel_.list_file().toStdString()); }
  QAbstractButton* tab(const char* name) { return panel_.findChild<QAbstractButton*>(QLatin1String(name)); }

  QTemporaryDir dir_;
  QString folder_;
  CDeviceProfileUI panel_;
};

TEST_F(ProfilePanelTest, AFirstStartMakesOneProfileAndShowsIt) {
  ASSERT_TRUE(panel_.loaded());
  init(1);
  EXPECT_EQ(panel_.names(), QStringList{QStringLiteral("profile1")});
  EXPECT_EQ(panel_.GetSelectedIndex(), 0);
  EXPECT_EQ(panel_.GetNameEditText(), QStringLiteral("profile1"));
  const Json::Value list = list_file();
  ASSERT_EQ(list["profilelist"].size(), 1u);
  EXPECT_EQ(QString::fromStdString(list["profilelist"][0]["profileUUID"].asString()), panel_.GetCurrentProfileId());
}

TEST_F(ProfilePanelTest, AddCopyRenameDeleteKeepTheDropDownAndTheFileTogether) {
  init(1);
  panel_.AddProfile();
  panel_.AddProfile();
  EXPECT_EQ(panel_.names(), (QStringList{"profile1", "profile2", "profile3"}));
  // Adding leaves the selection where it was.
  EXPECT_EQ(panel_.GetSelectedIndex(), 0);
  EXPECT_EQ(panel_.combo_index(), 0);
  panel_.CopyProfile();
  EXPECT_EQ(panel_.names().last(), QStringLiteral("profile1 copy"));
  EXPECT_EQ(panel_.RenameProfile(QStringLiteral("Profile2")), kRenameNameInUse);
  EXPECT_EQ(panel_.RenameProfile(QStringLiteral("   ")), kRenameBlank);
  EXPECT_EQ(panel_.RenameProfile(QStringLiteral("games")), kRenameDone);
  EXPECT_EQ(panel_.names().first(), QStringLiteral("games"));
  EXPECT_EQ(panel_.GetNameEditText(), QStringLiteral("games"));
  panel_.SelectProfile(2, false);
  panel_.DeleteProfile();
  EXPECT_EQ(panel_.names(), (QStringList{"games", "profile2", "profile1 copy"}));
  EXPECT_EQ(panel_.GetSelectedIndex(), 1);
  EXPECT_EQ(panel_.combo_index(), 1);
  const Json::Value list = list_file();
  ASSERT_EQ(list["profilelist"].size(), 3u);
  EXPECT_EQ(list["profilelist"][0]["profilename"].asString(), "games");
  EXPECT_EQ(list["profileselect"].asInt(), 1);
}

TEST_F(ProfilePanelTest, TheLastProfileIsNeverDeleted) {
  init(1);
  panel_.DeleteProfile();
  EXPECT_EQ(panel_.names().size(), 1);
}

struct Recorder : ui::NotifyHandler {
  void Notify(const ui::Notification& n) override { seen << n.type + QLatin1Char(' ') + n.sender_name; }
  QStringList seen;
};

TEST_F(ProfilePanelTest, SelectingWithoutNotificationIsQuiet) {
  init(1);
  panel_.AddProfile();
  Recorder recorder;
  ui::set_notify_handler(&panel_, &recorder);
  panel_.SelectProfile(1, false);
  EXPECT_EQ(panel_.GetSelectedIndex(), 1);
  EXPECT_EQ(list_file()["profileselect"].asInt(), 1);
  EXPECT_EQ(panel_.GetNameEditText(), QStringLiteral("profile2"));
  EXPECT_TRUE(recorder.seen.isEmpty()) << recorder.seen.join(QLatin1Char(',')).toStdString();
  panel_.SelectProfile(0, true);
  EXPECT_EQ(recorder.seen, QStringList{QStringLiteral("itemselect device_profile_combo")});
  ui::set_notify_handler(&panel_, nullptr);
  panel_.SelectProfile(7, false);  // out of range: nothing changes
  EXPECT_EQ(panel_.GetSelectedIndex(), 0);
}

TEST_F(ProfilePanelTest, OptionTabsFollowTheDeviceKind) {
  init(3, kMousePadFolder);
  EXPECT_TRUE(tab("key_Op_tab")->isHidden());
  EXPECT_TRUE(tab("macro_Op_tab")->isHidden());
  EXPECT_TRUE(tab("system_Op_tab")->isHidden());
  EXPECT_TRUE(tab("cursor_Op_tab")->isHidden());
  EXPECT_FALSE(tab("deng_Op_tab")->isHidden());
  EXPECT_TRUE(tab("6533_voice_Op_tab")->isHidden());  // the page's own default

  CDeviceProfileUI headset;
  headset.SetDeviceKind(7);
  headset.SetFolders(folder_ + QStringLiteral("hd/"), QString::fromStdString(DefaultProfilePath(kHeadsetFolder)));
  headset.InitProfileList();
  for (const char* shown : {"6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab", "deng_Op_tab"}) {
    EXPECT_FALSE(headset.findChild<QWidget*>(QLatin1String(shown))->isHidden()) << shown;
  }
  EXPECT_TRUE(headset.findChild<QWidget*>(QStringLiteral("key_Op_tab"))->isHidden());
  // The segmented look: the first and the last visible tab are the ends.
  EXPECT_TRUE(headset.findChild<QWidget*>(QStringLiteral("deng_Op_tab"))->property("first").toBool());
  EXPECT_TRUE(headset.findChild<QWidget*>(QStringLiteral("Virtual7.1_Op_tab"))->property("last").toBool());
  EXPECT_FALSE(headset.findChild<QWidget*>(QStringLiteral("magic_Op_tab"))->property("last").toBool());
}

TEST_F(ProfilePanelTest, SelectOptionTabChecksOnlyThatTab) {
  init(1);
  panel_.SelectOptionTab(3);
  EXPECT_EQ(panel_.selected_option_tab(), 3);
  EXPECT_FALSE(tab("deng_Op_tab")->isChecked());
  panel_.SelectOptionTab(9);
  panel_.SelectOptionTab(-1);
  EXPECT_EQ(panel_.selected_option_tab(), 3);
}

TEST_F(ProfilePanelTest, TheMenuShowsAndHides) {
  init(1);
  EXPECT_FALSE(panel_.IsMenuVisible());
  panel_.SetMenuVisible(true);
  EXPECT_TRUE(panel_.IsMenuVisible());
  EXPECT_TRUE(panel_.findChild<QAbstractButton*>(QStringLiteral("profile_fun_spread_btn"))->isChecked());
  panel_.SetMenuVisible(false);
  EXPECT_FALSE(panel_.IsMenuVisible());
}

// ---- power panel ----

TEST(PowerPanel, ShowsLevelChargeAndPhone) {
  ui::Language::instance().set_table(ui::LanguageTable{});
  CMpDevicePowerUI panel;
  ASSERT_TRUE(panel.loaded());
  panel.SetPowerMode(3, 0);
  const uint8_t status[] = {80, 1, 0, 0, 0, 2};
  panel.SetPowerStatus(status, sizeof status);
  EXPECT_EQ(panel.findChild<QLabel*>(QStringLiteral("device_power_value"))->text(), QStringLiteral("80%"));
  EXPECT_EQ(panel.findChild<QProgressBar*>(QStringLiteral("device_Power_progress"))->value(), 20);
  auto* phone = panel.findChild<QAbstractButton*>(QStringLiteral("device_phone_type"));
  EXPECT_FALSE(phone->isHidden());
  EXPECT_EQ(ui::Language::instance().text_key(phone), QStringLiteral("Phone_type_samsung"));
  EXPECT_EQ(phone->property("image").toString(), QStringLiteral("file='power/Phone_type_samsung.png'"));
  EXPECT_EQ(panel.findChild<QLabel*>(QStringLiteral("device_power_status"))->property("image").toString(),
            QStringLiteral("file='power/powering.png'"));
  // A repeated poll changes nothing; a new level is shown.
  panel.SetPowerStatus(status, sizeof status);
  const uint8_t lower[] = {40, 1, 0, 0, 0, 2};
  panel.SetPowerStatus(lower, sizeof lower);
  EXPECT_EQ(panel.findChild<QLabel*>(QStringLiteral("device_power_value"))->text(), QStringLiteral("40%"));
}

TEST(PowerPanel, OtherModesLeaveThePhoneAlone) {
  CMpDevicePowerUI panel;
  panel.SetPowerMode(0, 0);
  const uint8_t status[] = {30, 2, 0, 1, 0, 1};
  panel.SetPowerStatus(status, sizeof status);
  EXPECT_TRUE(panel.findChild<QWidget*>(QStringLiteral("device_phone_type"))->isHidden());
  EXPECT_TRUE(panel.findChild<QWidget*>(QStringLiteral("device_wuxian_logo"))->isHidden());
  panel.ShowPowerLayout(true);
  EXPECT_FALSE(panel.findChild<QWidget*>(QStringLiteral("device_power_Layout"))->isHidden());
}

// ---- list entry ----

TEST(DeviceEntry, KindNameImagesAndMarks) {
  CDeviceOptionUI entry;
  ASSERT_TRUE(entry.loaded());
  EXPECT_EQ(ui::Language::instance().text_key(entry.select_button()), QStringLiteral("unknow_device_name_text"));
  entry.SetKind(7, 0);
  EXPECT_EQ(ui::Language::instance().text_key(entry.select_button()), QStringLiteral("hd_device_name_text"));
  EXPECT_FALSE(entry.select_button()->icon().isNull());
  const qint64 plain = entry.select_button()->icon().cacheKey();
  entry.SetSynchro(true);
  EXPECT_TRUE(entry.IsSynchro());
  EXPECT_NE(entry.select_button()->icon().cacheKey(), plain);
  entry.SetShown(true);
  entry.SetSelected(true);
  EXPECT_TRUE(entry.IsSelected());
  entry.SetShown(false);
  EXPECT_FALSE(entry.IsSelected());
  EXPECT_TRUE(entry.isHidden());
}

TEST(DeviceEntry, TimersWithoutAnOpenDeviceStop) {
  CDeviceOptionUI entry;
  entry.StartConnectTimer();
  EXPECT_TRUE(ui::control_timer_active(&entry, CDeviceOptionUI::kConnectTimer));
  entry.on_control_timer(CDeviceOptionUI::kConnectTimer);
  EXPECT_FALSE(ui::control_timer_active(&entry, CDeviceOptionUI::kConnectTimer));
  EXPECT_FALSE(ui::control_timer_active(&entry, CDeviceOptionUI::kLightFrameTimer));
}

// The connect delay counts the time a device waited before the UI thread saw its arrival.
TEST(DeviceEntry, ConnectDelayCountsTheTimeAlreadyWaited) {
  struct Case {
    int waited_ms;
    int delay_ms;
  };
  for (const Case c : {Case{0, 500}, Case{120, 380}, Case{499, 1}, Case{500, 0}, Case{2000, 0}, Case{-30, 500}}) {
    CDeviceOptionUI entry;
    entry.StartConnectTimer(c.waited_ms);
    const auto* timer = entry.findChild<QTimer*>(QStringLiteral("qxr_control_timer_%1").arg(CDeviceOptionUI::kConnectTimer));
    ASSERT_NE(timer, nullptr) << c.waited_ms;
    EXPECT_TRUE(timer->isActive()) << c.waited_ms;
    EXPECT_EQ(timer->interval(), c.delay_ms) << c.waited_ms;
  }
}

// ---- a page's indicators ----

class PageIndicatorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    SetUserDataRoot(dir_.path().toStdString() + "/");
  }
  void TearDown() override { SetUserDataRoot(""); }
  QTemporaryDir dir_;
};

TEST_F(PageIndicatorsTest, FramesShowOnlyOnScreenAndRepaintOnlyChanges) {
  DevicePageWidget page(0);
  ASSERT_TRUE(page.loaded());
  ASSERT_EQ(page.light_indicator_count(), 170);
  ASSERT_EQ(page.key_button_count(), 170);
  std::vector<devices::IndicatorColour> frame(170, {10, 20, 30, 200});
  frame[64] = {255, 0, 0, 255};

  page.show_indicators(frame);  // not on screen yet
  spin(20);
  EXPECT_EQ(page.frames_shown(), 0u);

  page.resize(1000, 576);
  page.show();
  ASSERT_TRUE(wait_until([&] { return page.on_screen(); }));
  page.show_indicators(frame);
  ASSERT_TRUE(wait_until([&] { return page.frames_shown() == 1; }));
  EXPECT_EQ(page.light_indicator(64)->light_colour(), QColor(255, 0, 0, 255));
  EXPECT_EQ(page.light_indicator(21)->light_colour(), QColor(10, 20, 30, 200));
  const uint64_t changes = page.colour_changes();
  EXPECT_GT(changes, 100u);
  // Hidden regional keys are not touched.
  ASSERT_TRUE(page.light_indicator(62)->isHidden());
  EXPECT_EQ(page.light_indicator(62)->light_colour().alpha(), 0);

  page.show_indicators(frame);
  ASSERT_TRUE(wait_until([&] { return page.frames_shown() == 2; }));
  EXPECT_EQ(page.colour_changes(), changes);  // the same picture repaints nothing
  frame[64] = {0, 255, 0, 255};
  page.show_indicators(frame);
  ASSERT_TRUE(wait_until([&] { return page.frames_shown() == 3; }));
  EXPECT_EQ(page.colour_changes(), changes + 1);

  page.hide();
  page.show_indicators(frame);
  spin(20);
  EXPECT_EQ(page.frames_shown(), 3u);
}

TEST_F(PageIndicatorsTest, FramesCoalesceWhileTheUiIsBusy) {
  DevicePageWidget page(0);
  page.show();
  ASSERT_TRUE(wait_until([&] { return page.on_screen(); }));
  std::vector<devices::IndicatorColour> frame(170, {1, 1, 1, 1});
  for (int i = 0; i < 10; ++i) {
    frame[0].red = static_cast<uint8_t>(i);
    page.show_indicators(frame);
  }
  spin(30);
  // Only the newest picture is drawn.
  EXPECT_EQ(page.frames_shown(), 1u);
  EXPECT_EQ(page.light_indicator(0)->light_colour().red(), 9);
}

}  // namespace
}  // namespace qxr::app

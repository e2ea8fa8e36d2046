// The lighting panel in the whole program: the main window on emulated devices routes the
// panels' notifications to the lighting editor, and what the user changes reaches the devices,
// the profile files and, after a restart, the panels again.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QSlider>
#include <QTest>

#include <filesystem>
#include <memory>

#include "devices/device_kind.h"
#include "app/window/app_controls.h"
#include "app/startup/app_settings.h"
#include "app/pages/device_page_widget.h"
#include "app/window/light_panels.h"
#include "app/window/main_wnd.h"
#include "app/window/sync_lighting.h"
#include "devices/keyboard/settings_block.h"
#include "devices/mouse/mouse_settings_block.h"
#include "editors/lighting/light_control_names.h"
#include "editors/lighting/light_page_bridge.h"
#include "emulator/emulator.h"
#include "profile/json_file.h"
#include "tests/support/emulator_test.h"
#include "tests/support/event_loop.h"

using namespace qxr;
using namespace qxr::editors;
namespace n = qxr::editors::names;
using emu::DeviceType;

namespace {

constexpr size_t kKeyboardRow = 0;
constexpr size_t kMouseRow = 1;

using qxr::testing::qt::wait_until;

class LightProgramTest : public qxr::testing::EmulatorTest {
 protected:
  void SetUp() override {
    settings_ = std::make_unique<app::AppSettings>(QString::fromStdString(folder_.file("settings.ini")));
    app::register_app_controls();
  }
  void TearDown() override { stop_window(); }

  void start_window() {
    window_ = std::make_unique<app::CMainWnd>(*settings_, nullptr);
    ASSERT_TRUE(window_->loaded());
    app::install_lighting_editor(*window_);
    window_->initialise();
    window_->show();
  }
  void stop_window() {
    if (window_) window_->shutdown();
    window_.reset();
  }
  app::DevicePageWidget* page(size_t row) const { return window_->devices().models().at(row).page; }
  CLightControlUI* panel(size_t row) const {
    LightPageBridge* bridge = page(row)->light_bridge();
    return bridge != nullptr ? bridge->panel() : nullptr;
  }
  // The page's device connected and its panel showing the device's mode list.
  bool wait_shown(size_t row) {
    return wait_until([&] {
      app::DevicePageWidget* p = page(row);
      return p != nullptr && p->device()->primary_channel().opened() && panel(row) != nullptr &&
             !panel(row)->mode_names().empty() && panel(row)->GetSelectedMode() >= 0;
    });
  }
  // The device's queued work done (its settings block sent, its profile saved).
  void drain(size_t row) { page(row)->device()->drain(); }
  // The device part of the model's profile file.
  Json::Value stored(const char* model) const {
    for (const auto& f : std::filesystem::directory_iterator(user_root() + model)) {
      const std::string name = f.path().filename().string();
      if (name.size() > 5 && name.substr(name.size() - 5) == ".Json") return ReadJsonFile(f.path().string())["Device"][0];
    }
    return {};
  }

  std::unique_ptr<app::AppSettings> settings_;
  std::unique_ptr<app::CMainWnd> window_;
};

}  // namespace

TEST_F(LightProgramTest, EveryPageCarriesItsPanelOfItsKind) {
  ASSERT_TRUE(emu_->start({DeviceType::Keyboard, DeviceType::Mouse, DeviceType::Pad, DeviceType::Headset}));
  start_window();
  const int kinds[] = {devices::kKindKeyboard, devices::kKindMouse, devices::kKindMousePad, devices::kKindHeadset};
  for (size_t row = 0; row < 4; ++row) {
    ASSERT_TRUE(wait_shown(row)) << row;
    CLightControlUI* p = panel(row);
    EXPECT_EQ(p->device_kind(), kinds[row]);
    // The keyboard's panel has the music controls, the others the basic skin.
    EXPECT_EQ(p->control(n::kAudioModeCombo) != nullptr, row == kKeyboardRow) << row;
    EXPECT_EQ(p->GetSelectedMode(), page(row)->device()->GetLightInfo().select_item) << row;
  }
}

TEST_F(LightProgramTest, ASpeedStepReachesTheKeyboardAndSurvivesARestart) {
  ASSERT_TRUE(emu_->start({DeviceType::Keyboard}));
  start_window();
  ASSERT_TRUE(wait_shown(kKeyboardRow));
  CLightControlUI* p = panel(kKeyboardRow);
  p->control<QComboBox>(n::kModeCombo)->setCurrentIndex(1);
  auto* speed = p->control<QSlider>(n::kSpeedSlider);
  QTest::keyClick(speed, Qt::Key_Home);
  QTest::keyClick(speed, Qt::Key_Right);
  drain(kKeyboardRow);
  EXPECT_EQ(emu_->settings_block(DeviceType::Keyboard, 0)[devices::kBlockSpeed], 3);  // 4 - 1
  EXPECT_EQ(stored("keyboard")["LightInfo"]["Speed"].asInt(), 1);
  p->control<QAbstractButton>("color_option_2")->click();
  drain(kKeyboardRow);

  stop_window();
  start_window();
  ASSERT_TRUE(wait_shown(kKeyboardRow));
  p = panel(kKeyboardRow);
  EXPECT_EQ(p->GetSelectedMode(), 1);
  EXPECT_EQ(p->GetSpeed(), 1);
  EXPECT_EQ(p->GetPaletteColour(), 0xFFFFFF00u);
}

TEST_F(LightProgramTest, SameModeFromTheKeyboardDrivesTheMouseUntilItGoes) {
  ASSERT_TRUE(emu_->start({DeviceType::Keyboard, DeviceType::Mouse}));
  start_window();
  ASSERT_TRUE(wait_shown(kKeyboardRow));
  ASSERT_TRUE(wait_shown(kMouseRow));
  CLightControlUI* kb = panel(kKeyboardRow);
  ASSERT_TRUE(wait_until([&] { return kb->same_mode_available(); }));
  kb->control<QComboBox>(n::kModeCombo)->setCurrentIndex(5);  // column breathing
  ASSERT_FALSE(kb->control(n::kSameMode)->isHidden());
  kb->control<QAbstractButton>(n::kSameMode)->click();
  drain(kMouseRow);
  EXPECT_EQ(page(kMouseRow)->device()->GetLightInfo().select_item, 2);  // the mouse's breathing
  EXPECT_EQ(emu_->settings_block(DeviceType::Mouse, 0)[devices::kMouseBlockMode], 2);
  EXPECT_EQ(panel(kMouseRow)->GetSelectedMode(), 2);
  EXPECT_EQ(window_->devices().synchronised_pages().size(), 2u);
  // The synchronised lighting now draws the shared effect on both.
  const uint64_t before = window_->sync_lighting().frames();
  EXPECT_TRUE(wait_until([&] { return window_->sync_lighting().frames() > before; }, 5000));

  emu_->unplug(DeviceType::Mouse);
  EXPECT_TRUE(wait_until([&] { return !kb->same_mode_available(); }));
  EXPECT_TRUE(kb->control(n::kSameMode)->isHidden());
}

TEST(LightProgramSettings, ACommonEffectBecomesTheSynchronisedEffect) {
  SharedLight shared;
  shared.effect = CommonEffect::Breathing;
  shared.speed = 3;
  shared.multi_color = 1;
  shared.colour = {1, 2, 3};
  app::SyncSettings s = app::sync_settings_for(shared);
  EXPECT_EQ(s.mode, app::SyncMode::Breathe);
  EXPECT_EQ(s.speed, 3);
  EXPECT_TRUE(s.wheel);
  EXPECT_EQ(s.colour, (lighting::Rgb{1, 2, 3}));
  const std::pair<CommonEffect, app::SyncMode> modes[] = {{CommonEffect::Static, app::SyncMode::Static},
                                                          {CommonEffect::Blink, app::SyncMode::Blink},
                                                          {CommonEffect::Spectrum, app::SyncMode::Spectrum},
                                                          {CommonEffect::Off, app::SyncMode::Off}};
  for (const auto& [effect, mode] : modes) {
    shared.effect = effect;
    EXPECT_EQ(app::sync_settings_for(shared).mode, mode);
  }
  shared.multi_color = 0;
  EXPECT_FALSE(app::sync_settings_for(shared).wheel);
}

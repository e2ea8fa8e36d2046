// The lighting panel driven as a user drives it, against the emulated keyboard and mouse: what
// reaches the devices' settings blocks, key colours and profile files.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "devices/device_kind.h"
#include "devices/keyboard/settings_block.h"
#include "devices/mouse/mouse_settings_block.h"
#include "editors/lighting/light_control_names.h"
#include "editors/lighting/light_page_bridge.h"
#include "tests/editors/light_fixture.h"
#include "ui/control_factory.h"

using namespace qxr;
using namespace qxr::editors;
using namespace qxr::editors::testing;
namespace n = qxr::editors::names;
using emu::DeviceType;

namespace {

void leave(QWidget* w) {
  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(w, &out);
}

void click(CLightControlUI* panel, std::string_view name) {
  auto* b = panel->control<QAbstractButton>(name);
  ASSERT_NE(b, nullptr) << name;
  ASSERT_TRUE(b->isEnabled()) << name;
  b->click();
}

void choose(CLightControlUI* panel, std::string_view combo, int index) {
  auto* c = panel->control<QComboBox>(combo);
  ASSERT_NE(c, nullptr) << combo;
  c->setCurrentIndex(index);
}

}  // namespace

TEST_F(EmulatedLightTest, ASpeedStepReachesTheKeyboardTurnedBackAndTheProfile) {
  connect_keyboard();
  choose(kb_panel_, n::kModeCombo, 1);
  auto* speed = kb_panel_->control<QSlider>(n::kSpeedSlider);
  ASSERT_NE(speed, nullptr);
  QTest::keyClick(speed, Qt::Key_Home);
  QTest::keyClick(speed, Qt::Key_Right);
  EXPECT_EQ(speed->value(), 1);
  EXPECT_EQ(kb_->GetLightInfo().speed, 1);
  drain();
  const std::vector<uint8_t> block = emu_->settings_block(DeviceType::Keyboard, 0);
  ASSERT_EQ(block.size(), devices::kSettingsBlockSize);
  EXPECT_EQ(block[devices::kBlockMode], 1);
  EXPECT_EQ(block[devices::kBlockSpeed], 3);  // 4 - 1
  const Json::Value light = stored(kb_->profile_path())["LightInfo"];
  EXPECT_EQ(light["Speed"].asInt(), 1);
  EXPECT_EQ(light["SelectItem"].asInt(), 1);
  EXPECT_FALSE(emu_->in_transaction(DeviceType::Keyboard));
}

TEST_F(EmulatedLightTest, ThreeHundredTypedIntoGreenIsShownAndStoredAs255AndEndsTheSevenColours) {
  connect_keyboard();
  choose(kb_panel_, n::kModeCombo, 1);
  if (kb_panel_->GetSevenColour() == 0) click(kb_panel_, n::kSevenColourCheck);
  ASSERT_EQ(kb_->GetLightInfo().multi_color, 1);
  auto* green = kb_panel_->control<QLineEdit>(n::kGreenEdit);
  ASSERT_NE(green, nullptr);
  green->clear();
  QTest::keyClicks(green, QStringLiteral("300"));
  ASSERT_EQ(green->text(), QStringLiteral("300"));
  leave(green);
  EXPECT_EQ(green->text(), QStringLiteral("255"));
  EXPECT_EQ(kb_panel_->GetSevenColour(), 0);
  EXPECT_EQ(kb_panel_->GetPaletteColour() & 0x00FF00u, 0x00FF00u);
  EXPECT_EQ(kb_->GetLightInfo().green, 255);
  drain();
  const std::vector<uint8_t> block = emu_->settings_block(DeviceType::Keyboard, 0);
  EXPECT_EQ(block[devices::kBlockGreen], 255);
  EXPECT_EQ(block[devices::kBlockMultiColor], 0);
  const Json::Value light = stored(kb_->profile_path())["LightInfo"];
  EXPECT_EQ(light["Green"].asInt(), 255);
  EXPECT_EQ(light["MultiColor"].asInt(), 0);
}

TEST_F(EmulatedLightTest, KeyboardModeNineteenLeavesOnlyTheEffectGroup) {
  connect_keyboard();
  choose(kb_panel_, n::kModeCombo, 1);
  for (std::string_view g : {kSevenColourCheck, kColourLayout, kPaletteLayout, kBrightnessLayout, kSpeedLayout,
                             kDirectionLayout})
    ASSERT_TRUE(kb_panel_->control(g)->isEnabled()) << g;
  choose(kb_panel_, n::kModeCombo, 19);
  EXPECT_TRUE(kb_panel_->control(kEffectLayout)->isEnabled());
  for (std::string_view g : {kSevenColourCheck, kColourLayout, kPaletteLayout, kBrightnessLayout, kSpeedLayout,
                             kDirectionLayout})
    EXPECT_FALSE(kb_panel_->control(g)->isEnabled()) << g;
  EXPECT_EQ(kb_->GetLightInfo().select_item, 19);
  drain();
  EXPECT_EQ(emu_->settings_block(DeviceType::Keyboard, 0)[devices::kBlockMode], 19);
}

TEST_F(EmulatedLightTest, TheSameModeButtonNeverShowsWithOneDevice) {
  connect_keyboard();
  EXPECT_FALSE(kb_panel_->same_mode_available());
  for (int mode = 0; mode <= 30; ++mode) {
    choose(kb_panel_, n::kModeCombo, mode);
    EXPECT_TRUE(kb_panel_->control(n::kSameMode)->isHidden()) << mode;
  }
  choose(kb_panel_, n::kModeCombo, 5);
  connect_mouse();
  EXPECT_TRUE(kb_panel_->same_mode_available());
  EXPECT_FALSE(kb_panel_->control(n::kSameMode)->isHidden());
  ms_->close_primary();
  LightEditor::UpdateSameModeAvailability(harness_->bindings);
  EXPECT_TRUE(kb_panel_->control(n::kSameMode)->isHidden());
}

TEST_F(EmulatedLightTest, CopyingKeyboardModeTwentyThreeSetsTheMouseToModeFourWithTheKeyboardsSettings) {
  connect_keyboard();
  connect_mouse();
  // The mouse starts out different in every value that travels.
  choose(ms_panel_, n::kModeCombo, 0);
  click(ms_panel_, n::kDirectionFirst);
  click(ms_panel_, "color_option_3");
  QTest::keyClick(ms_panel_->control<QSlider>(n::kBrightnessSlider), Qt::Key_Home);
  QTest::keyClick(ms_panel_->control<QSlider>(n::kSpeedSlider), Qt::Key_End);

  choose(kb_panel_, n::kModeCombo, 23);
  QTest::keyClick(kb_panel_->control<QSlider>(n::kBrightnessSlider), Qt::Key_End);
  QTest::keyClick(kb_panel_->control<QSlider>(n::kSpeedSlider), Qt::Key_Home);
  QTest::keyClick(kb_panel_->control<QSlider>(n::kSpeedSlider), Qt::Key_Right);
  click(kb_panel_, "color_option_5");
  // Mode 23 has no direction group: the keyboard's own direction travels as it is.
  const uint8_t kb_fx = kb_->GetLightInfo().fx;
  if (kb_fx == ms_->GetLightInfo().fx) click(ms_panel_, kb_fx ? n::kDirectionSecond : n::kDirectionFirst);
  ASSERT_NE(ms_->GetLightInfo().fx, kb_fx);

  ASSERT_FALSE(kb_panel_->control(n::kSameMode)->isHidden());
  click(kb_panel_, n::kSameMode);
  drain();

  const LightInfo mouse = ms_->GetLightInfo();
  EXPECT_EQ(mouse.select_item, 4);
  EXPECT_EQ(mouse.light, 4);
  EXPECT_EQ(mouse.speed, 1);
  EXPECT_EQ(mouse.fx, kb_fx);
  EXPECT_EQ(colour_of(mouse), (Rgb{0, 0, 255}));
  const std::vector<uint8_t> block = emu_->settings_block(DeviceType::Mouse, 0);
  ASSERT_GT(block.size(), devices::kMouseBlockBlue);
  EXPECT_EQ(block[devices::kMouseBlockMode], 4);
  EXPECT_EQ(block[devices::kMouseBlockLight], 4);
  EXPECT_EQ(block[devices::kMouseBlockSpeed], 3);  // 4 - 1
  EXPECT_EQ(block[devices::kMouseBlockFx], kb_fx);
  EXPECT_EQ(block[devices::kMouseBlockRed], 0);
  EXPECT_EQ(block[devices::kMouseBlockBlue], 255);
  EXPECT_EQ(stored(ms_->profile_path())["LightInfo"]["SelectItem"].asInt(), 4);
  EXPECT_EQ(ms_panel_->GetSelectedMode(), 4);
  EXPECT_EQ(ms_panel_->GetBlueText(), QStringLiteral("255"));
  EXPECT_TRUE(ms_->synchronised());
  EXPECT_TRUE(kb_->synchronised());
  EXPECT_EQ(kb_->GetLightInfo().select_item, 23);
  ASSERT_EQ(harness_->shared.size(), 1u);
  EXPECT_EQ(harness_->shared[0].effect, CommonEffect::Blink);
  // The next change on the mouse is its own again.
  QTest::keyClick(ms_panel_->control<QSlider>(n::kBrightnessSlider), Qt::Key_Left);
  EXPECT_FALSE(ms_->synchronised());
  EXPECT_TRUE(kb_->synchronised());
}

TEST_F(EmulatedLightTest, MusicStyleThreeDisablesBothMusicColourGroups) {
  connect_keyboard();
  choose(kb_panel_, n::kModeCombo, 21);
  ASSERT_FALSE(kb_panel_->control(kAudioModeLayout)->isHidden());
  choose(kb_panel_, n::kAudioModeCombo, 3);
  EXPECT_FALSE(kb_panel_->control(n::kAudioColourLayout)->isEnabled());
  EXPECT_FALSE(kb_panel_->control(n::kAudioPaletteLayout)->isEnabled());
  EXPECT_EQ(kb_->audio_light_info().audio_mode, 3);
  drain();
  EXPECT_EQ(stored(kb_->profile_path())["AudioLightInfo"]["AudioMode"].asInt(), 3);
  choose(kb_panel_, n::kAudioModeCombo, 1);
  EXPECT_TRUE(kb_panel_->control(n::kAudioColourLayout)->isEnabled());
  EXPECT_TRUE(kb_panel_->control(n::kAudioPaletteLayout)->isEnabled());
}

TEST_F(EmulatedLightTest, PaintedKeysAreUploadedAtTheGroupsOffset) {
  connect_keyboard();
  choose(kb_panel_, n::kModeCombo, lighting::kModeCustom);
  ASSERT_FALSE(kb_panel_->control(kCustomLayout)->isHidden());
  choose(kb_panel_, n::kCustomCombo, 2);
  click(kb_panel_, "color_option_0");
  ASSERT_EQ(kb_->GetLightInfo().custom_group, 2);
  const std::vector<int> keys = {30, 31, 32};
  harness_->selected_keys = keys;
  click(kb_panel_, n::kPaintLit);
  drain();
  const devices::KeyMaps maps = kb_->key_maps();
  auto colour_at = [&](int key) {
    const std::vector<uint8_t> colours = emu_->memory(DeviceType::Keyboard, emu::Memory::kKeyColours);
    const size_t at = 2 * devices::kCustomColourSlotSize + size_t{maps.led[size_t(key)]} * 3;
    EXPECT_GT(colours.size(), at + 2);
    return colours.size() > at + 2 ? Rgb{colours[at], colours[at + 1], colours[at + 2]} : Rgb{1, 1, 1};
  };
  for (int key : keys) {
    ASSERT_NE(maps.led[size_t(key)], devices::kNoLed) << key;
    EXPECT_EQ(colour_at(key), (Rgb{255, 0, 0})) << key;
  }
  // Turning one off darkens it alone; the chosen colour stays the user's.
  harness_->selected_keys = {31};
  click(kb_panel_, n::kPaintOff);
  drain();
  EXPECT_EQ(colour_at(31), (Rgb{0, 0, 0}));
  EXPECT_EQ(colour_at(30), (Rgb{255, 0, 0}));
  EXPECT_EQ(colour_at(32), (Rgb{255, 0, 0}));
  EXPECT_EQ(colour_of(kb_->GetLightInfo()), (Rgb{255, 0, 0}));
  EXPECT_EQ(emu_->settings_block(DeviceType::Keyboard, 0)[devices::kBlockRed], 255);
  const Json::Value device = stored(kb_->profile_path());
  EXPECT_EQ(device["LightInfo"]["Red"].asInt(), 255);
  EXPECT_EQ(device["CustomLightMode"]["LightColorInfo"][2][31]["Red"].asInt(), 0);
  EXPECT_EQ(device["CustomLightMode"]["LightColorInfo"][2][30]["Red"].asInt(), 255);
}

TEST_F(EmulatedLightTest, APageBridgeCarriesTheDevicesCallsAndThePanelsNotifications) {
  connect_keyboard();
  // A page as the program builds it: its panel is created by name from the skin's class.
  QWidget page;
  auto* panel = qobject_cast<CLightControlUI*>(
      ui::ControlFactory::global().create(QString::fromLatin1(CLightControlUI::kClassName), &page));
  ASSERT_NE(panel, nullptr);
  panel->setObjectName(QString::fromLatin1(kLightPanelName));
  auto* elsewhere = new QPushButton(QStringLiteral("color_option_1"), &page);
  elsewhere->setObjectName(QStringLiteral("color_option_1"));
  LightPageBridge bridge(&page, *kb_, devices::kKindKeyboard);
  ASSERT_EQ(bridge.panel(), panel);
  EXPECT_EQ(panel->device_kind(), devices::kKindKeyboard);

  LightInfo light = kb_->GetLightInfo();
  light.select_item = 6;
  light.custom_group = 1;
  bridge.show(light, kb_->audio_light_info());
  EXPECT_EQ(panel->GetSelectedMode(), 6);
  EXPECT_EQ(panel->GetCustomMode(), 1);
  EXPECT_FALSE(panel->mode_names().empty());  // the keyboard's catalogue
  bridge.select_custom_group(3);
  EXPECT_EQ(panel->GetCustomMode(), 3);

  const ColourPair pair = colour_pair_of({2, 1, 2, 3, 4, 5, 6, 0, kShowForeground});
  bridge.set_colour_pair(pair.first, pair.second, pair.selector);
  EXPECT_EQ(panel->audio_light().audio_mode, 2);
  EXPECT_EQ(panel->control<QLineEdit>(n::kAudioRedEdit)->text(), QStringLiteral("4"));
  ColourPair back;
  ASSERT_TRUE(bridge.read_colour_pair(back.first, back.second, back.selector));
  EXPECT_EQ(back, pair);

  ui::Notification from_panel{QStringLiteral("click"), QStringLiteral("color_option_2"),
                              panel->control(std::string("color_option_2")), 0, 0};
  ASSERT_TRUE(bridge.notify(from_panel, {}));
  EXPECT_EQ(colour_of(kb_->GetLightInfo()), (Rgb{255, 255, 0}));
  ui::Notification from_page{QStringLiteral("click"), QStringLiteral("color_option_1"), elsewhere, 0, 0};
  EXPECT_FALSE(bridge.notify(from_page, {}));
  EXPECT_EQ(colour_of(kb_->GetLightInfo()), (Rgb{255, 255, 0}));

  // A page without a panel: the bridge does nothing.
  QWidget bare;
  LightPageBridge none(&bare, *ms_, devices::kKindMouse);
  EXPECT_EQ(none.panel(), nullptr);
  none.show(light, {});
  EXPECT_FALSE(none.read_colour_pair(back.first, back.second, back.selector));
  EXPECT_FALSE(none.notify(from_panel, {}));
}

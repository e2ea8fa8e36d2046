// The lighting panel on its own and the editor against recorded devices: what the panel shows,
// what its controls answer, and what each notification gives the device.
#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>

#include "devices/device_kind.h"
#include "editors/lighting/colour_palette.h"
#include "editors/lighting/light_control_names.h"
#include "tests/editors/light_fixture.h"

using namespace qxr;
using namespace qxr::editors;
using namespace qxr::editors::testing;
namespace n = qxr::editors::names;

namespace {


// A device that keeps what the editor gives it.
class FakeTarget : public LightTarget {
 public:
  explicit FakeTarget(int kind, bool connected = true) : kind_(kind), connected_(connected) {}
  int kind() const override { return kind_; }
  bool connected() const override { return connected_; }
  LightInfo light_info() const override { return light; }
  void commit_light(const LightInfo& l) override {
    light = l;
    commits.push_back(l);
    committed_at = ++clock;
  }
  void set_synchronised(bool on) override { synchronised_ = on; }
  bool synchronised() const override { return synchronised_; }
  ModeCatalogue mode_catalogue() const override { return catalogue; }
  bool has_music() const override { return kind_ == devices::kKindKeyboard; }
  AudioLightInfo audio_light() const override { return audio; }
  void commit_audio(const AudioLightInfo& a) override {
    audio = a;
    audio_commits.push_back(a);
  }
  bool paint_keys(std::span<const int> keys, bool lit) override {
    paints.push_back({std::vector<int>(keys.begin(), keys.end()), lit});
    return kind_ == devices::kKindKeyboard;
  }

  LightInfo light;
  AudioLightInfo audio;
  ModeCatalogue catalogue;
  std::vector<LightInfo> commits;
  std::vector<AudioLightInfo> audio_commits;
  std::vector<std::pair<std::vector<int>, bool>> paints;
  // Order of the last commit among all fake devices.
  static inline int clock = 0;
  int committed_at = 0;

 private:
  int kind_;
  bool connected_;
  bool synchronised_ = false;
};

class LightPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    harness_.resize(960, 260);
    harness_.show();
  }
  CLightControlUI* keyboard_panel() {
    CLightControlUI* p = harness_.add(&keyboard_);
    p->FillModes(std::vector<std::string>(31, "light_mode_wave"), std::vector<bool>(31, true), 4, 4);
    return p;
  }
  // Sends n as the control itself would.
  static void click(CLightControlUI* panel, std::string_view name) {
    auto* b = panel->control<QAbstractButton>(name);
    ASSERT_NE(b, nullptr) << name;
    b->click();
  }
  static void leave(QWidget* w) {
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(w, &out);
  }

  LightHarness harness_;
  FakeTarget keyboard_{devices::kKindKeyboard};
};

}  // namespace

TEST_F(LightPanelTest, BothSkinsBuildWithTheirControls) {
  CLightControlUI* full = harness_.add(&keyboard_);
  CLightControlUI* basic = harness_.add(nullptr, QStringLiteral("LightControlBasic.ui"));
  ASSERT_NE(full, nullptr);
  ASSERT_NE(basic, nullptr);
  for (std::string_view name :
       {n::kModeCombo, n::kBrightnessSlider, n::kSpeedSlider, n::kRedEdit, n::kGreenEdit, n::kBlueEdit, n::kPalette,
        n::kSwatch, n::kSevenColourCheck, n::kDirectionFirst, n::kDirectionSecond, n::kSameMode, kEffectLayout,
        kColourLayout, kPaletteLayout, kBrightnessLayout, kSpeedLayout, kDirectionLayout, kColourGroupLayout,
        kColourTabLayout, kRgbLayout}) {
    EXPECT_NE(full->control(name), nullptr) << name;
    EXPECT_NE(basic->control(name), nullptr) << name;
  }
  for (std::string_view name :
       {n::kCustomCombo, n::kSubModeCombo, n::kAudioModeCombo, n::kPaintLit, n::kPaintOff, kCustomLayout,
        kSubModeLayout, kAudioModeLayout, n::kAudioSevenColourCheck, n::kAudioRedEdit, n::kAudioBackgroundCheck,
        n::kAudioForegroundCheck, n::kAudioPalette, n::kAudioSwatch, n::kAudioColourLayout, n::kAudioPaletteLayout}) {
    EXPECT_NE(full->control(name), nullptr) << name;
    EXPECT_EQ(basic->control(name), nullptr) << name;
  }
  // The keyboard's extra groups start out of sight, so a kind without them never shows them.
  EXPECT_TRUE(full->control(kCustomLayout)->isHidden());
  EXPECT_TRUE(full->control(kAudioModeLayout)->isHidden());
  EXPECT_TRUE(full->control(n::kSameMode)->isHidden());
  EXPECT_EQ(full->GetPresetColour(0), 0xFFFF0000u);
  EXPECT_EQ(full->GetPresetColour(7), 0xFFFFFFFFu);
  EXPECT_EQ(full->GetPresetColour(8), 0u);
  EXPECT_EQ(full->GetAudioPresetColour(3), 0xFF00FF00u);
  EXPECT_EQ(basic->GetAudioPresetColour(3), 0u);
}

TEST_F(LightPanelTest, FillModesListsTranslatedNamesAndHidesInvisibleOnes) {
  CLightControlUI* p = harness_.add(&keyboard_);
  p->FillModes({"light_mode_wave", "light_mode_spectrum", "light_mode_user_effect_2"}, {true, true, false}, 4, 3);
  auto* combo = p->control<QComboBox>(n::kModeCombo);
  ASSERT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->itemText(0), QStringLiteral("Wave"));
  EXPECT_EQ(combo->itemText(1), QStringLiteral("Spectrum"));
  EXPECT_EQ(combo->itemData(1).toString(), QStringLiteral("light_mode_spectrum"));
  auto* view = qobject_cast<QListView*>(combo->view());
  ASSERT_NE(view, nullptr);
  EXPECT_FALSE(view->isRowHidden(0));
  EXPECT_TRUE(view->isRowHidden(2));
  EXPECT_EQ(p->control<QAbstractSlider>(n::kBrightnessSlider)->maximum(), 4);
  EXPECT_EQ(p->control<QAbstractSlider>(n::kSpeedSlider)->maximum(), 3);
  // Filling again replaces the list; no selection was reported to the editor.
  p->FillModes({"light_mode_off"}, {true}, 4, 4);
  EXPECT_EQ(combo->count(), 1);
  EXPECT_TRUE(harness_.unhandled.empty());
  EXPECT_TRUE(keyboard_.commits.empty());
}

TEST_F(LightPanelTest, ShowLightSetsEveryControlWithoutNotifying) {
  CLightControlUI* p = keyboard_panel();
  LightInfo l;
  l.select_item = 3;
  l.light = 2;
  l.speed = 4;
  l.fx = 0;
  l.multi_color = 1;
  l.red = 200;
  l.green = 100;
  l.blue = 7;
  p->ShowLight(l);
  EXPECT_EQ(p->GetSelectedMode(), 3);
  EXPECT_EQ(p->GetBrightness(), 2);
  EXPECT_EQ(p->GetSpeed(), 4);
  EXPECT_EQ(p->GetRedText(), QStringLiteral("200"));
  EXPECT_EQ(p->GetGreenText(), QStringLiteral("100"));
  EXPECT_EQ(p->GetBlueText(), QStringLiteral("7"));
  EXPECT_EQ(p->GetPaletteColour(), 0xFFC86407u);
  EXPECT_EQ(p->GetSwatchColour(), 0xFFC86407u);
  EXPECT_EQ(p->GetSevenColour(), 1);
  EXPECT_EQ(p->GetDirection(), 0);
  EXPECT_TRUE(p->control<QAbstractButton>(n::kDirectionSecond)->isChecked());
  // Mode 3 names its directions by the clock.
  EXPECT_EQ(p->control<QAbstractButton>(n::kDirectionFirst)->text(), QStringLiteral("Clockwise"));
  EXPECT_EQ(p->control<QAbstractButton>(n::kDirectionSecond)->text(), QStringLiteral("Anticlockwise"));

  l.fx = 1;
  l.multi_color = 0;
  l.select_item = 12;
  p->ShowLight(l);
  EXPECT_EQ(p->GetDirection(), 1);
  EXPECT_FALSE(p->control<QAbstractButton>(n::kDirectionSecond)->isChecked());
  EXPECT_EQ(p->GetSevenColour(), 0);
  EXPECT_EQ(p->control<QAbstractButton>(n::kDirectionFirst)->text(), QStringLiteral("Bottom to top"));
  EXPECT_FALSE(p->control(kRgbLayout)->isEnabled());
  l.select_item = 1;
  p->ShowLight(l);
  EXPECT_EQ(p->control<QAbstractButton>(n::kDirectionFirst)->text(), QStringLiteral("Right to left"));
  EXPECT_TRUE(p->control(kRgbLayout)->isEnabled());

  EXPECT_TRUE(harness_.unhandled.empty());
  EXPECT_EQ(harness_.handled, 0);
  EXPECT_TRUE(keyboard_.commits.empty());
}

TEST_F(LightPanelTest, TheMusicModeShowsTheMusicPageAndTheCustomModeTheGroups) {
  CLightControlUI* p = keyboard_panel();
  auto* tabs = p->control<QStackedWidget>(kColourTabLayout);
  ASSERT_NE(tabs, nullptr);
  p->ApplyLayout(21);
  EXPECT_EQ(tabs->currentIndex(), kColourPageAudio);
  EXPECT_FALSE(p->control(kAudioModeLayout)->isHidden());
  EXPECT_TRUE(p->control(kSpeedLayout)->isHidden());
  p->ApplyLayout(20);
  EXPECT_EQ(tabs->currentIndex(), kColourPageLight);
  EXPECT_TRUE(p->control(kAudioModeLayout)->isHidden());
  EXPECT_FALSE(p->control(kCustomLayout)->isHidden());
  EXPECT_FALSE(p->control(n::kSevenColourCheck)->isEnabled());
  EXPECT_TRUE(p->control(kColourLayout)->isEnabled());
  p->ApplyLayout(17);
  EXPECT_TRUE(p->control(kCustomLayout)->isHidden());
  EXPECT_FALSE(p->control(kSubModeLayout)->isHidden());
  EXPECT_FALSE(p->control(kColourGroupLayout)->isEnabled());
}

TEST_F(LightPanelTest, AKindWithoutATableKeepsTheSkinsState) {
  CLightControlUI* p = harness_.add(nullptr);
  p->SetDeviceKind(6);
  p->ApplyLayout(28);
  for (std::string_view group : {kColourLayout, kPaletteLayout, kBrightnessLayout, kSpeedLayout})
    EXPECT_TRUE(p->control(group)->isEnabled()) << group;
  EXPECT_TRUE(p->control(n::kSameMode)->isHidden());
}

TEST_F(LightPanelTest, MusicRecordShowsTheChosenColour) {
  CLightControlUI* p = keyboard_panel();
  AudioLightInfo a{1, 10, 20, 30, 40, 50, 60, 1, kShowForeground};
  p->SetAudioLight(a);
  EXPECT_TRUE(p->control<QAbstractButton>(n::kAudioForegroundCheck)->isChecked());
  EXPECT_FALSE(p->control<QAbstractButton>(n::kAudioBackgroundCheck)->isChecked());
  EXPECT_TRUE(p->control<QAbstractButton>(n::kAudioSevenColourCheck)->isChecked());
  EXPECT_EQ(p->control<QLineEdit>(n::kAudioRedEdit)->text(), QStringLiteral("40"));
  EXPECT_EQ(p->control<QComboBox>(n::kAudioModeCombo)->currentIndex(), 1);
  EXPECT_TRUE(p->control(n::kAudioColourLayout)->isEnabled());

  a.color_type_flags = kShowBackground;
  a.seven_color_flags = 0;
  a.audio_mode = 3;
  p->SetAudioLight(a);
  EXPECT_TRUE(p->control<QAbstractButton>(n::kAudioBackgroundCheck)->isChecked());
  EXPECT_EQ(p->control<QLineEdit>(n::kAudioBlueEdit)->text(), QStringLiteral("30"));
  EXPECT_FALSE(p->control<QAbstractButton>(n::kAudioSevenColourCheck)->isChecked());
  EXPECT_FALSE(p->control(n::kAudioColourLayout)->isEnabled());
  EXPECT_FALSE(p->control(n::kAudioPaletteLayout)->isEnabled());
  EXPECT_EQ(p->GetAudioLight(false), a);
  EXPECT_TRUE(harness_.unhandled.empty());
  EXPECT_EQ(harness_.handled, 0);
}

TEST_F(LightPanelTest, ASkinWithoutMusicControlsRaisesTheTwoErrors) {
  CLightControlUI* p = harness_.add(nullptr, QStringLiteral("LightControlBasic.ui"));
  try {
    p->SetAudioLight(AudioLightInfo{});
    ADD_FAILURE() << "no error";
  } catch (const LightControlError& e) {
    EXPECT_STREQ(e.what(), " SetAudioLightInfo control is NULL");
  }
  try {
    p->GetAudioLight(true);
    ADD_FAILURE() << "no error";
  } catch (const LightControlError& e) {
    EXPECT_STREQ(e.what(), "GetAudioLightInfo control is NULL");
  }
  // The other getters answer for what is missing.
  EXPECT_EQ(p->GetSubMode(), -1);
  EXPECT_EQ(p->GetCustomMode(), -1);
  EXPECT_EQ(p->GetSelectedMode(), -1);  // the list is still empty
}

TEST_F(LightPanelTest, APanelWhoseSkinIsMissingAnswersForNothing) {
  CLightControlUI* p = new CLightControlUI(&harness_);
  p->setProperty("skinfile", QStringLiteral("NoSuchLightSkin.ui"));
  EXPECT_FALSE(p->ensure_built());
  EXPECT_EQ(p->GetSelectedMode(), -1);
  EXPECT_EQ(p->GetSpeed(), 0);
  EXPECT_EQ(p->GetRedText(), QString());
  EXPECT_EQ(p->GetPaletteColour(), 0xFF000000u);
  EXPECT_EQ(p->GetPresetColour(0), 0u);
  p->ShowLight(0x01020304u, 0);  // nothing to show it on; nothing breaks
  EXPECT_THROW(p->SetAudioLight(AudioLightInfo{}), LightControlError);
}

// ---- the editor with a recorded device ----

TEST_F(LightPanelTest, DirectionAndSevenColourCommitTheirBytesAndEndSynchronisation) {
  CLightControlUI* p = keyboard_panel();
  keyboard_.light.select_item = 1;
  keyboard_.set_synchronised(true);
  p->ShowLight(keyboard_.light);
  click(p, n::kDirectionFirst);
  ASSERT_EQ(keyboard_.commits.size(), 1u);
  EXPECT_EQ(keyboard_.light.fx, 1);
  EXPECT_FALSE(keyboard_.synchronised());
  click(p, n::kSevenColourCheck);
  EXPECT_EQ(keyboard_.light.multi_color, 1);
  click(p, n::kSevenColourCheck);
  EXPECT_EQ(keyboard_.light.multi_color, 0);
  click(p, n::kDirectionSecond);
  EXPECT_EQ(keyboard_.light.fx, 0);
  EXPECT_EQ(keyboard_.commits.size(), 4u);
  // The boxes' clicks are not the editor's; their selections all were.
  for (const ui::Notification& u : harness_.unhandled) EXPECT_NE(u.type, QStringLiteral("selectchanged"));
}

TEST_F(LightPanelTest, LeavingAnEditUntouchedKeepsTheSevenColours) {
  CLightControlUI* p = keyboard_panel();
  keyboard_.light.select_item = 1;
  keyboard_.light.multi_color = 1;
  keyboard_.light.red = 40;
  p->ShowLight(keyboard_.light);
  leave(p->control(n::kRedEdit));
  EXPECT_TRUE(keyboard_.commits.empty());
  EXPECT_EQ(p->GetSevenColour(), 1);
  // Typing a new value commits it and ends them.
  auto* edit = p->control<QLineEdit>(n::kRedEdit);
  edit->clear();
  leave(edit);
  ASSERT_EQ(keyboard_.commits.size(), 1u);
  EXPECT_EQ(keyboard_.light.red, 0);
  EXPECT_EQ(edit->text(), QStringLiteral("0"));
  EXPECT_EQ(keyboard_.light.multi_color, 0);
  EXPECT_EQ(p->GetSevenColour(), 0);
}

TEST_F(LightPanelTest, PresetAndPaletteColoursReachTheRecordAndTheControls) {
  CLightControlUI* p = keyboard_panel();
  keyboard_.light.select_item = 6;
  keyboard_.light.multi_color = 1;
  p->ShowLight(keyboard_.light);
  click(p, "color_option_4");
  EXPECT_EQ(colour_of(keyboard_.light), (Rgb{0, 255, 255}));
  EXPECT_EQ(keyboard_.light.multi_color, 0);
  EXPECT_EQ(p->GetGreenText(), QStringLiteral("255"));
  EXPECT_EQ(p->GetPaletteColour(), 0xFF00FFFFu);
  EXPECT_EQ(p->GetSwatchColour(), 0xFF00FFFFu);

  auto* palette = p->control<CColorPaletteUI>(n::kPalette);
  ASSERT_NE(palette, nullptr);
  const QPoint at(5, palette->height() / 2);
  const QColor expected = palette->colour_at(at);
  ASSERT_TRUE(expected.isValid());
  QTest::mouseClick(palette, Qt::LeftButton, {}, at);
  EXPECT_EQ(colour_of(keyboard_.light), (Rgb{uint8_t(expected.red()), uint8_t(expected.green()), uint8_t(expected.blue())}));
  EXPECT_EQ(p->GetRedText(), QString::number(expected.red()));
  EXPECT_EQ(keyboard_.commits.size(), 2u);
}

TEST_F(LightPanelTest, CustomKeysArePaintedOnlyInTheCustomModeOfAKeyboard) {
  CLightControlUI* p = keyboard_panel();
  harness_.selected_keys = {3, 4};
  keyboard_.light.select_item = 6;
  p->ShowLight(keyboard_.light);
  p->ApplyLayout(20);  // the buttons are in sight, the keyboard runs another mode
  click(p, n::kPaintLit);
  EXPECT_TRUE(keyboard_.paints.empty());
  keyboard_.light.select_item = 20;
  p->ShowLight(keyboard_.light);
  click(p, n::kPaintLit);
  click(p, n::kPaintOff);
  ASSERT_EQ(keyboard_.paints.size(), 2u);
  EXPECT_EQ(keyboard_.paints[0], (std::pair<std::vector<int>, bool>{{3, 4}, true}));
  EXPECT_FALSE(keyboard_.paints[1].second);
  harness_.selected_keys.clear();
  click(p, n::kPaintLit);
  EXPECT_EQ(keyboard_.paints.size(), 2u);  // nothing selected, nothing painted
  EXPECT_TRUE(keyboard_.commits.empty());
}

TEST_F(LightPanelTest, GroupAndSubModeCommitTheKeyboardsBytes) {
  CLightControlUI* p = keyboard_panel();
  keyboard_.light.select_item = 20;
  p->ShowLight(keyboard_.light);
  p->control<QComboBox>(n::kCustomCombo)->setCurrentIndex(2);
  EXPECT_EQ(keyboard_.light.custom_group, 2);
  p->control<QComboBox>(n::kSubModeCombo)->setCurrentIndex(3);
  EXPECT_EQ(keyboard_.light.zzcc_led_mode, 3);
  EXPECT_EQ(keyboard_.commits.size(), 2u);
}

TEST_F(LightPanelTest, MusicNotificationsGiveTheKeyboardItsRecord) {
  CLightControlUI* p = keyboard_panel();
  keyboard_.light.select_item = 21;
  p->ShowLight(keyboard_.light);
  p->SetAudioLight(AudioLightInfo{0, 1, 2, 3, 4, 5, 6, 1, kShowBackground});
  // Showing the foreground switches the colours shown, the record keeps both.
  click(p, n::kAudioForegroundCheck);
  ASSERT_EQ(keyboard_.audio_commits.size(), 1u);
  EXPECT_EQ(keyboard_.audio.color_type_flags, kShowForeground);
  EXPECT_EQ(p->control<QLineEdit>(n::kAudioRedEdit)->text(), QStringLiteral("4"));
  EXPECT_EQ(keyboard_.audio.bk_red, 1);
  // A foreground preset ends the seven colours.
  click(p, "audiocolor_option_5");
  EXPECT_EQ((Rgb{keyboard_.audio.fg_red, keyboard_.audio.fg_green, keyboard_.audio.fg_blue}), (Rgb{0, 0, 255}));
  EXPECT_EQ(keyboard_.audio.seven_color_flags, 0);
  EXPECT_FALSE(p->control<QAbstractButton>(n::kAudioSevenColourCheck)->isChecked());
  // A typed value is clamped; the background is untouched.
  auto* green = p->control<QLineEdit>(n::kAudioGreenEdit);
  green->setText(QStringLiteral("999"));
  leave(green);
  EXPECT_EQ(green->text(), QStringLiteral("255"));
  EXPECT_EQ(keyboard_.audio.fg_green, 255);
  EXPECT_EQ(keyboard_.audio.bk_green, 2);
  // The music style takes the swatch colour as the shown one.
  p->control<QComboBox>(n::kAudioModeCombo)->setCurrentIndex(4);
  EXPECT_EQ(keyboard_.audio.audio_mode, 4);
  EXPECT_EQ((Rgb{keyboard_.audio.fg_red, keyboard_.audio.fg_green, keyboard_.audio.fg_blue}), (Rgb{0, 255, 255}));
  EXPECT_EQ(keyboard_.audio_commits.size(), 4u);
  EXPECT_TRUE(keyboard_.commits.empty());  // the lighting record is not the music record
}

TEST_F(LightPanelTest, DevicesWithoutMusicIgnoreTheMusicControls) {
  FakeTarget mouse(devices::kKindMouse);
  CLightControlUI* p = harness_.add(&mouse);  // a full skin on a mouse
  p->control<QComboBox>(n::kAudioModeCombo)->setCurrentIndex(2);
  click(p, "audiocolor_option_1");
  EXPECT_TRUE(mouse.audio_commits.empty());
  p->control<QComboBox>(n::kCustomCombo)->setCurrentIndex(1);
  EXPECT_TRUE(mouse.commits.empty());  // keyboards only
}

TEST_F(LightPanelTest, SameModeCopyGoesToConnectedDevicesKeyboardsFirst) {
  FakeTarget headset(devices::kKindHeadset), mouse(devices::kKindMouse), pad(devices::kKindMousePad, false);
  CLightControlUI* hs_panel = harness_.add(&headset, QStringLiteral("LightControlBasic.ui"));
  CLightControlUI* ms_panel = harness_.add(&mouse, QStringLiteral("LightControlBasic.ui"));
  harness_.add(&pad, QStringLiteral("LightControlBasic.ui"));
  CLightControlUI* kb_panel = keyboard_panel();
  EXPECT_TRUE(LightEditor::UpdateSameModeAvailability(harness_.bindings));

  mouse.light = {3, 4, 2, 1, 0, 9, 8, 7};  // static
  ms_panel->ShowLight(mouse.light);
  ASSERT_FALSE(ms_panel->control(n::kSameMode)->isHidden());
  click(ms_panel, n::kSameMode);
  ASSERT_EQ(harness_.shared.size(), 1u);
  EXPECT_EQ(harness_.shared[0].effect, CommonEffect::Static);
  EXPECT_EQ(harness_.marked_when_shared[0], 3);  // keyboard, mouse, headset
  EXPECT_EQ(keyboard_.light.select_item, 6);
  EXPECT_EQ(keyboard_.light.light, 4);
  EXPECT_EQ(headset.light.select_item, 3);
  EXPECT_EQ(colour_of(headset.light), (Rgb{9, 8, 7}));
  EXPECT_TRUE(pad.commits.empty());  // not connected
  EXPECT_LT(keyboard_.committed_at, mouse.committed_at);
  EXPECT_LT(mouse.committed_at, headset.committed_at);
  EXPECT_TRUE(keyboard_.synchronised());
  EXPECT_TRUE(mouse.synchronised());
  EXPECT_EQ(kb_panel->GetSelectedMode(), 6);
  EXPECT_EQ(hs_panel->GetRedText(), QStringLiteral("9"));
  // A mode that is no common effect copies nothing.
  mouse.light.select_item = 0;
  EXPECT_EQ(LightEditor::SameModeCopy(mouse, harness_.hooks()), 0);
  EXPECT_EQ(harness_.shared.size(), 1u);
}

TEST_F(LightPanelTest, ShowDeviceFollowsTheCatalogueAndTheKeyboardsOwnBytes) {
  CLightControlUI* p = harness_.add(&keyboard_);
  keyboard_.catalogue = {{"light_mode_wave", "light_mode_static"}, {true, false}};
  LightInfo l;
  l.select_item = 1;
  l.zzcc_led_mode = 2;
  l.custom_group = 3;
  LightEditor::ShowDevice(*p, keyboard_, l, AudioLightInfo{2, 0, 0, 0, 0, 0, 0, 0, kShowForeground});
  EXPECT_EQ(p->control<QComboBox>(n::kModeCombo)->count(), 2);
  EXPECT_EQ(p->GetSelectedMode(), 1);
  EXPECT_EQ(p->GetSubMode(), 2);
  EXPECT_EQ(p->GetCustomMode(), 3);
  EXPECT_EQ(p->audio_light().audio_mode, 2);
  EXPECT_TRUE(keyboard_.commits.empty());
  EXPECT_TRUE(harness_.unhandled.empty());
}

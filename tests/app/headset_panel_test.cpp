// The headset's sound, voice-changer and surround pages in the whole program, on the emulated
// headset and its emulated audio chip: what the user sets reaches the chip's properties and the
// profile, a refused write puts the control back, and settings the card cannot reach are shown
// unusable with the reason.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QStackedWidget>
#include <QLineEdit>
#include <QSlider>

#include "app/pages/device_page_widget.h"
#include "app/window/headset_panels.h"
#include "devices/audio/emulated_audio_chip.h"
#include "devices/audio/eq_presets.h"
#include "devices/audio/property_names.h"
#include "devices/headset/headset_device.h"
#include "editors/headset/headset_control_names.h"
#include "tests/app/app_test_support.h"
#include "tests/support/event_loop.h"
#include "ui/language.h"
#include "ui/notification.h"
#include "ui/notify_wiring.h"

namespace qxr::app {
namespace {

namespace n = editors::headset::names;
using emu::DeviceType;
using qxr::testing::qt::spin;
using qxr::testing::qt::wait_until;
using testing::kHeadsetRow;

class HeadsetPanelTest : public testing::EmulatedWindowTest {
 protected:
  void SetUp() override {
    EmulatedWindowTest::SetUp();
    start({DeviceType::Headset});
    install_headset_editor(*window_);
    ASSERT_TRUE(wait_connected(kHeadsetRow));
    settle();
    page()->show_option_page(5);
  }
  DevicePageWidget* page() { return EmulatedWindowTest::page(kHeadsetRow); }
  devices::CMarluneZO6533Device& headset() { return *static_cast<devices::CMarluneZO6533Device*>(page()->device()); }
  audio::EmulatedAudioChip& chip() { return dynamic_cast<audio::EmulatedAudioChip&>(headset().audio_library()); }
  template <typename T>
  T* control(std::string_view name) {
    return page()->content()->findChild<T*>(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
  }
  template <typename T>
  T* control(std::string_view prefix, int i) {
    return control<T>(std::string(prefix) + std::to_string(i));
  }
  void settle() {
    for (int i = 0; i < 2; ++i) {
      page()->device()->drain();
      spin(20);
    }
  }
  // The user lets go of a slider at value.
  void slide(QSlider* s, int value) {
    s->setValue(value);
    ui::send_notify(s, ui::notify_type::kValueChanged, value);
    settle();
  }
  std::vector<int> chip_bands() {
    std::vector<int> out;
    for (int b = 0; b < audio::EQ_BANDS; ++b) out.push_back(chip().stored(audio::eq_slider_property(b)).value_or(-999));
    return out;
  }
  std::vector<int> shown_bands() {
    std::vector<int> out;
    for (int b = 0; b < audio::EQ_BANDS; ++b) out.push_back(control<QSlider>(n::kBandSlider, b)->value());
    return out;
  }
  static std::vector<int> preset(int p) {
    const auto g = audio::EqPresets(p);
    return std::vector<int>(g->begin(), g->end());
  }
};

TEST_F(HeadsetPanelTest, PresetsAndCustomEqualisersReachTheChipsBands) {
  control<QAbstractButton>(n::kPresetOption, 1)->click();
  settle();
  EXPECT_EQ(chip_bands(), preset(1));
  control<QAbstractButton>(n::kPresetOption, 5)->click();  // flat
  settle();
  EXPECT_EQ(chip_bands(), std::vector<int>(10, 0));
  EXPECT_EQ(chip().stored(std::string(audio::PROP_ENABLE_EQ)), 1);
  EXPECT_FALSE(control<QWidget>(n::kCustomLayout)->isEnabled());

  // A band moved: the custom equaliser, saved under two names with different gains.
  slide(control<QSlider>(n::kBandSlider, 0), 6);
  EXPECT_TRUE(control<QAbstractButton>(n::kPresetOption, 13)->isChecked());
  EXPECT_TRUE(control<QWidget>(n::kCustomLayout)->isEnabled());
  auto* names = control<QComboBox>(n::kCustomNameCombo);
  // A save is done on the headset's thread; the next edit waits for the list to show it.
  control<QLineEdit>(n::kCustomNameEdit)->setText(QStringLiteral("Mine"));
  control<QAbstractButton>(n::kCustomSave)->click();
  ASSERT_TRUE(wait_until([&] { return names->count() == 1 && control<QLineEdit>(n::kCustomNameEdit)->text().isEmpty(); }));
  slide(control<QSlider>(n::kBandSlider, 1), -4);
  control<QLineEdit>(n::kCustomNameEdit)->setText(QStringLiteral("Other"));
  control<QAbstractButton>(n::kCustomSave)->click();
  ASSERT_TRUE(wait_until([&] { return names->count() == 2 && control<QLineEdit>(n::kCustomNameEdit)->text().isEmpty(); }));
  control<QLineEdit>(n::kCustomNameEdit)->setText(QStringLiteral("mine"));  // taken, whatever the case
  control<QAbstractButton>(n::kCustomSave)->click();
  settle();
  ASSERT_TRUE(wait_until([&] { return !prompts_.informed.isEmpty(); }));
  EXPECT_EQ(prompts_.informed, QStringList{QStringLiteral("message_text_5")});
  ASSERT_EQ(names->count(), 2);

  // Deleting the first keeps the second's gains with its name.
  ui::select_item(names, 0, true);
  EXPECT_TRUE(wait_until([&] { return chip_bands()[1] == 0; }));
  control<QAbstractButton>(n::kCustomDelete)->click();
  ASSERT_TRUE(wait_until([&] { return names->count() == 1; }));
  settle();
  EXPECT_EQ(names->itemText(0), QStringLiteral("Other"));
  std::vector<int> other(10, 0);
  other[0] = 6;
  other[1] = -4;
  EXPECT_EQ(chip_bands(), other);
  EXPECT_EQ(shown_bands(), other);
  EXPECT_EQ(headset().audio().custom_names(), std::vector<std::string>{"Other"});
}

TEST_F(HeadsetPanelTest, ARefusedWritePutsTheControlBackToWhatTheChipHolds) {
  auto* mic = control<QAbstractButton>(n::kMicSwitch);
  const bool mic_was = mic->isChecked();
  chip().fail_property(std::string(audio::PROP_MUTE), audio::PROPERTY_WRITE);
  mic->click();
  settle();
  EXPECT_EQ(mic->isChecked(), mic_was);

  auto* volume = control<QSlider>(n::kMicSlider);
  const int level = volume->value();
  chip().fail_property(std::string(audio::PROP_VOLUME_SCALAR), audio::PROPERTY_WRITE);
  slide(volume, level > 50 ? 10 : 90);
  EXPECT_EQ(volume->value(), level);

  page()->show_option_page(6);
  auto* voice = control<QAbstractButton>(n::kVoiceSwitch);
  const bool voice_was = voice->isChecked();
  chip().fail_property(std::string(audio::PROP_ENABLE_MAGICVOICE), audio::PROPERTY_WRITE);
  voice->click();
  settle();
  EXPECT_EQ(voice->isChecked(), voice_was);

  chip().fail_property(audio::eq_slider_property(3), audio::PROPERTY_WRITE);
  page()->show_option_page(5);
  control<QAbstractButton>(n::kPresetOption, 2)->click();
  settle();
  // Nine bands took the preset; the fourth kept its gain, so the preset is not claimed.
  EXPECT_FALSE(control<QAbstractButton>(n::kPresetOption, 2)->isChecked());
  EXPECT_EQ(shown_bands(), chip_bands());

  chip().clear_failures();
  page()->show_option_page(7);
  auto* surround = control<QAbstractButton>(n::kSurroundSwitch);
  surround->click();
  settle();
  EXPECT_TRUE(surround->isChecked());
  EXPECT_EQ(chip().stored(std::string(audio::PROP_SURROUND)), 1);
  EXPECT_EQ(headset().audio().stages().virtual_surround, 1);
}

TEST_F(HeadsetPanelTest, SettingsTheCardCannotReachAreShownUnusableWithTheReason) {
  for (std::string_view property : {audio::PROP_ENABLE_EQ, audio::PROP_ENABLE_MAGICVOICE, audio::PROP_SURROUND}) {
    chip().fail_property(std::string(property), audio::PROPERTY_READ, audio::CONF_ERR_UNSUPPORTED);
    chip().fail_property(std::string(property), audio::PROPERTY_WRITE, audio::CONF_ERR_UNSUPPORTED);
  }
  emu_->unplug(DeviceType::Headset);
  spin(300);
  emu_->plug(DeviceType::Headset);
  ASSERT_TRUE(wait_connected(kHeadsetRow));
  ASSERT_TRUE(wait_until([&] {
    spin(10);
    return !control<QWidget>(n::kPresetsBox)->isEnabled();
  }));
  for (QWidget* w : {control<QWidget>(n::kPresetsBox), control<QWidget>(n::kBandsBox), control<QWidget>(n::kVoiceSwitch),
                     control<QWidget>(n::kSurroundSwitch)}) {
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(w->toolTip().isEmpty()) << w->objectName().toStdString();
  }
  EXPECT_FALSE(control<QWidget>(n::kCustomLayout)->isEnabled());
  EXPECT_TRUE(control<QWidget>(n::kMicSwitch)->isEnabled());  // the microphone still works
  EXPECT_TRUE(control<QWidget>(n::kMicSwitch)->toolTip().isEmpty());
}

TEST_F(HeadsetPanelTest, NoHeadsetPageSaysNotAvailable) {
  auto* pages = page()->content()->findChild<QStackedWidget*>(QStringLiteral("device_option_switch"));
  ASSERT_NE(pages, nullptr);
  const QString pending = ui::Language::instance().text(QStringLiteral("editor_pending_text"));
  for (int i : {5, 6, 7}) {
    for (const QLabel* label : pages->widget(i)->findChildren<QLabel*>()) EXPECT_NE(label->text(), pending) << i;
  }
  EXPECT_NE(pages->widget(5)->findChild<QSlider*>(), nullptr);
}

}  // namespace
}  // namespace qxr::app

#pragma once
// The mouse, mouse pad and headset device objects against their emulated devices, each test in
// a private folder with its own user data root; and pages that remember what the devices
// asked of them.
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "devices/audio/headset_audio_page.h"
#include "devices/mouse/mouse_page.h"
#include "devices/testing/recording_page.h"
#include "emulator/emulator.h"
#include "tests/support/emulator_test.h"

namespace qxr::devices::testing {

class RecordingMousePage : public MousePage {
 public:
  struct DpiView {
    int slider_max = -1, edit_max = -1;
    bool enabled = false;
    bool clickable = true;
    int raw = -1;
    std::string edit_text;
    bool current = false;
  };

  void set_dpi_ranges(int stage, int slider_max, int edit_max) override;
  void show_dpi_stage_enabled(int stage, bool on) override;
  void set_dpi_check_clickable(int stage, bool clickable) override;
  void show_dpi_value(int stage, int raw, const std::string& edit_text, bool current) override;
  void show_windows_settings(const MouseSystemStages& settings) override;
  int settings_tab_count() const override { return tabs_; }
  void select_settings_tab(int page) override;
  void show_logo_lights(std::span<const IndicatorColour> colours) override;
  void show_logo_button(IndicatorColour colour) override;
  void redraw_key_panel() override;
  void show_tip(bool visible) override;

  DpiView dpi(int stage) const;
  MouseSystemStages windows() const;
  int selected_tab() const;
  std::vector<IndicatorColour> logo_lights() const;
  std::optional<IndicatorColour> logo_button() const;
  int redraws() const;
  std::optional<bool> tip() const;
  void set_tab_count(int n) { tabs_ = n; }

 private:
  mutable std::mutex mutex_;
  std::map<int, DpiView> dpi_;
  MouseSystemStages windows_;
  int tab_ = -1;
  int tabs_ = 3;
  std::vector<IndicatorColour> logo_;
  std::optional<IndicatorColour> logo_button_;
  int redraws_ = 0;
  std::optional<bool> tip_;
};

class RecordingAudioPage : public audio::HeadsetAudioPage {
 public:
  void ShowMessage(std::string_view text) override;
  void SetVoiceChangerSwitch(bool on) override;
  void SelectVoiceOption(int voice) override;
  void SelectEqPreset(int preset) override;
  void ShowCustomEq(bool on) override;
  void SetBandValue(int band, int gain) override;
  void SetMicSwitch(bool on) override;
  void SetMonitorSwitch(bool on) override;
  void SetMicSlider(int percent) override;
  void SetMonitorSlider(int percent) override;
  void ShowMicLevel(const std::string& db_text) override;
  void ShowMonitorLevel(const std::string& db_text) override;
  void SetCustomNameText(const std::string& text) override;
  void AddCustomName(const std::string& name) override;
  void SelectCustomName(int index) override;
  void RemoveCustom(int index) override;
  void ClearCustomNames() override;
  void SetSurroundSwitch(bool) override {}
  void SetFeatureState(audio::AudioFeature, audio::FeatureState) override {}

  std::vector<std::string> messages() const;
  int preset() const;
  std::map<int, int> bands() const;
  bool mic_switch() const;
  int mic_slider() const;
  std::vector<std::string> names() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> messages_;
  int preset_ = -1;
  std::map<int, int> bands_;
  bool mic_switch_ = false;
  int mic_slider_ = -1;
  std::vector<std::string> names_;
};

// The emulator serving the kinds a test plugs.
class KindsTest : public qxr::testing::EmulatorTest {
 protected:
  static constexpr int kVendorCollection = 4;
  static constexpr int kConsumerCollection = 3;

  std::string path(emu::DeviceType type, int collection = kVendorCollection) const {
    return emu_->hid_path(type, collection);
  }
  std::vector<uint8_t> memory(emu::DeviceType type, emu::Memory m) const { return emu_->memory(type, m); }
  std::string user_folder(const std::string& model) const;

  RecordingPage page_;
};

// The static mode at full brightness in one colour, the rest of the lighting kept.
inline LightInfo static_colour(LightInfo light, uint8_t red, uint8_t green, uint8_t blue) {
  light.select_item = 3;
  light.light = 4;
  light.red = red, light.green = green, light.blue = blue;
  return light;
}

// The profile id every device of these tests uses.
inline constexpr const char* kTestProfileId = "2024_01_02_03_04_05_006";

}  // namespace qxr::devices::testing

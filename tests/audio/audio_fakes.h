#pragma once
// Test doubles for the headset's audio half: a page that keeps what the panels would show, and
// a profile held in memory that counts its saves.
#include <array>
#include <map>
#include <string>
#include <vector>

#include "devices/audio/headset_audio_page.h"
#include "devices/audio/headset_audio_profile.h"
#include "devices/audio/property_names.h"

namespace qxr::audio::fakes {

class PanelModel : public HeadsetAudioPage {
 public:
  std::vector<std::string> messages;
  bool voice_switch = false;
  int voice_option = -1;
  int preset = -1;
  bool custom_shown = false;
  std::map<int, int> bands;
  bool mic_switch = false;
  bool monitor_switch = false;
  int mic_slider = -1;
  int monitor_slider = -1;
  std::string mic_level;
  std::string monitor_level;
  std::string name_text = "typed";
  std::vector<std::string> names;
  int selected_name = -2;
  std::vector<bool> mic_switch_history;

  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  void SetVoiceChangerSwitch(bool on) override { voice_switch = on; }
  void SelectVoiceOption(int voice) override {
    voice_option = voice >= 1 && voice <= 4 ? voice : 0;
  }
  void SelectEqPreset(int p) override { preset = p >= 1 && p <= 13 ? p : 0; }
  void ShowCustomEq(bool on) override { custom_shown = on; }
  void SetBandValue(int band, int gain) override { bands[band] = gain; }
  void SetMicSwitch(bool on) override {
    mic_switch = on;
    mic_switch_history.push_back(on);
  }
  void SetMonitorSwitch(bool on) override { monitor_switch = on; }
  void SetMicSlider(int v) override { mic_slider = v; }
  void SetMonitorSlider(int v) override { monitor_slider = v; }
  void ShowMicLevel(const std::string& t) override { mic_level = t; }
  void ShowMonitorLevel(const std::string& t) override { monitor_level = t; }
  void SetCustomNameText(const std::string& t) override { name_text = t; }
  void AddCustomName(const std::string& n) override { names.push_back(n); }
  void SelectCustomName(int i) override {
    selected_name = i;
    name_text.clear();
  }
  void RemoveCustom(int i) override {
    if (i >= 0 && static_cast<size_t>(i) < names.size()) names.erase(names.begin() + i);
  }
  void ClearCustomNames() override { names.clear(); }
  void SetSurroundSwitch(bool on) override { surround = on; }
  void SetFeatureState(AudioFeature feature, FeatureState state) override {
    features[static_cast<size_t>(feature)] = state;
  }
  bool surround = false;
  std::array<FeatureState, kAudioFeatureCount> features{};

  std::vector<int> band_values() const {
    std::vector<int> out;
    for (int b = 0; b < EQ_BANDS; ++b) {
      auto it = bands.find(b);
      out.push_back(it == bands.end() ? -999 : it->second);
    }
    return out;
  }
};

class MemoryProfile : public HeadsetAudioProfile {
 public:
  SystemSetStages stages;
  std::map<int, std::vector<int>> presets;  // "EQHzValueInfo" by stored index
  std::map<int, std::vector<int>> customs;  // "CustomEQHzValueInfo"
  std::vector<std::string> names;
  int saves = 0;
  // What the file held at the last Save.
  SystemSetStages saved_stages;
  std::vector<std::string> saved_names;

  SystemSetStages GetSystemSetStages() override { return stages; }
  void SetSystemSetStages(const SystemSetStages& s) override { stages = s; }
  std::vector<int> GetEqValues(int type) override {
    if (type == 13) return {};
    const int index = type >= 1 && type <= 12 ? type : 1;
    auto it = presets.find(index);
    return it == presets.end() ? std::vector<int>(EQ_BANDS, 0) : it->second;
  }
  std::vector<int> GetCustomEqValues(int index) override {
    auto it = customs.find(index);
    return it == customs.end() ? std::vector<int>(EQ_BANDS, 0) : it->second;
  }
  void SetCustomEqValues(const std::vector<int>& gains, int index) override {
    customs[index] = gains;
  }
  std::vector<std::string> GetCustomEqNames() override { return names; }
  void SetCustomEqNames(const std::vector<std::string>& n) override { names = n; }
  void Save() override {
    ++saves;
    saved_stages = stages;
    saved_names = names;
  }
};

}  // namespace qxr::audio::fakes

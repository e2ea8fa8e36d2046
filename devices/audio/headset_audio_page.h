#pragma once
// How the headset's audio half shows things on its page: the audio panel, the voice-changer
// panel and user messages. The GUI binds it to its panels; the operations carry the user's
// input as arguments, so nothing here is read back.
#include <string>
#include <string_view>

namespace qxr::audio {

// The settings a headset's sound card may or may not offer.
enum class AudioFeature { Microphone, Monitor, Equaliser, VoiceChanger, Surround };
inline constexpr int kAudioFeatureCount = 5;
// Why a setting is not offered: no such endpoint, or the backend cannot reach the chip's
// processing (the ALSA card answers "unsupported").
enum class FeatureState { Available, NoDevice, Unsupported };

class HeadsetAudioPage {
 public:
  virtual ~HeadsetAudioPage() = default;

  // A message for the user ("ConfLibInit called failed!", "UpdateAPOAvailable failed!").
  virtual void ShowMessage(std::string_view text) = 0;

  // Voice-changer panel.
  virtual void SetVoiceChangerSwitch(bool on) = 0;
  virtual void SelectVoiceOption(int voice) = 0;  // 1-4, anything else clears

  // Audio panel.
  virtual void SelectEqPreset(int preset) = 0;  // 1-13, anything else clears
  virtual void ShowCustomEq(bool on) = 0;
  virtual void SetBandValue(int band, int gain) = 0;
  virtual void SetMicSwitch(bool on) = 0;
  virtual void SetMonitorSwitch(bool on) = 0;
  virtual void SetMicSlider(int percent) = 0;
  virtual void SetMonitorSlider(int percent) = 0;
  // A level read back from the chip, as text with two decimals.
  virtual void ShowMicLevel(const std::string& db_text) = 0;
  virtual void ShowMonitorLevel(const std::string& db_text) = 0;
  virtual void SetCustomNameText(const std::string& text) = 0;
  virtual void AddCustomName(const std::string& name) = 0;
  virtual void SelectCustomName(int index) = 0;  // -1 = none; also empties the name edit
  virtual void RemoveCustom(int index) = 0;
  virtual void ClearCustomNames() = 0;

  // Virtual surround page.
  virtual void SetSurroundSwitch(bool on) = 0;
  // Whether the controls of a setting can be used.
  virtual void SetFeatureState(AudioFeature feature, FeatureState state) = 0;
};

}  // namespace qxr::audio

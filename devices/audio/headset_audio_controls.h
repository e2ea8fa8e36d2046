#pragma once
// What the headset's sound and voice panels ask of the headset. Each call runs on the headset's
// thread and leaves the profile's audio settings saved; the panels learn the outcome through
// HeadsetAudioPage.
#include <functional>
#include <string>

namespace qxr::audio {

class HeadsetAudioControls {
 public:
  virtual ~HeadsetAudioControls() = default;
  virtual void ToggleVoiceChanger(bool on) = 0;
  virtual void SelectVoice(int voice) = 0;
  virtual void ToggleMicMute() = 0;
  virtual void SetMicVolume(int percent) = 0;
  virtual void ToggleMonitorMute() = 0;
  virtual void SetMonitorVolume(int percent) = 0;
  virtual void SetEqBand(int band, int gain) = 0;
  virtual void ApplyEqPreset(int preset) = 0;
  virtual void ApplyCustomEq(int index) = 0;
  // name empty: the selected custom equaliser takes the current gains. done (optional) gets the
  // result (1 saved, 0 duplicate name, -1 refused) on the headset's thread.
  virtual void SaveCustomEq(std::string name, std::function<void(int)> done = {}) = 0;
  virtual void DeleteCustomEq() = 0;
  virtual void SetVirtualSurround(bool on) = 0;
};

}  // namespace qxr::audio

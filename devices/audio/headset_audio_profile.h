#pragma once
// What the headset's audio half needs from the headset profile. The profile object implements
// it (or an adapter over it does); tests use an in-memory one.
#include <cstdint>
#include <string>
#include <vector>

namespace qxr::audio {

// The profile's "SystemSetStages", in its stored order.
struct SystemSetStages {
  int32_t magic_enable = 0;             // "MagicEnable": voice changer on
  int32_t magic_type = 0;               // "MagicType": voice, 1-based
  int32_t eq_type = 0;                  // "EqType": preset 1-12, or EQ_TYPE_CUSTOM
  int32_t custom_eq_select_index = 0;   // "CustomEqSeletIndex"
  int32_t mic_in_select = 0;            // "MicInSelect": 1 = microphone on (not muted)
  int32_t mic_in_value = 0;             // "MicInValue": percent
  int32_t mic_monitor_select = 0;       // "MicMoniterSelect": 1 = monitoring on
  int32_t mic_monitor_value = 0;        // "MicMoniterValue": percent

  friend bool operator==(const SystemSetStages&, const SystemSetStages&) = default;
};

class HeadsetAudioProfile {
 public:
  virtual ~HeadsetAudioProfile() = default;

  virtual SystemSetStages GetSystemSetStages() = 0;
  virtual void SetSystemSetStages(const SystemSetStages& stages) = 0;
  // Gains of a stored preset ("EQHzValueInfo"); the custom type gives an empty list.
  virtual std::vector<int> GetEqValues(int type) = 0;
  // Gains of a custom equaliser ("CustomEQHzValueInfo"[index]).
  virtual std::vector<int> GetCustomEqValues(int index) = 0;
  virtual void SetCustomEqValues(const std::vector<int>& gains, int index) = 0;
  // Display names of the custom equalisers (UTF-8), in stored order.
  virtual std::vector<std::string> GetCustomEqNames() = 0;
  virtual void SetCustomEqNames(const std::vector<std::string>& names) = 0;
  // Writes the profile file.
  virtual void Save() = 0;
};

}  // namespace qxr::audio

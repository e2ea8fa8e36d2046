#pragma once
// What the headset's audio half needs from the headset profile. Zo6533AudioProfile adapts the
// headset's profile object to it; tests use an in-memory one.
#include <string>
#include <vector>

#include "profile/records.h"

namespace qxr::audio {

// The profile's "SystemSetStages", in its stored order.
using SystemSetStages = qxr::HeadsetSystemSetStages;

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

#pragma once
// The headset's profile object seen through HeadsetAudioProfile.
#include "devices/audio/headset_audio_profile.h"
#include "profile/headset_profile_data.h"

namespace qxr::audio {

class Zo6533AudioProfile : public HeadsetAudioProfile {
 public:
  explicit Zo6533AudioProfile(qxr::CZo6533Profiledata& data) : data_(data) {}

  SystemSetStages GetSystemSetStages() override { return data_.GetSystemSetStages(); }
  void SetSystemSetStages(const SystemSetStages& stages) override {
    data_.SetSystemSetStages(stages);
  }
  std::vector<int> GetEqValues(int type) override { return data_.GetEqValues(type); }
  std::vector<int> GetCustomEqValues(int index) override {
    return data_.GetCustomEqValues(index);
  }
  void SetCustomEqValues(const std::vector<int>& gains, int index) override {
    data_.SetCustomEqValues(gains, index);
  }
  std::vector<std::string> GetCustomEqNames() override { return data_.GetCustomEqNames(); }
  void SetCustomEqNames(const std::vector<std::string>& names) override {
    data_.SetCustomEqNames(names);
  }
  void Save() override { data_.Save(); }

 private:
  qxr::CZo6533Profiledata& data_;
};

}  // namespace qxr::audio

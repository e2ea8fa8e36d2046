#pragma once
// Headset part of a profile: audio settings, equaliser presets and the user's custom
// equalisers.
#include <string>
#include <vector>

#include "profile/profile_data.h"

namespace qxr {

class CZo6533Profiledata : public CBasicProfiledata {
 public:
  HeadsetSystemSetStages GetSystemSetStages() const;
  void SetSystemSetStages(const HeadsetSystemSetStages& stages);

  // Gains of the preset for an equaliser type: 0 and anything above the custom type
  // read preset 1, types 1-12 their own preset; the custom type gives an empty list.
  // Missing presets are filled with zeros in memory.
  std::vector<int> GetEqValues(int type);
  // Writes up to 10 gains; the custom type writes nothing.
  void SetEqValues(const std::vector<int>& list, int type);
  // The same on the user's custom equalisers; an index out of range gives zeros.
  std::vector<int> GetCustomEqValues(int index);
  void SetCustomEqValues(const std::vector<int>& list, int index);

  std::vector<std::string> GetCustomEqNames() const;
  void SetCustomEqNames(const std::vector<std::string>& list);

 private:
  std::vector<int> eq_cache_;
};

}  // namespace qxr

#pragma once
// Keyboard part of a profile: system stages and the custom-lighting colour groups.
#include <vector>

#include "profile/profile_data.h"

namespace qxr {

class CKeyboardProfiledata : public CBasicProfiledata {
 public:
  KeyboardSystemStages GetSystemStages() const;
  void SetSystemStages(const KeyboardSystemStages& stages);

  // count colours of the group; missing cells are filled with zero colours in memory
  // (they reach the file with the next save).
  std::vector<CustomColour> GetCustomColours(int group, int count);
  void SetCustomColours(const std::vector<CustomColour>& list, int group);
  int GetCustomGroupIndex() const;
  void SetCustomGroupIndex(int index);

 private:
  std::vector<CustomColour> colour_cache_;
};

}  // namespace qxr

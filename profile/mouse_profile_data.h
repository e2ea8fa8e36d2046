#pragma once
// Mouse part of a profile: DPI stages, Windows-style settings, report rate and the
// sensor corrections.
#include <vector>

#include "profile/profile_data.h"

namespace qxr {

class CMouseProfiledata : public CBasicProfiledata {
 public:
  // The stages read are merged into the cache (position k takes element k; cache
  // entries past the stages read remain); returns the merged cache.
  std::vector<DpiStage> GetDpiStages();
  void SetDpiStages(const std::vector<DpiStage>& list);
  // The cached current stage (as last read by GetDpiStages or set).
  int GetActiveDpiStage() const { return active_stage_; }
  void SetActiveDpiStage(int index);

  MouseSystemStages GetMouseSystemStages();
  void SetMouseSystemStages(const MouseSystemStages& stages);

  std::vector<CorrectEntry> GetCorrectInfo();

 private:
  std::vector<DpiStage> dpi_cache_;
  int active_stage_ = 0;
  MouseSystemStages system_cache_;
  std::vector<CorrectEntry> correct_cache_;
};

}  // namespace qxr

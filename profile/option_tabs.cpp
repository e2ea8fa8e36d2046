#include "profile/option_tabs.h"

namespace qxr {

std::array<TabVisibility, kOptionTabCount> OptionTabVisibility(const OptionTabRule& rule) {
  std::array<TabVisibility, kOptionTabCount> result{};
  result.fill(TabVisibility::kAsPageDefines);
  for (int t = 0; t < kOptionTabCount; ++t) {
    if (rule.hidden & (1 << t)) result[static_cast<std::size_t>(t)] = TabVisibility::kHidden;
    if (rule.shown & (1 << t)) result[static_cast<std::size_t>(t)] = TabVisibility::kShown;
  }
  return result;
}

}  // namespace qxr

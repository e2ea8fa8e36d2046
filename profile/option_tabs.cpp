#include "profile/option_tabs.h"

#include <cstdint>

namespace qxr {

namespace {
// Bit i stands for tab i of kOptionTabNames.
enum TabBit : uint8_t {
  kKey = 1 << 1,
  kMacro = 1 << 2,
  kSystem = 1 << 3,
  kCursor = 1 << 4,
  kVoice = 1 << 5,
  kMagic = 1 << 6,
  kVirtual71 = 1 << 7,
};

struct KindRule {
  int kind;
  uint8_t hidden;
  uint8_t shown;
};

// Device kinds: 1 keyboard, 2 mouse, 3 mouse pad, 4 and 5 kinds without a model yet,
// 6 mouse through a receiver, 7 headset. A kind without a row leaves every tab alone.
constexpr KindRule kRules[] = {
    {1, kCursor, 0},
    {2, 0, 0},
    {3, kCursor | kMacro | kSystem | kKey, 0},
    {4, kCursor | kMacro | kKey, 0},
    {5, kCursor | kMacro | kSystem | kKey, 0},
    {6, 0, 0},
    {7, kCursor | kMacro | kSystem | kKey, kVoice | kMagic | kVirtual71},
};
}  // namespace

std::array<TabVisibility, kOptionTabCount> OptionTabVisibility(int device_kind) {
  std::array<TabVisibility, kOptionTabCount> result{};
  result.fill(TabVisibility::kAsPageDefines);
  for (const KindRule& rule : kRules) {
    if (rule.kind != device_kind) continue;
    for (int t = 0; t < kOptionTabCount; ++t) {
      if (rule.hidden & (1 << t)) result[static_cast<std::size_t>(t)] = TabVisibility::kHidden;
      if (rule.shown & (1 << t)) result[static_cast<std::size_t>(t)] = TabVisibility::kShown;
    }
  }
  return result;
}

}  // namespace qxr

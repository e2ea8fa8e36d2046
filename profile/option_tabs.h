#pragma once
// Which option tabs of a device page the profile panel hides or shows; each device kind has its
// rule.
#include <array>
#include <cstdint>
#include <string_view>

namespace qxr {

inline constexpr int kOptionTabCount = 9;
// Tab names in index order (the panel's SelectOptionTab index). The recoil tab comes last: the
// pages know their editors by these indices.
inline constexpr std::array<std::string_view, kOptionTabCount> kOptionTabNames = {
    "deng_Op_tab",   "key_Op_tab",        "macro_Op_tab", "system_Op_tab",    "cursor_Op_tab",
    "6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab", "shoot_Op_tab"};

enum class TabVisibility {
  kAsPageDefines,  // left alone
  kHidden,
  kShown,
};

// Tab bits of a rule, in kOptionTabNames order.
enum OptionTab : uint16_t {
  kTabLighting = 1 << 0,
  kTabKeys = 1 << 1,
  kTabMacros = 1 << 2,
  kTabSystem = 1 << 3,
  kTabCursor = 1 << 4,
  kTabVoice = 1 << 5,
  kTabMagic = 1 << 6,
  kTabVirtual71 = 1 << 7,
  kTabRecoil = 1 << 8,
};

struct OptionTabRule {
  uint16_t hidden = 0;
  uint16_t shown = 0;
};

// The visibility of each tab (in kOptionTabNames order) under rule.
std::array<TabVisibility, kOptionTabCount> OptionTabVisibility(const OptionTabRule& rule);

}  // namespace qxr

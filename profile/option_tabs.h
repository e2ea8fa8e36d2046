#pragma once
// Which option tabs of a device page the profile panel hides or shows, by device kind.
#include <array>
#include <string_view>

namespace qxr {

inline constexpr int kOptionTabCount = 8;
// Tab names in index order (the panel's SelectOptionTab index).
inline constexpr std::array<std::string_view, kOptionTabCount> kOptionTabNames = {
    "deng_Op_tab",   "key_Op_tab",        "macro_Op_tab", "system_Op_tab",
    "cursor_Op_tab", "6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab"};

enum class TabVisibility {
  kAsPageDefines,  // left alone
  kHidden,
  kShown,
};

// The visibility of each tab (in kOptionTabNames order) for a device kind.
std::array<TabVisibility, kOptionTabCount> OptionTabVisibility(int device_kind);

}  // namespace qxr

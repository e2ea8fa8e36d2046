#pragma once
// The main window's own messages, as queued calls (CMainWnd::post_message).
#include <cstdint>

namespace qxr::app {

inline constexpr uint32_t kMsgLanguageChanged = 0x0C11;  // first parameter: the language index
inline constexpr uint32_t kMsgOpenUpdatePage = 0x0C15;   // the settings window on its update page

// What another program's "main-action" message asks for (its first parameter).
inline constexpr long long kMainActionShow = 0;
inline constexpr long long kMainActionHide = 1;
inline constexpr long long kMainActionUpdatePage = 2;

}  // namespace qxr::app

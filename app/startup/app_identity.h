#pragma once
// The program's identity and the names of its main window.
#include "ipc/identity.h"

namespace qxr::app {

using ipc::kAppIdentity;
inline constexpr char kMainWindowClass[] = "MainWnd";
inline constexpr char kMainSkin[] = "MainWnd.ui";
inline constexpr char kProgramName[] = "qxr470";
// The desktop entry's id (reverse DNS); Wayland takes it as the window's application id.
inline constexpr char kDesktopId[] = "org.qxr470.qxr470";

}  // namespace qxr::app

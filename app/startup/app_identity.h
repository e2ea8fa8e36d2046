#pragma once
// The program's identity and the names of the messages other programs exchange with it.
namespace qxr::app {

// Names the single-instance lock, the local socket, the main window's title and the user's
// data folder.
inline constexpr char kAppIdentity[] = "QXR470 GAMING KEYBOARD";
inline constexpr char kMainWindowClass[] = "MainWnd";
inline constexpr char kMainSkin[] = "MainWnd.ui";
inline constexpr char kProgramName[] = "qxr470";

// The identities of the messages between programs; the local socket accepts them as aliases
// of the short names (docs/local-socket.md).
inline constexpr char kForwardMsgId[] = "{4695579F-999A-41d4-9FAF-EFFCE93EBF15}";
inline constexpr char kLightAnnounceMsgId[] = "{4695579F-999A-41d4-9FAF-EFFCE93EBF16}";
inline constexpr char kLightControlMsgId[] = "{4695579F-999A-41d4-9FAF-EFFCE93EBF17}";
inline constexpr char kMainActionMsgId[] = "{4695579F-999A-41d4-9FAF-EFFCE93EBF18}";
inline constexpr char kRecorderCmdMsgId[] = "{4695579F-999A-41d4-9FAF-EFFCE93EBE19}";

}  // namespace qxr::app

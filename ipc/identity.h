#pragma once
// The program's identity and the identities of the messages between programs; the local socket
// accepts the latter as aliases of its short names (docs/local-socket.md).
namespace qxr::ipc {

// Names the single-instance lock and the local socket (and, above this layer, the main
// window's title and the user's data folder).
inline constexpr char kAppIdentity[] = "QXR470 GAMING KEYBOARD";

inline constexpr char kForwardMsgId[] = "{4695579F-999A-41d4-9FAF-EFFCE93EBF15}";
inline constexpr char kLightAnnounceMsgId[] = "{4695579F-999A-41d4-9FAF-EFFCE93EBF16}";
inline constexpr char kLightControlMsgId[] = "{4695579F-999A-41d4-9FAF-EFFCE93EBF17}";
inline constexpr char kMainActionMsgId[] = "{4695579F-999A-41d4-9FAF-EFFCE93EBF18}";
inline constexpr char kRecorderCmdMsgId[] = "{4695579F-999A-41d4-9FAF-EFFCE93EBE19}";

}  // namespace qxr::ipc

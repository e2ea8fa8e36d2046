#pragma once
// Which keyboard-table entry a key pressed in the window is. The window system reports the
// key's native scan code, the Linux input code plus 8 on X11 and on Wayland alike; the input
// code gives the key's set-1 scan code and extended flag, and the first scan-table entry with
// both is the key. The ISO key beside Enter (K42) reports the same code as backslash, so it is
// captured as backslash; K42 is still there to pick by name.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace qxr::editors::keys {

inline constexpr uint32_t kNativeScanCodeOffset = 8;

// The keyboard-table entry (0-112) of the key; nothing for keys this table does not have.
std::optional<size_t> captured_entry(uint32_t native_scan_code);

}  // namespace qxr::editors::keys

#pragma once
// Opening the file descriptor behind a path: a hidraw node (attributes and report descriptor by
// ioctl) or an emulated interface (a connection to its socket, described by its JSON).
#include <string>

#include "hid/interface_info.h"

namespace qxr::hid {

enum class NodeKind { Hidraw, EmulatedSocket };

struct OpenedNode {
  int fd = -1;  // non-blocking, close-on-exec
  NodeKind kind = NodeKind::Hidraw;
  InterfaceInfo info;
};

// False with errno-style failure when the node cannot be opened or described.
bool open_node(const std::string& node, bool read, bool write, OpenedNode* out);

// Whether the interface is still plugged: the hidraw node exists, or the emulated interface's
// JSON does.
bool node_present(const std::string& node);

// Bounds the connect to an emulated interface whose server is stuck.
inline constexpr int kConnectTimeoutMs = 1000;

}  // namespace qxr::hid

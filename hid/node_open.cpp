#include "hid/node_open.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "core/debug_line.h"

namespace qxr::hid {
namespace {

bool open_hidraw(const std::string& node, bool read, bool write, OpenedNode* out) {
  int mode = (read && write) ? O_RDWR : write ? O_WRONLY : O_RDONLY;
  int fd = ::open(node.c_str(), mode | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  hidraw_devinfo info{};
  int desc_size = 0;
  hidraw_report_descriptor desc{};
  if (ioctl(fd, HIDIOCGRAWINFO, &info) < 0 || ioctl(fd, HIDIOCGRDESCSIZE, &desc_size) < 0 ||
      desc_size <= 0 || desc_size > HID_MAX_DESCRIPTOR_SIZE) {
    debug_fmt("hidraw {}: ioctl failed: {}", node, std::strerror(errno));
    ::close(fd);
    return false;
  }
  desc.size = static_cast<uint32_t>(desc_size);
  if (ioctl(fd, HIDIOCGRDESC, &desc) < 0) {
    debug_fmt("hidraw {}: ioctl (GRDESC) failed: {}", node, std::strerror(errno));
    ::close(fd);
    return false;
  }
  out->fd = fd;
  out->kind = NodeKind::Hidraw;
  out->info.node = node;
  out->info.vendor_id = static_cast<uint16_t>(info.vendor);
  out->info.product_id = static_cast<uint16_t>(info.product);
  out->info.report_descriptor.assign(desc.value, desc.value + desc.size);
  return true;
}

bool open_socket(const std::string& node, OpenedNode* out) {
  InterfaceInfo info;
  if (!read_emulator_json(emulator_json_for_socket(node), &info)) return false;
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (node.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, node.c_str(), node.size() + 1);
  int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  // A blocking connect bounded by the send timeout, then non-blocking for the transfers: a
  // non-blocking connect to a busy listener fails instead of waiting its turn.
  timeval tv{kConnectTimeoutMs / 1000, (kConnectTimeoutMs % 1000) * 1000};
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) < 0 ||
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK) < 0) {
    ::close(fd);
    return false;
  }
  out->fd = fd;
  out->kind = NodeKind::EmulatedSocket;
  out->info = std::move(info);
  return true;
}

}  // namespace

bool open_node(const std::string& node, bool read, bool write, OpenedNode* out) {
  *out = OpenedNode{};
  struct stat st {};
  if (::stat(node.c_str(), &st) < 0) return false;
  if (S_ISSOCK(st.st_mode)) return open_socket(node, out);
  if (S_ISCHR(st.st_mode)) return open_hidraw(node, read, write, out);
  return false;
}

bool node_present(const std::string& node) {
  struct stat st {};
  if (::stat(node.c_str(), &st) < 0) return false;
  if (S_ISSOCK(st.st_mode)) return ::access(emulator_json_for_socket(node).c_str(), F_OK) == 0;
  return S_ISCHR(st.st_mode);
}

}  // namespace qxr::hid

#include "hid/hotplug_monitor.h"

#include <libudev.h>
#include <sys/epoll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>

#include "core/debug_line.h"
#include "hid/enumeration.h"
#include "hid/interface_info.h"

namespace qxr::hid {
namespace {

constexpr uint32_t kFolderEvents = IN_CREATE | IN_CLOSE_WRITE | IN_DELETE | IN_MOVED_TO |
                                   IN_MOVED_FROM | IN_DELETE_SELF | IN_MOVE_SELF;

bool ends_with(const std::string& s, const char* suffix) {
  const size_t n = std::strlen(suffix);
  return s.size() > n && s.compare(s.size() - n, n, suffix) == 0;
}

void add_to_epoll(int epoll_fd, int fd) {
  epoll_event ev{};
  ev.events = EPOLLIN;
  ev.data.fd = fd;
  epoll_ctl(epoll_fd, EPOLL_CTL_ADD, fd, &ev);
}

}  // namespace

HotplugMonitor::HotplugMonitor() {
  epoll_fd_ = epoll_create1(EPOLL_CLOEXEC);
  want_hidraw_ = hidraw_enabled();
  folder_ = emulator_dir();
  if (want_hidraw_) {
    udev_ = udev_new();
    // "udev" events come after the rules ran, so the node's permissions are already set.
    monitor_ = udev_ ? udev_monitor_new_from_netlink(udev_, "udev") : nullptr;
    if (monitor_ && udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) >= 0 &&
        udev_monitor_enable_receiving(monitor_) >= 0) {
      add_to_epoll(epoll_fd_, udev_monitor_get_fd(monitor_));
    } else {
      debug_line("hotplug: no udev monitor, hidraw is rescanned on a timer");
      if (monitor_) udev_monitor_unref(monitor_);
      monitor_ = nullptr;
    }
  }
  if (!folder_.empty()) {
    inotify_fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify_fd_ >= 0) {
      add_to_epoll(epoll_fd_, inotify_fd_);
      watch_folder();
    }
  }
}

HotplugMonitor::~HotplugMonitor() {
  if (monitor_) udev_monitor_unref(monitor_);
  if (udev_) udev_unref(udev_);
  if (inotify_fd_ >= 0) ::close(inotify_fd_);
  if (epoll_fd_ >= 0) ::close(epoll_fd_);
}

bool HotplugMonitor::watch_folder() {
  if (inotify_fd_ < 0 || watch_ >= 0) return false;
  watch_ = inotify_add_watch(inotify_fd_, folder_.c_str(), kFolderEvents | IN_ONLYDIR);
  return watch_ >= 0;
}

bool HotplugMonitor::complete() const {
  if (want_hidraw_ && !monitor_) return false;
  if (!folder_.empty() && watch_ < 0) return false;
  return true;
}

bool HotplugMonitor::retry() { return !folder_.empty() && watch_folder(); }

bool HotplugMonitor::consume(std::set<std::string>* removed_nodes) {
  bool changed = false;
  if (monitor_) changed |= consume_udev(removed_nodes);
  if (inotify_fd_ >= 0) changed |= consume_inotify(removed_nodes);
  return changed;
}

bool HotplugMonitor::consume_udev(std::set<std::string>* removed) {
  bool changed = false;
  while (udev_device* dev = udev_monitor_receive_device(monitor_)) {
    const char* action = udev_device_get_action(dev);
    const char* node = udev_device_get_devnode(dev);
    if (action && (!std::strcmp(action, "add") || !std::strcmp(action, "remove"))) {
      changed = true;
      if (!std::strcmp(action, "remove") && node && removed) removed->insert(node);
    }
    udev_device_unref(dev);
  }
  return changed;
}

bool HotplugMonitor::consume_inotify(std::set<std::string>* removed) {
  bool changed = false;
  alignas(inotify_event) char buf[4096];
  for (;;) {
    ssize_t n = ::read(inotify_fd_, buf, sizeof buf);
    if (n <= 0) break;
    for (char* p = buf; p < buf + n;) {
      auto* ev = reinterpret_cast<inotify_event*>(p);
      p += sizeof(inotify_event) + ev->len;
      if (ev->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
        // The folder itself went: everything in it is gone; watch again once it is back.
        if (watch_ >= 0) inotify_rm_watch(inotify_fd_, watch_);
        watch_ = -1;
        changed = true;
        continue;
      }
      const std::string name = ev->len ? std::string(ev->name) : std::string();
      // Only a description decides presence; sockets and temporary files come and go around it.
      if (!ends_with(name, kEmulatorJsonSuffix)) continue;
      changed = true;
      if ((ev->mask & (IN_DELETE | IN_MOVED_FROM)) && removed)
        removed->insert(emulator_socket_for_json(folder_ + "/" + name));
    }
  }
  return changed;
}

}  // namespace qxr::hid

#pragma once
// Tells the discovery thread that the set of interfaces may have changed, so that it rescans
// only then: a udev monitor on hidraw and an inotify watch on the emulator folder, joined in
// one descriptor that becomes readable when either has news.
#include <set>
#include <string>

struct udev;
struct udev_monitor;

namespace qxr::hid {

class HotplugMonitor {
 public:
  // Watches what the enumeration is configured to list (hidraw_enabled(), emulator_dir()).
  HotplugMonitor();
  ~HotplugMonitor();
  HotplugMonitor(const HotplugMonitor&) = delete;
  HotplugMonitor& operator=(const HotplugMonitor&) = delete;

  // Readable while notifications are waiting; poll it with the stop event.
  int fd() const { return epoll_fd_; }

  // Reads every waiting notification. True when any of them can change what enumeration finds.
  // Nodes reported as removed are added to removed_nodes (a hidraw node, or an emulated
  // interface's socket), so that a node that came back under the same name in the meantime
  // is still seen as a new device.
  bool consume(std::set<std::string>* removed_nodes);

  // False while a configured source cannot be watched (the emulator folder does not exist
  // yet, or no udev monitor could be made): the caller then rescans on a slow timer.
  bool complete() const;
  // Tries again to watch what could not be watched. True when something new is now watched.
  bool retry();

 private:
  bool watch_folder();
  bool consume_udev(std::set<std::string>* removed);
  bool consume_inotify(std::set<std::string>* removed);

  int epoll_fd_ = -1;
  ::udev* udev_ = nullptr;
  ::udev_monitor* monitor_ = nullptr;
  int inotify_fd_ = -1;
  int watch_ = -1;
  bool want_hidraw_ = false;
  std::string folder_;
};

}  // namespace qxr::hid

#include "hid/discovery.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>

#include "core/debug_line.h"
#include "hid/device_path.h"
#include "hid/hid_device.h"
#include "hid/hotplug_monitor.h"
#include "hid/node_open.h"

namespace qxr::hid {

Discovery::Discovery(DiscoveryObserver& observer, InterfaceTable table)
    : observer_(observer), table_(table), slots_(make_slot_list(table)) {}

Discovery::~Discovery() { stop(); }

bool Discovery::start() {
  thread_.set_name("discovery");
  return thread_.start([this](StopEvent& stop) { run(stop); });
}

WorkerThread::StopOutcome Discovery::stop() { return thread_.stop(); }

std::vector<DeviceSlot> Discovery::slots() const {
  std::lock_guard lock(mutex_);
  return slots_;
}

DeviceSlot Discovery::slot(size_t index) const {
  std::lock_guard lock(mutex_);
  return index < slots_.size() ? slots_[index] : DeviceSlot{};
}

size_t Discovery::slot_count() const {
  std::lock_guard lock(mutex_);
  return slots_.size();
}

void Discovery::run(StopEvent& stop) {
  HotplugMonitor monitor;
  std::set<std::string> removed;
  bool rescan = true;
  for (;;) {
    if (stop.is_set()) break;
    bool retry = false;
    if (rescan) {
      PassResult r = pass(monitor, removed);
      removed.clear();
      retry = r.enumeration_failed || r.unopenable;
      // A freed slot may be wanted by a second device of the model, or by the same device back
      // under the same node name: look again at once instead of waiting for the next change.
      rescan = r.freed;
      if (rescan) continue;
    }
    if (!monitor.complete()) {
      retry = true;
      if (monitor.retry()) {
        rescan = true;
        continue;
      }
    }
    pollfd fds[2] = {{stop.fd(), POLLIN, 0}, {monitor.fd(), POLLIN, 0}};
    const int r = ::poll(fds, 2, retry ? kDiscoveryRetryMs : -1);
    wakeups_.fetch_add(1, std::memory_order_relaxed);
    if (r < 0 && errno != EINTR) {
      // Nothing sane to wait on: fall back to the retry cadence rather than spin.
      stop.wait(kDiscoveryRetryMs);
      rescan = true;
      continue;
    }
    if (fds[0].revents) break;
    if (fds[1].revents) rescan = monitor.consume(&removed) || rescan;
    if (r == 0) rescan = true;  // the retry timer
  }
  debug_line(kDiscoveryExitLine);
}

Discovery::PassResult Discovery::pass(HotplugMonitor& monitor,
                                      std::set<std::string>& removed_nodes) {
  passes_.fetch_add(1, std::memory_order_relaxed);
  // Take in what is already reported, so that a removal that happened before this scan is not
  // mistaken for one of the device this scan is about to find.
  monitor.consume(&removed_nodes);
  PassResult result;
  const std::vector<size_t> claimed = claim_arrivals(&result);
  if (!first_pass_done_ && !result.enumeration_failed) {
    first_pass_done_ = true;
    observer_.on_first_pass();
  }
  check_removals(removed_nodes, claimed, &result);
  return result;
}

std::vector<size_t> Discovery::claim_arrivals(PassResult* result) {
  std::vector<DeviceSlot> slots = this->slots();
  if (std::none_of(slots.begin(), slots.end(), [](const DeviceSlot& s) { return s.is_free(); }))
    return {};
  HidDevice enumerator;
  if (!enumerator.enumerate()) {
    // Unlike a thread that gives up for good, keep trying: a failed scan is usually passing.
    debug_line("discovery: enumeration failed");
    result->enumeration_failed = true;
    return {};
  }
  std::vector<size_t> arrived;
  while (const std::string* path = enumerator.next_path()) {
    DeviceSlot record = record_from_path(*path);
    if (!candidate_fits(record, slots, table_)) continue;
    HidDevice probe;
    if (!probe.open(*path, true, false, true, false)) {
      result->unopenable = true;
      continue;
    }
    record.vendor_id = probe.attributes().vendor_id;
    record.product_id = probe.attributes().product_id;
    record.usage_page = probe.caps().usage_page;
    record.usage = probe.caps().usage;
    probe.close();
    size_t index = 0;
    if (claim_slot(record, slots, table_, &index)) arrived.push_back(index);
  }
  if (arrived.empty()) return {};
  {
    std::lock_guard lock(mutex_);
    for (size_t i : arrived) slots_[i] = slots[i];
  }
  std::sort(arrived.begin(), arrived.end());
  for (size_t i : arrived) observer_.on_device_arrived(i);
  return arrived;
}

void Discovery::check_removals(const std::set<std::string>& removed_nodes,
                               const std::vector<size_t>& claimed_now, PassResult* result) {
  std::vector<size_t> gone;
  {
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < slots_.size(); ++i) {
      DeviceSlot& s = slots_[i];
      if (!s.connected) continue;
      const std::string node = path_node(s.path);
      // A removal reported for a node counts even if the node is back (re-plugged under the
      // same name), but not for a slot this very pass claimed: that removal was older.
      const bool claimed_here =
          std::find(claimed_now.begin(), claimed_now.end(), i) != claimed_now.end();
      const bool reported_gone = removed_nodes.count(node) && !claimed_here;
      if (node_present(node) && !reported_gone) continue;
      s.connected = 0;
      s.path.clear();
      gone.push_back(i);
    }
  }
  result->freed = !gone.empty();
  for (size_t i : gone) observer_.on_device_removed(i);
}

}  // namespace qxr::hid

#pragma once
// The discovery thread: keeps the slot list (one DeviceSlot per supported-interface row) in step
// with the interfaces present, and tells an observer when a slot's interface arrives or goes.
// It rescans only when the hot-plug monitor reports a change (or, slowly, while an interface
// that fits a free slot could not be opened yet), so nothing runs while nothing changes.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "core/worker_thread.h"
#include "hid/supported_interfaces.h"

namespace qxr::hid {

class HotplugMonitor;

inline constexpr const char* kDiscoveryExitLine = "抓取设备线程设定退出";
// Cadence of the rescans while something could not be opened or watched yet.
inline constexpr int kDiscoveryRetryMs = 500;

// Called on the discovery thread, one call at a time, in slot order within a pass. The thread
// continues only when the call returns, so a handler that forwards to the UI thread and waits
// sees the slot exactly as it was announced.
class DiscoveryObserver {
 public:
  virtual ~DiscoveryObserver() = default;
  virtual void on_device_arrived(size_t slot_index) = 0;
  virtual void on_device_removed(size_t slot_index) = 0;
  // Once, after the first complete pass.
  virtual void on_first_pass() = 0;
};

class Discovery {
 public:
  // table must outlive the discovery.
  Discovery(DiscoveryObserver& observer, InterfaceTable table);
  ~Discovery();
  Discovery(const Discovery&) = delete;
  Discovery& operator=(const Discovery&) = delete;

  bool start();
  WorkerThread::StopOutcome stop();
  bool running() const { return thread_.running(); }

  // Copies of the slot list for other threads.
  std::vector<DeviceSlot> slots() const;
  DeviceSlot slot(size_t index) const;
  size_t slot_count() const;

  // Diagnostics: how often the thread woke up and how often it rescanned.
  uint64_t wakeups() const { return wakeups_.load(std::memory_order_relaxed); }
  uint64_t passes() const { return passes_.load(std::memory_order_relaxed); }

 private:
  struct PassResult {
    bool enumeration_failed = false;
    bool unopenable = false;  // a path fit a free slot but could not be opened
    bool freed = false;       // a slot was freed: another device may wait for it
  };
  void run(StopEvent& stop);
  PassResult pass(HotplugMonitor& monitor, std::set<std::string>& removed_nodes);
  std::vector<size_t> claim_arrivals(PassResult* result);
  void check_removals(const std::set<std::string>& removed_nodes,
                      const std::vector<size_t>& claimed_now, PassResult* result);

  DiscoveryObserver& observer_;
  const InterfaceTable table_;
  mutable std::mutex mutex_;  // guards slots_
  std::vector<DeviceSlot> slots_;
  bool first_pass_done_ = false;
  std::atomic<uint64_t> wakeups_{0};
  std::atomic<uint64_t> passes_{0};
  WorkerThread thread_;
};

}  // namespace qxr::hid

#pragma once
// Synchronised lighting: while devices are marked for it, one shared effect drives all of them
// from the main window's thread (slot 8) and their own light threads idle. The effect is
// computed from the time alone, so every marked device shows the same colour.
#include <cstdint>
#include <mutex>
#include <vector>

#include "core/clock.h"
#include "core/worker_thread.h"
#include "devices/lighting/led_types.h"
#include "devices/usb_device.h"

namespace qxr::app {

inline constexpr const char* kSyncLightingExitLine = "同步灯光线程设定退出";
inline constexpr int kSyncIdleMs = 1000;
inline constexpr int kSyncFrameMs = 50;

enum class SyncMode : uint8_t { Static = 0, Breathe = 1, Blink = 2, Spectrum = 3, Off = 4 };

struct SyncSettings {
  SyncMode mode = SyncMode::Blink;
  uint8_t speed = 2;     // 0-4
  bool wheel = true;     // through the colour wheel rather than the fixed colour
  lighting::Rgb colour{255, 0, 0};
};

// One shared effect. frame() is called with a steady millisecond clock.
class SyncEffect {
 public:
  static constexpr unsigned kBlinkWheelStep = 14;
  static constexpr unsigned kBlinkBlinkFactor = 200;  // blink period = threshold x 200 ms
  static constexpr unsigned kBreatheWheelStep = 16;

  void set_settings(const SyncSettings& settings);
  devices::LedRecord frame(uint64_t now_ms);

 private:
  unsigned threshold() const;
  SyncSettings settings_;
  uint64_t last_step_ms_ = 0;
  bool started_ = false;
  bool blink_on_ = false;
  unsigned colour_index_ = 0;
  unsigned phase_ = 0;
};

class SyncLighting {
 public:
  explicit SyncLighting(Clock& clock = system_clock()) : clock_(clock) {}
  ~SyncLighting() { stop(); }

  bool start();
  WorkerThread::StopOutcome stop();
  StopEvent& stop_event() { return thread_.stop_event(); }
  bool running() const { return thread_.running(); }

  void set_settings(const SyncSettings& settings);
  // The devices the effect drives; empty: the thread idles. The devices must outlive their
  // place in this list.
  void set_targets(std::vector<devices::CMarluneUSBDevice*> targets);
  uint64_t frames() const;

 private:
  void run(StopEvent& stop);

  Clock& clock_;
  mutable std::mutex mutex_;
  SyncEffect effect_;
  std::vector<devices::CMarluneUSBDevice*> targets_;
  uint64_t frames_ = 0;
  WorkerThread thread_;
};

}  // namespace qxr::app

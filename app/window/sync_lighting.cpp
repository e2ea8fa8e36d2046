#include "app/window/sync_lighting.h"

#include "core/debug_line.h"
#include "devices/lighting/shared_tables.h"

namespace qxr::app {
namespace {
constexpr uint8_t kFull = 255;

uint8_t breath(unsigned phase) {
  const unsigned half = lighting::kBreathHalf;
  phase %= 2 * half;
  return phase < half ? lighting::kBreathRise[phase] : lighting::kBreathRise[2 * half - 1 - phase];
}
}  // namespace

void SyncEffect::set_settings(const SyncSettings& settings) {
  settings_ = settings;
  started_ = false;
}

unsigned SyncEffect::threshold() const {
  const size_t speed = settings_.speed < lighting::SpeedTable.size() ? settings_.speed : lighting::SpeedTable.size() - 1;
  return lighting::SpeedTable[speed];
}

devices::LedRecord SyncEffect::frame(uint64_t now_ms) {
  if (!started_) {
    started_ = true;
    last_step_ms_ = now_ms;
    blink_on_ = true;
    colour_index_ = 0;
    phase_ = 0;
  }
  const lighting::Rgb fixed = settings_.colour;
  switch (settings_.mode) {
    case SyncMode::Static:
      return {fixed.red, fixed.green, fixed.blue, kFull};
    case SyncMode::Breathe: {
      const uint64_t steps = (now_ms - last_step_ms_) / threshold();
      last_step_ms_ += steps * threshold();
      for (uint64_t i = 0; i < steps; ++i) {
        phase_ = (phase_ + 1) % (2 * lighting::kBreathHalf);
        // Thirteen colours (0, 16, ... 192), then round again.
        if (phase_ == 0) colour_index_ = colour_index_ + kBreatheWheelStep > lighting::kWheelCycle ? 0 : colour_index_ + kBreatheWheelStep;
      }
      const lighting::Rgb c = settings_.wheel ? lighting::wheel_colour(colour_index_) : fixed;
      return {c.red, c.green, c.blue, breath(phase_)};
    }
    case SyncMode::Blink: {
      const uint64_t period = uint64_t{threshold()} * kBlinkBlinkFactor;
      while (now_ms - last_step_ms_ >= period) {
        last_step_ms_ += period;
        blink_on_ = !blink_on_;
        colour_index_ += kBlinkWheelStep;
        if (colour_index_ >= lighting::kWheelCycle) colour_index_ = 0;
      }
      if (!blink_on_) return {0, 0, 0, 0};
      const lighting::Rgb c = settings_.wheel ? lighting::wheel_colour(colour_index_) : fixed;
      return {c.red, c.green, c.blue, kFull};
    }
    case SyncMode::Spectrum: {
      const uint64_t steps = (now_ms - last_step_ms_) / threshold();
      last_step_ms_ += steps * threshold();
      colour_index_ = static_cast<unsigned>((colour_index_ + steps) % lighting::kWheelCycle);
      const lighting::Rgb c = lighting::wheel_colour(colour_index_);
      return {c.red, c.green, c.blue, kFull};
    }
    case SyncMode::Off:
      break;
  }
  return {0, 0, 0, 0};
}

bool SyncLighting::start() {
  thread_.set_name("sync light");
  return thread_.start([this](StopEvent& stop) { run(stop); });
}

WorkerThread::StopOutcome SyncLighting::stop() { return thread_.stop(); }

void SyncLighting::set_settings(const SyncSettings& settings) {
  std::lock_guard lock(mutex_);
  effect_.set_settings(settings);
}

void SyncLighting::set_targets(std::vector<devices::CMarluneUSBDevice*> targets) {
  std::lock_guard lock(mutex_);
  targets_ = std::move(targets);
}

uint64_t SyncLighting::frames() const {
  std::lock_guard lock(mutex_);
  return frames_;
}

void SyncLighting::run(StopEvent& stop) {
  for (;;) {
    int wait_ms = kSyncIdleMs;
    {
      std::lock_guard lock(mutex_);
      if (!targets_.empty()) {
        const devices::LedRecord led = effect_.frame(clock_.now_ms());
        for (devices::CMarluneUSBDevice* device : targets_) device->show_synchronised(led);
        ++frames_;
        wait_ms = kSyncFrameMs;
      }
    }
    if (stop.wait(wait_ms)) break;
  }
  debug_line(kSyncLightingExitLine);
}

}  // namespace qxr::app

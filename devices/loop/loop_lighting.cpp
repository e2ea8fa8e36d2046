#include "devices/loop/loop_lighting.h"

#include <algorithm>

namespace qxr::devices {

LoopLighting::LoopLighting(std::span<const LoopEffect> table) : table_(table) { loop_.restart(); }

void LoopLighting::set_led_count(size_t count) {
  std::lock_guard lock(mutex_);
  frame_.count = std::min(count, kMaxLoopLeds);
  frame_.leds.fill(LedRecord{});
  settled_ = false;
  quiet_until_ = 0;
  ++version_;
}

size_t LoopLighting::led_count() const {
  std::lock_guard lock(mutex_);
  return frame_.count;
}

void LoopLighting::set_settings(const LoopLightSettings& settings) {
  std::lock_guard lock(mutex_);
  const bool new_mode = settings.mode != settings_.mode;
  settings_ = settings;
  settled_ = false;
  quiet_until_ = 0;
  if (new_mode) restart_locked();
}

void LoopLighting::restart_locked() {
  base_ = lighting::BaseEffectState{};
  loop_.restart();
  player_.reset();
  // LEDs the new effect leaves out (the pad's LED 0 in the pair effect) go dark.
  frame_.leds.fill(LedRecord{});
}

LoopLightSettings LoopLighting::settings() const {
  std::lock_guard lock(mutex_);
  return settings_;
}

LoopEffect LoopLighting::current_effect() const {
  std::lock_guard lock(mutex_);
  return effect_of_mode(table_, settings_.mode);
}

uint32_t LoopLighting::step_loops() const {
  std::lock_guard lock(mutex_);
  return loop_step_threshold(effect_of_mode(table_, settings_.mode), settings_.speed);
}

void LoopLighting::step(uint64_t now_ms) {
  std::lock_guard lock(mutex_);
  const std::span<LedRecord> leds(frame_.leds.data(), frame_.count);
  const LightInfo info = light_info_of(settings_);
  const LoopEffect effect = effect_of_mode(table_, settings_.mode);
  settled_ = effect == LoopEffect::Static || effect == LoopEffect::Off;
  switch (effect) {
    case LoopEffect::Wave: step_wave(leds, settings_, loop_); break;
    case LoopEffect::Spectrum: lighting::effect_spectrum(leds, info, base_); break;
    case LoopEffect::BreatheCycle: lighting::effect_breathe_cycle(leds, info, base_); break;
    case LoopEffect::Static: lighting::effect_static(leds, info); break;
    case LoopEffect::BlinkCycle: lighting::effect_blink_cycle(leds, info, base_, now_ms); break;
    case LoopEffect::Zones: step_zones(leds, settings_, loop_); break;
    case LoopEffect::BreatheFour: lighting::effect_breathe_four(leds, info, base_); break;
    case LoopEffect::BlinkFour: lighting::effect_blink_four(leds, info, base_, now_ms); break;
    case LoopEffect::Off: lighting::effect_off(leds); break;
    case LoopEffect::Leds: step_leds(leds, settings_, loop_); break;
    case LoopEffect::Pairs: step_pairs(leds, settings_, loop_); break;
    case LoopEffect::Program: player_.run(program_, leds, settings_.speed, now_ms); break;
  }
  quiet_until_ = settled_ ? lighting::kQuietForever : effect == LoopEffect::Program ? player_.quiet_until() : 0;
  ++version_;
}

void LoopLighting::set_program_steps(std::vector<lighting::LightProgramStep> steps) {
  std::lock_guard lock(mutex_);
  program_.set_steps(std::move(steps));
  settled_ = false;
  quiet_until_ = 0;
}

uint64_t LoopLighting::quiet_until() const {
  std::lock_guard lock(mutex_);
  return quiet_until_;
}

bool LoopLighting::settled() const {
  std::lock_guard lock(mutex_);
  return settled_;
}

uint64_t LoopLighting::frame_version() const {
  std::lock_guard lock(mutex_);
  return version_;
}

uint64_t LoopLighting::read_frame(LoopFrame& out) const {
  std::lock_guard lock(mutex_);
  out = frame_;
  return version_;
}

}  // namespace qxr::devices

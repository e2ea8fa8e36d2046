#pragma once
// The lighting model of a loop-counting device as the device uses it from several threads: the
// executor sets the look and the program, the light thread steps, any thread reads the newest
// frame. Everything sits under one short lock (a step holds it for a few microseconds); the
// program has its own lock, always taken after this one.
#include <array>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "devices/lighting/base_effects.h"
#include "devices/lighting/light_program.h"
#include "devices/loop/loop_effects.h"

namespace qxr::devices {

// One frame: a record per LED of the device.
struct LoopFrame {
  std::array<LedRecord, kMaxLoopLeds> leds{};
  size_t count = 0;
  std::span<const LedRecord> view() const { return {leds.data(), count}; }
};

class LoopLighting {
 public:
  // table: the device's modes (kMouseModeTable or kPadModeTable); it must outlive the model.
  explicit LoopLighting(std::span<const LoopEffect> table);

  // Frame size (capped at kMaxLoopLeds); the frame starts dark.
  void set_led_count(size_t count);
  size_t led_count() const;
  // A new mode starts its effect from the beginning; other changes take effect on the next step.
  void set_settings(const LoopLightSettings& settings);
  LoopLightSettings settings() const;
  LoopEffect current_effect() const;
  lighting::LightProgram& program() { return program_; }
  // Replaces the program's steps; a quiet frame is quiet no longer.
  void set_program_steps(std::vector<lighting::LightProgramStep> steps);

  // Light thread. Loops from one step to the next at the current mode and speed.
  uint32_t step_loops() const;
  void step(uint64_t now_ms);
  // The frame can no longer change until the settings or the LED count do (a fixed colour or
  // off, once stepped): the light thread may sleep until it is poked.
  bool settled() const;
  // Clock ms until which steps cannot change the frame: lighting::kQuietForever when settled, a
  // time for a lighting program between its changes, 0 when the next step may change it.
  uint64_t quiet_until() const;

  // Any thread: the newest frame and its version (grows with every step).
  uint64_t read_frame(LoopFrame& out) const;
  uint64_t frame_version() const;

 private:
  void restart_locked();

  std::span<const LoopEffect> table_;
  mutable std::mutex mutex_;
  LoopLightSettings settings_;
  LoopFrame frame_;
  uint64_t version_ = 0;
  bool settled_ = false;
  uint64_t quiet_until_ = 0;
  lighting::BaseEffectState base_;
  LoopEffectState loop_;
  lighting::LightProgram program_;
  lighting::LightProgramPlayer player_;
};

}  // namespace qxr::devices

#pragma once
// The lighting program: a list of timed steps a device plays when its mode has no effect of
// its own. Kept by the device base; the UI thread replaces it, the light thread plays it
// under its lock. The same player serves every device kind.
#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "devices/lighting/led_types.h"

namespace qxr::lighting {

enum class ProgramStepType : uint8_t {
  kBreathing = 0,
  kStatic = 1,
  kBlink = 2,
  kWave = 4,
  kSpectrum = 5,
};

// One step; its stored form is 20 bytes (see program_step_to_bytes).
struct LightProgramStep {
  uint8_t type = 0;
  uint8_t level = 0;      // brightness level 0-4
  uint8_t speed = 0;      // 0-4
  uint8_t direction = 0;  // non-zero: forward
  uint8_t multi_color = 0;
  Rgb colour;
  std::array<uint8_t, 3> state{};  // state[0]: the colour index (0-2) the step starts with
  uint16_t value = 0;              // carried along; no step type uses it
  uint32_t duration_ms = 0;
  friend bool operator==(const LightProgramStep&, const LightProgramStep&) = default;
};

// Bytes: 0 type, 1 level, 2 speed, 3 direction, 4 "MultiColor", 5-7 red, green, blue,
// 8-10 state, 12-13 value, 16-19 duration in ms (multi-byte values low byte first).
inline constexpr size_t kProgramStepSize = 20;
using ProgramStepBytes = std::array<uint8_t, kProgramStepSize>;
ProgramStepBytes program_step_to_bytes(const LightProgramStep& step);
LightProgramStep program_step_from_bytes(const ProgramStepBytes& bytes);
// A step of a profile's lighting effect file: its "Time" is the duration in ms, its "Cyle"
// travels as the value.
LightProgramStep program_step_from_effect(const LightEffectStep& effect);

class LightProgram {
 public:
  // UI thread. Playing restarts at the first step.
  void set_steps(std::vector<LightProgramStep> steps);
  void clear();
  size_t size() const;
  std::vector<LightProgramStep> steps() const;

  // The player's side. The step to play now; an index past the end starts again at 0.
  // False for an empty program. generation changes whenever the steps are replaced.
  bool current(LightProgramStep& step, size_t& index, uint64_t& generation);
  void advance();

 private:
  mutable std::mutex mutex_;
  std::vector<LightProgramStep> steps_;
  size_t index_ = 0;
  uint64_t generation_ = 0;
};

inline constexpr uint8_t kProgramColourCount = 3;
inline constexpr uint8_t kProgramColourSpacing = 64;  // wheel entries between the 3 colours
inline constexpr uint8_t kProgramWaveSpacing = 12;    // wheel entries between two LEDs
inline constexpr uint8_t kProgramBlinkWheelAdvance = 14;
inline constexpr uint8_t kProgramBlinkWheelEnd = 178;  // the blink's wheel index restarts here

// Plays a LightProgram into an LED frame, one call per light-thread loop (or tick).
class LightProgramPlayer {
 public:
  // light_speed is the device's own "Speed": the blink follows it, not the step's.
  void run(LightProgram& program, std::span<LedRecord> leds, uint8_t light_speed, uint64_t now_ms);
  void reset() { *this = LightProgramPlayer{}; }
  // After run: until when further runs cannot change the frame (a static step once shown, until
  // its time is up; a blink until its next toggle; an empty program for ever); 0 when the next
  // run may change it. The step's time and the blink count in milliseconds, so runs left out
  // while quiet change nothing either.
  uint64_t quiet_until() const { return quiet_until_; }

 private:
  void begin_step(const LightProgramStep& step, size_t index, uint64_t generation, uint64_t now_ms);
  void play(const LightProgramStep& step, std::span<LedRecord> leds, uint8_t light_speed,
            uint64_t now_ms);

  bool playing_ = false;
  size_t index_ = 0;
  uint64_t generation_ = 0;
  uint64_t step_start_ms_ = 0;
  uint32_t ticks_ = 0;
  uint8_t phase_ = 0;
  uint8_t colour_index_ = 0;
  uint8_t wheel_index_ = 0;
  bool blink_on_ = false;
  uint64_t last_toggle_ms_ = 0;
  uint64_t quiet_until_ = 0;
  bool static_shown_ = false;
};

inline constexpr uint64_t kQuietForever = UINT64_MAX;

}  // namespace qxr::lighting

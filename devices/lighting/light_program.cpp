#include "devices/lighting/light_program.h"

#include <algorithm>

#include "devices/lighting/base_effects.h"
#include "devices/lighting/effect_step.h"
#include "devices/lighting/keyboard_modes.h"
#include "devices/lighting/shared_tables.h"

namespace qxr::lighting {

namespace {
constexpr size_t kStateOffset = 8;
constexpr size_t kValueOffset = 12;
constexpr size_t kDurationOffset = 16;
}  // namespace

ProgramStepBytes program_step_to_bytes(const LightProgramStep& step) {
  ProgramStepBytes b{};
  b[0] = step.type;
  b[1] = step.level;
  b[2] = step.speed;
  b[3] = step.direction;
  b[4] = step.multi_color;
  b[5] = step.colour.red;
  b[6] = step.colour.green;
  b[7] = step.colour.blue;
  for (size_t i = 0; i < step.state.size(); ++i) b[kStateOffset + i] = step.state[i];
  b[kValueOffset] = static_cast<uint8_t>(step.value);
  b[kValueOffset + 1] = static_cast<uint8_t>(step.value >> 8);
  for (size_t i = 0; i < 4; ++i) b[kDurationOffset + i] = static_cast<uint8_t>(step.duration_ms >> (8 * i));
  return b;
}

LightProgramStep program_step_from_bytes(const ProgramStepBytes& b) {
  LightProgramStep step;
  step.type = b[0];
  step.level = b[1];
  step.speed = b[2];
  step.direction = b[3];
  step.multi_color = b[4];
  step.colour = {b[5], b[6], b[7]};
  for (size_t i = 0; i < step.state.size(); ++i) step.state[i] = b[kStateOffset + i];
  step.value = static_cast<uint16_t>(b[kValueOffset] | b[kValueOffset + 1] << 8);
  for (size_t i = 0; i < 4; ++i) step.duration_ms |= uint32_t{b[kDurationOffset + i]} << (8 * i);
  return step;
}

LightProgramStep program_step_from_effect(const LightEffectStep& effect) {
  LightProgramStep step;
  step.type = effect.led_reg_mode;
  step.level = effect.led_brightness;
  step.speed = effect.led_speed;
  step.direction = effect.led_direction;
  step.multi_color = effect.led_multi_color;
  step.colour = {effect.red, effect.green, effect.blue};
  step.value = static_cast<uint16_t>(effect.cycle);
  // A negative time in a hand-edited file means no time at all.
  step.duration_ms = effect.time > 0 ? static_cast<uint32_t>(effect.time) : 0;
  return step;
}

void LightProgram::set_steps(std::vector<LightProgramStep> steps) {
  std::lock_guard lock(mutex_);
  steps_.swap(steps);
  index_ = 0;
  ++generation_;
  // The old steps are freed when `steps` goes, after the lock: the player never waits on it.
}

void LightProgram::clear() { set_steps({}); }

size_t LightProgram::size() const {
  std::lock_guard lock(mutex_);
  return steps_.size();
}

std::vector<LightProgramStep> LightProgram::steps() const {
  std::lock_guard lock(mutex_);
  return steps_;
}

bool LightProgram::current(LightProgramStep& step, size_t& index, uint64_t& generation) {
  std::lock_guard lock(mutex_);
  if (index_ >= steps_.size()) index_ = 0;
  generation = generation_;
  if (steps_.empty()) return false;
  step = steps_[index_];
  index = index_;
  return true;
}

void LightProgram::advance() {
  std::lock_guard lock(mutex_);
  ++index_;
}

void LightProgramPlayer::begin_step(const LightProgramStep& step, size_t index, uint64_t generation,
                                    uint64_t now_ms) {
  playing_ = true;
  index_ = index;
  generation_ = generation;
  step_start_ms_ = now_ms;
  ticks_ = 0;
  phase_ = 0;
  static_shown_ = false;
  colour_index_ = step.state[0] % kProgramColourCount;
}

void LightProgramPlayer::run(LightProgram& program, std::span<LedRecord> leds, uint8_t light_speed,
                             uint64_t now_ms) {
  LightProgramStep step;
  size_t index = 0;
  uint64_t generation = 0;
  quiet_until_ = 0;
  if (!program.current(step, index, generation)) {
    playing_ = false;
    effect_off(leds);
    quiet_until_ = kQuietForever;  // until the device gives it steps (and wakes its thread)
    return;
  }
  // The same step again (a one-step program wrapping round) keeps its phase and colour.
  if (!playing_ || generation != generation_ || index != index_) begin_step(step, index, generation, now_ms);

  play(step, leds, light_speed, now_ms);

  if (now_ms - step_start_ms_ >= step.duration_ms || now_ms < step_start_ms_) {
    program.advance();
    step_start_ms_ = now_ms;
    quiet_until_ = 0;  // the next step begins with the next run
  } else if (quiet_until_ != 0) {
    quiet_until_ = std::min(quiet_until_, step_start_ms_ + step.duration_ms);
  }
}

void LightProgramPlayer::play(const LightProgramStep& step, std::span<LedRecord> leds,
                              uint8_t light_speed, uint64_t now_ms) {
  const uint8_t level = brightness_level(step.level);
  const size_t speed = speed_index(step.speed);
  ++ticks_;
  switch (static_cast<ProgramStepType>(step.type)) {
    case ProgramStepType::kBreathing: {
      if (ticks_ < SpeedTable[speed]) return;
      ticks_ = 0;
      phase_ = static_cast<uint8_t>((phase_ + 1) % kBreathLength);
      if (phase_ == 0) colour_index_ = static_cast<uint8_t>((colour_index_ + 1) % kProgramColourCount);
      const Rgb colour = step.multi_color ? wheel_colour(colour_index_ * kProgramColourSpacing) : step.colour;
      fill_leds(leds, make_led(colour, scale8(BreathCurve[phase_], level)));
      return;
    }
    case ProgramStepType::kStatic:
      // Once shown, the same colour again until the step's time is up.
      if (ticks_ < SpeedTable[speed]) {
        if (static_shown_) quiet_until_ = kQuietForever;
        return;
      }
      ticks_ = 0;
      fill_leds(leds, make_led(step.colour, level));
      static_shown_ = true;
      quiet_until_ = kQuietForever;
      return;
    case ProgramStepType::kBlink: {
      const bool toggle = now_ms < last_toggle_ms_ || now_ms - last_toggle_ms_ >= blink_period_ms(light_speed);
      if (toggle) {
        blink_on_ = !blink_on_;
        last_toggle_ms_ = now_ms;
        wheel_index_ += kProgramBlinkWheelAdvance;
        if (wheel_index_ >= kProgramBlinkWheelEnd) wheel_index_ = 0;
      }
      const Rgb colour = step.multi_color ? wheel_colour(wheel_index_) : step.colour;
      fill_leds(leds, blink_on_ ? make_led(colour, level) : LedRecord{});
      quiet_until_ = last_toggle_ms_ + blink_period_ms(light_speed);
      return;
    }
    case ProgramStepType::kWave:
      if (ticks_ < SpeedTable[speed]) return;
      ticks_ = 0;
      phase_ = effect_step(step.direction, kWheelCycle, phase_, 1);
      for (size_t n = 0; n < leds.size(); ++n) {
        const size_t offset = phase_ + kProgramWaveSpacing * n;
        leds[n] = step.multi_color
                      ? make_led(wheel_colour(offset % kWheelCycle), level)
                      : make_led(step.colour, scale8(BreathCurve96[offset % kBreath96Length], level));
      }
      return;
    case ProgramStepType::kSpectrum:
      if (ticks_ < kCommonTicks[speed]) return;
      ticks_ = 0;
      phase_ = effect_step(step.direction, kWheelCycle, phase_, 1);
      fill_leds(leds, make_led(wheel_colour(phase_), level));
      return;
  }
  // Types without an effect leave the frame as it is; their duration still runs.
  quiet_until_ = kQuietForever;
}

}  // namespace qxr::lighting

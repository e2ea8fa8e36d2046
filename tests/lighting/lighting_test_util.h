#pragma once
// Small helpers shared by the lighting tests.
#include <cstdint>

#include "devices/lighting/keyboard_effects.h"
#include "devices/lighting/led_types.h"

namespace qxr::lighting::testing {

inline LightInfo make_info(uint8_t mode, uint8_t light = 4, uint8_t speed = 4, uint8_t fx = 1,
                           uint8_t multi = 1, Rgb colour = {10, 20, 30}) {
  LightInfo info;
  info.select_item = mode;
  info.light = light;
  info.speed = speed;
  info.fx = fx;
  info.multi_color = multi;
  info.red = colour.red;
  info.green = colour.green;
  info.blue = colour.blue;
  return info;
}

inline LightProgramStep make_step(ProgramStepType type, uint8_t speed = 4, uint32_t duration_ms = 100000,
                                  uint8_t multi = 0, Rgb colour = {40, 50, 60}, uint8_t level = 4) {
  LightProgramStep step;
  step.type = static_cast<uint8_t>(type);
  step.level = level;
  step.speed = speed;
  step.direction = 1;
  step.multi_color = multi;
  step.colour = colour;
  step.duration_ms = duration_ms;
  return step;
}

// A model switched to info's mode as the device does on a mode change.
inline void enter(KeyboardEffects& effects, const LightInfo& info) {
  effects.set_light_info(info);
  effects.PrepareMode(info.select_item);
}

inline void run_steps(KeyboardEffects& effects, LightProgram& program, int steps,
                      const MusicFrame& music = {}, uint64_t start_ms = 1000) {
  for (int i = 0; i < steps; ++i) effects.step(start_ms + 2u * static_cast<uint64_t>(i), music, program);
}

inline LedRecord led(Rgb colour, uint8_t brightness) { return make_led(colour, brightness); }

}  // namespace qxr::lighting::testing

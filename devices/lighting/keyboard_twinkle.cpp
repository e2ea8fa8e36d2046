// The twinkles: every key walks PhaseCurve with its own phase (a short flash, then a long
// dark tail) and takes a random wheel colour each time round. Both start as a wave laid over
// WaveLayout.
#include "devices/lighting/keyboard_effects.h"
#include "devices/lighting/keyboard_layout.h"
#include "devices/lighting/shared_tables.h"

namespace qxr::lighting {

namespace {
constexpr uint8_t kTwinkleAdvance = 2;
constexpr uint8_t kFlowingTwinkleAdvance = 1;
constexpr unsigned kWaveColumnColours = 7;  // wheel entries between two WaveLayout columns
// The twinkle starts each key at phase 128 + 6 x column + row (wrapped round the curve).
constexpr unsigned kTwinkleFirstPhase = 128;
constexpr unsigned kTwinkleColumnPhase = 6;
// The flowing twinkle: per column a value from 192 - 8 x column, down 35 per row (98 when
// 35 would wrap below 0).
constexpr unsigned kFlowFirstPhase = 192;
constexpr unsigned kFlowColumnPhase = 8;
constexpr uint8_t kFlowRowStep = 35;
constexpr uint8_t kFlowRowWrapStep = 98;
}  // namespace

void KeyboardEffects::prepare_twinkle() {
  for (size_t i = 0; i < kWaveColumns; ++i)
    for (size_t j = 0; j < kWaveRows; ++j) {
      const uint8_t key = WaveLayout[i][j];
      if (key >= kKeyCount) continue;
      const auto phase = static_cast<uint8_t>((kTwinkleFirstPhase + kTwinkleColumnPhase * i + j) % kPhaseCycle);
      state_.phase[key] = phase;
      state_.glow.glow[key] = PhaseCurve[phase];
      state_.colour_tab[key] = static_cast<uint8_t>(kWaveColumnColours * i);
    }
}

void KeyboardEffects::prepare_flowing_twinkle() {
  for (size_t i = 0; i < kWaveColumns; ++i) {
    auto value = static_cast<uint8_t>(kFlowFirstPhase - kFlowColumnPhase * i);
    for (size_t j = 0; j < kWaveRows; ++j) {
      const auto down = static_cast<uint8_t>(value - kFlowRowStep);
      value = down >= kPhaseCycle ? static_cast<uint8_t>(value - kFlowRowWrapStep) : down;
      const uint8_t key = WaveLayout[i][j];
      if (key >= kKeyCount) continue;
      state_.phase[key] = value;
      state_.colour_tab[key] = static_cast<uint8_t>(kWaveColumnColours * i);
    }
  }
}

void KeyboardEffects::twinkle(uint8_t advance) {
  for (uint8_t key : KeyOrder) {
    if (key >= kKeyCount) continue;
    unsigned phase = state_.phase[key] + advance;
    if (phase >= kPhaseCycle) {
      phase = 0;
      state_.colour_tab[key] = static_cast<uint8_t>(random_.below(kWheelCycle));
    }
    state_.phase[key] = static_cast<uint8_t>(phase);
    state_.glow.glow[key] = PhaseCurve[phase];
    show_key(key, scale8(level(), PhaseCurve[phase]));
  }
}

void KeyboardEffects::step_twinkle(const StepContext&) { twinkle(kTwinkleAdvance); }

void KeyboardEffects::step_flowing_twinkle(const StepContext&) { twinkle(kFlowingTwinkleAdvance); }

}  // namespace qxr::lighting

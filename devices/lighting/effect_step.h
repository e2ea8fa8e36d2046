#pragma once
// The counter step every wave and breathing effect advances by.
#include <cstdint>

namespace qxr::lighting {

// Forward (direction != 0): phase + step, or 0 once that reaches the limit. Backward:
// phase - step while that (as a byte) stays below the limit, otherwise limit - step.
constexpr uint8_t effect_step(uint8_t direction, uint8_t limit, uint8_t phase, uint8_t step) {
  if (direction != 0) {
    const unsigned next = unsigned{phase} + step;
    return next >= limit ? 0 : static_cast<uint8_t>(next);
  }
  const auto next = static_cast<uint8_t>(phase - step);
  return next < limit ? next : static_cast<uint8_t>(limit - step);
}

}  // namespace qxr::lighting

#pragma once
// Factory tables the device layer does not publish yet, written down here independently of
// the generator so that the shipped files are checked against a second transcription.
#include <array>
#include <cstdint>

namespace qxr::test {

struct KeyCode {
  uint8_t type = 0;
  uint8_t d1 = 0;
  uint8_t d2 = 0;
};

inline constexpr int kMouseButtons = 10;
inline constexpr int kEqPresets = 12;
inline constexpr int kEqBands = 10;

// `MouseDefaultKeyCodes`, by logical button.
const std::array<KeyCode, kMouseButtons>& MouseDefaultKeyCodes();
// `EqPresets`: gains of presets 1-12 (element 0 is preset 1).
const std::array<std::array<int, kEqBands>, kEqPresets>& EqPresets();

}  // namespace qxr::test

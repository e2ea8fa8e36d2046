#pragma once
// Same-mode copy: the modes that show the same-mode button form five effects every device
// kind has. The selected device's effect, brightness, speed, direction, seven-colour flag and
// colour become the program's shared light state, and every connected device takes them in
// its own mode for that effect.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "editors/lighting/light_words.h"
#include "profile/records.h"

namespace qxr::editors {

// Common effects, numbered as the shared light state numbers them.
enum class CommonEffect : uint8_t { Breathing = 0, Static = 1, Blink = 2, Spectrum = 3, Off = 4 };
inline constexpr size_t kCommonEffectCount = 5;

struct CommonEffectRow {
  uint8_t keyboard_mode;
  uint8_t other_mode;  // mouse, mouse pad and headset
};
// Indexed by the common effect.
inline constexpr std::array<CommonEffectRow, kCommonEffectCount> kCommonEffects = {{
    {5, 2},
    {6, 3},
    {23, 4},
    {4, 1},
    {28, 8},
}};

struct SharedLight {
  CommonEffect effect = CommonEffect::Breathing;
  uint8_t light = 0;
  uint8_t speed = 0;
  uint8_t fx = 0;
  uint8_t multi_color = 0;
  Rgb colour;
  bool operator==(const SharedLight&) const = default;
};

// The kind numbers its lighting modes as the keyboard does (otherwise as the loop-lit kinds).
bool uses_keyboard_modes(int kind);

// The common effect of mode on a device of kind; nothing when the mode is none of them.
std::optional<CommonEffect> common_effect_of(int kind, int mode);
uint8_t mode_for_common_effect(int kind, CommonEffect effect);

// The shared light state taken from the selected device's record; nothing when its mode is
// not a common effect (the copy then does nothing).
std::optional<SharedLight> shared_light_from(int kind, const LightInfo& source);

// A device's own record with the shared state: its mode for the effect, the shared
// brightness, speed, direction, seven-colour flag and colour. Its other bytes (the keyboard's
// sub-mode and custom group) stay its own.
LightInfo same_mode_record(int kind, const LightInfo& current, const SharedLight& shared);

// Keyboards take the copy first, then mice, mouse pads and headsets; nothing for a kind that
// takes no copy.
std::optional<int> same_mode_rank(int kind);

// Indices of kinds in the order they take the copy; kinds without a rank are left out.
std::vector<size_t> same_mode_order(const std::vector<int>& kinds);

}  // namespace qxr::editors

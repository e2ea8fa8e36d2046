#pragma once
// The equaliser presets: gains in dB steps for the ten bands.
#include <array>
#include <optional>

#include "devices/audio/property_names.h"

namespace qxr::audio {

inline constexpr int EQ_PRESET_NONE = 0;
inline constexpr int EQ_PRESET_FIRST = 1;
inline constexpr int EQ_PRESET_LAST = 12;
inline constexpr int EQ_TYPE_CUSTOM = 13;

using EqGains = std::array<int, EQ_BANDS>;

// Gains of preset 1-12; nullopt for anything else.
std::optional<EqGains> EqPresets(int preset);

}  // namespace qxr::audio

#pragma once
// The equaliser presets: gains in dB steps for the ten bands.
#include <array>
#include <optional>

#include "devices/audio/property_names.h"
#include "profile/records.h"

namespace qxr::audio {

inline constexpr int EQ_PRESET_NONE = 0;
inline constexpr int EQ_PRESET_FIRST = qxr::kEqFirstPreset;
inline constexpr int EQ_PRESET_LAST = qxr::kEqLastPreset;
inline constexpr int EQ_TYPE_CUSTOM = qxr::kEqCustomType;
static_assert(EQ_BANDS == qxr::kEqBandCount);

using EqGains = std::array<int, EQ_BANDS>;

// Gains of preset 1-12; nullopt for anything else.
std::optional<EqGains> EqPresets(int preset);

}  // namespace qxr::audio

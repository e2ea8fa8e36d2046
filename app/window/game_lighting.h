#pragma once
// Game events switch the selected device's lighting to a mode the game asks for, for a while.
#include <optional>

#include "profile/records.h"

namespace qxr::app {

inline constexpr int kGameRestoreMs = 5000;

// Mode groups of the lighting panel: the device's own modes, its custom colour sets, and the
// keyboard's sub-modes.
inline constexpr int kGroupModes = 0;
inline constexpr int kGroupCustom = 1;
inline constexpr int kGroupSubMode = 2;

// The lighting record for mode of group applied to current; nothing for an unknown group or a
// mode that does not fit a byte.
std::optional<LightInfo> game_light(const LightInfo& current, long long group, long long mode);

}  // namespace qxr::app

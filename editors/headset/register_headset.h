#pragma once
// Makes the headset's panels classes the skins can name, and their texts part of every language.
#include "ui/control_factory.h"

namespace qxr::editors {

inline constexpr const char* kHeadsetTextPrefix = "Headset_";

void register_headset_editor(ui::ControlFactory& factory = ui::ControlFactory::global());

}  // namespace qxr::editors

#pragma once
// Makes the key-assignment panel a class the skins can name, and its texts part of every
// language.
#include "ui/control_factory.h"

namespace qxr::editors {

inline constexpr const char* kKeyTextPrefix = "KeySetControl_";

void register_key_editor(ui::ControlFactory& factory = ui::ControlFactory::global());

}  // namespace qxr::editors

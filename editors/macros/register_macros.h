#pragma once
// Makes the macro panel a class the skins can name, and its texts part of every language.
#include "ui/control_factory.h"

namespace qxr::editors {

inline constexpr const char* kMacroTextPrefix = "MacroControl_";

void register_macro_editor(ui::ControlFactory& factory = ui::ControlFactory::global());

}  // namespace qxr::editors

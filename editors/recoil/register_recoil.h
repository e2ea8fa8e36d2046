#pragma once
// Makes the recoil panel and its gun pictures classes the skins can name, and its texts part of
// every language.
#include "ui/control_factory.h"

namespace qxr::editors {

inline constexpr const char* kRecoilTextPrefix = "ShootControl_";

void register_recoil_editor(ui::ControlFactory& factory = ui::ControlFactory::global());

}  // namespace qxr::editors

#pragma once
// Registers the program's own widget classes with the toolkit's control factory, under their
// class names and the short names the skins may use.
#include "ui/control_factory.h"

namespace qxr::app {

void register_app_controls(ui::ControlFactory& factory = ui::ControlFactory::global());

}  // namespace qxr::app

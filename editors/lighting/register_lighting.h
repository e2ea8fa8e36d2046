#pragma once
// Makes the lighting panel and its palette known to the skin loader by class name
// ("CLightControlUI"/"LightControl", "CColorPaletteUI"/"ColorPalette") and installs the
// panel's texts. Call once at start-up, before the device pages are built.
#include "ui/control_factory.h"

namespace qxr::editors {

void register_lighting_editor(ui::ControlFactory& factory = ui::ControlFactory::global());

}  // namespace qxr::editors

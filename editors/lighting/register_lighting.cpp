#include "editors/lighting/register_lighting.h"

#include "editors/lighting/colour_palette.h"
#include "editors/lighting/light_control_ui.h"
#include "editors/lighting/light_texts.h"

namespace qxr::editors {

void register_lighting_editor(ui::ControlFactory& factory) {
  const ui::ControlCreator panel = [](QWidget* parent) { return new CLightControlUI(parent); };
  const ui::ControlCreator palette = [](QWidget* parent) { return new CColorPaletteUI(parent); };
  factory.register_class(QString::fromLatin1(CLightControlUI::kClassName), panel);
  factory.register_class(QString::fromLatin1(CLightControlUI::kShortName), panel);
  factory.register_class(QStringLiteral("CColorPaletteUI"), palette);
  factory.register_class(QStringLiteral("ColorPalette"), palette);
  install_light_texts();
}

}  // namespace qxr::editors

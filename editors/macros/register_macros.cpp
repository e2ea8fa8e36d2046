#include "editors/macros/register_macros.h"

#include "editors/macros/macro_control_ui.h"
#include "ui/panel_texts.h"

namespace qxr::editors {

void register_macro_editor(ui::ControlFactory& factory) {
  const ui::ControlCreator panel = [](QWidget* parent) { return new CMacroControlUI(parent); };
  factory.register_class(QString::fromLatin1(CMacroControlUI::kClassName), panel);
  factory.register_class(QString::fromLatin1(CMacroControlUI::kShortName), panel);
  ui::install_panel_texts(QString::fromLatin1(kMacroTextPrefix));
}

}  // namespace qxr::editors

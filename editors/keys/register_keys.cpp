#include "editors/keys/register_keys.h"

#include "editors/keys/key_set_control_ui.h"
#include "ui/panel_texts.h"

namespace qxr::editors {

void register_key_editor(ui::ControlFactory& factory) {
  const ui::ControlCreator panel = [](QWidget* parent) { return new CKeySetControlUI(parent); };
  factory.register_class(QString::fromLatin1(CKeySetControlUI::kClassName), panel);
  factory.register_class(QString::fromLatin1(CKeySetControlUI::kShortName), panel);
  ui::install_panel_texts(QString::fromLatin1(kKeyTextPrefix));
}

}  // namespace qxr::editors

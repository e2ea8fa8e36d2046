#include "editors/recoil/register_recoil.h"

#include "editors/recoil/recoil_pattern_view.h"
#include "editors/recoil/shoot_control_ui.h"
#include "ui/panel_texts.h"

namespace qxr::editors {

void register_recoil_editor(ui::ControlFactory& factory) {
  const ui::ControlCreator panel = [](QWidget* parent) { return new CShootControlUI(parent); };
  factory.register_class(QString::fromLatin1(CShootControlUI::kClassName), panel);
  factory.register_class(QString::fromLatin1(CShootControlUI::kShortName), panel);
  factory.register_class(QString::fromLatin1(RecoilPatternView::kClassName),
                         [](QWidget* parent) { return new RecoilPatternView(parent); });
  ui::install_panel_texts(QString::fromLatin1(kRecoilTextPrefix));
}

}  // namespace qxr::editors

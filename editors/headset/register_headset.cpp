#include "editors/headset/register_headset.h"

#include "editors/headset/magic_control_ui.h"
#include "editors/headset/voice_control_ui.h"
#include "ui/panel_texts.h"

namespace qxr::editors {

void register_headset_editor(ui::ControlFactory& factory) {
  const ui::ControlCreator sound = [](QWidget* parent) { return new CVoice6533ControlUI(parent); };
  const ui::ControlCreator voice = [](QWidget* parent) { return new CMagicControlUI(parent); };
  factory.register_class(QString::fromLatin1(CVoice6533ControlUI::kClassName), sound);
  factory.register_class(QString::fromLatin1(CVoice6533ControlUI::kShortName), sound);
  factory.register_class(QString::fromLatin1(CMagicControlUI::kClassName), voice);
  factory.register_class(QString::fromLatin1(CMagicControlUI::kShortName), voice);
  ui::install_panel_texts(QString::fromLatin1(kHeadsetTextPrefix));
}

}  // namespace qxr::editors

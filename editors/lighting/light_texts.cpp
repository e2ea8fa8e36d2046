#include "editors/lighting/light_texts.h"

#include "ui/panel_texts.h"

namespace qxr::editors {

bool merge_light_texts() { return ui::merge_panel_texts(QString::fromLatin1(kLightTextPrefix)); }

void install_light_texts() { ui::install_panel_texts(QString::fromLatin1(kLightTextPrefix)); }

}  // namespace qxr::editors

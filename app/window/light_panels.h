#pragma once
// The lighting editor in the program: the main window's lighting routes go to the selected
// page's lighting panel, every panel learns whether same mode is available whenever the device
// list changes, and a same-mode copy becomes the synchronised lighting's effect.
#include "editors/lighting/same_mode.h"

namespace qxr::app {

class CMainWnd;
struct SyncSettings;

void install_lighting_editor(CMainWnd& window);

// The synchronised lighting's settings for the shared light state of a same-mode copy.
SyncSettings sync_settings_for(const editors::SharedLight& shared);

}  // namespace qxr::app

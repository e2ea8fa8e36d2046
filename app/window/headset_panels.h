#pragma once
// The headset's sound, voice-changer and surround pages in the program: their routes go to the
// selected headset page's bridge.
namespace qxr::app {

class CMainWnd;

void install_headset_editor(CMainWnd& window);

}  // namespace qxr::app

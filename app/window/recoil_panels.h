#pragma once
// The recoil editor in the program: the recoil panel's routes go to the selected page's panel.
namespace qxr::app {

class CMainWnd;

void install_recoil_editor(CMainWnd& window);

}  // namespace qxr::app

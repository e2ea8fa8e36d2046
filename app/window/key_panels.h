#pragma once
// The key-assignment editor in the program: a key pressed on a keyboard or mouse picture is
// selected for the page's key panel, and the panel's routes go to the selected page's panel.
namespace qxr::app {

class CMainWnd;

void install_key_editor(CMainWnd& window);

}  // namespace qxr::app

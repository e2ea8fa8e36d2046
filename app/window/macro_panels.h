#pragma once
// The macro editor in the program: the macro panel's routes go to the selected page's panel,
// and while a macro is being recorded the user stays on that page.
namespace qxr::app {

class CMainWnd;

void install_macro_editor(CMainWnd& window);

}  // namespace qxr::app

#include "app/window/recoil_panels.h"

#include "app/pages/device_page_widget.h"
#include "app/window/main_wnd.h"
#include "app/window/user_prompts.h"

namespace qxr::app {

void install_recoil_editor(CMainWnd& window) {
  window.set_editor_handler(Route::RecoilEditor, [&window](DevicePageWidget* page, const ui::Notification& n) {
    if (page == nullptr || page->recoil_bridge() == nullptr) return;
    editors::RecoilEditorHooks hooks;
    const QString filter = QString::fromLatin1(kShootFilter);
    hooks.inform = [&window](const QString& key) { prompts().inform(&window, key); };
    hooks.choose_import_file = [&window, filter] { return prompts().choose_open_file(&window, filter); };
    hooks.choose_export_file = [&window, filter] { return prompts().choose_save_file(&window, filter); };
    page->recoil_bridge()->notify(n, hooks);
  });
}

}  // namespace qxr::app

#include "app/window/headset_panels.h"

#include "app/pages/device_page_widget.h"
#include "app/window/main_wnd.h"
#include "app/window/user_prompts.h"

namespace qxr::app {

void install_headset_editor(CMainWnd& window) {
  window.set_editor_handler(Route::HeadsetEditor, [&window](DevicePageWidget* page, const ui::Notification& n) {
    if (page == nullptr || page->headset_bridge() == nullptr) return;
    editors::HeadsetEditorHooks hooks;
    hooks.inform = [&window](const QString& key) { prompts().inform(&window, key); };
    page->headset_bridge()->notify(n, hooks);
  });
}

}  // namespace qxr::app

#include "app/window/key_panels.h"

#include "app/pages/device_page_widget.h"
#include "app/window/main_wnd.h"
#include "app/window/user_prompts.h"
#include "ui/indexed_name.h"

namespace qxr::app {
namespace {

editors::KeyEditorHooks hooks_for(CMainWnd& window, DevicePageWidget* page) {
  editors::KeyEditorHooks hooks;
  hooks.inform = [&window](const QString& key) { prompts().inform(&window, key); };
  hooks.write_profile = [&window, page] { window.write_profile_to_device(page); };
  return hooks;
}

}  // namespace

void install_key_editor(CMainWnd& window) {
  window.set_editor_handler(Route::KeyButton, [&window](DevicePageWidget* page, const ui::Notification& n) {
    if (page == nullptr || page->key_bridge() == nullptr) return;
    if (const auto key = ui::index_after_prefix(n.sender_name, QStringLiteral("key_"))) {
      page->key_bridge()->select_key(*key, hooks_for(window, page));
    }
  });
  window.set_editor_handler(Route::KeyAssignEditor, [&window](DevicePageWidget* page, const ui::Notification& n) {
    if (page == nullptr || page->key_bridge() == nullptr) return;
    page->key_bridge()->notify(n, hooks_for(window, page));
  });
}

}  // namespace qxr::app

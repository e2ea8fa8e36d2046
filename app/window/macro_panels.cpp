#include "app/window/macro_panels.h"

#include "app/pages/device_page_widget.h"
#include "app/window/main_wnd.h"
#include "app/window/user_prompts.h"

namespace qxr::app {
namespace {

constexpr char kDeviceSwitching[] = "device_select_layout";

editors::MacroEditorHooks hooks_for(CMainWnd& window, DevicePageWidget* page) {
  editors::MacroEditorHooks hooks;
  const QString filter = QString::fromLatin1(kMacroFilter);
  hooks.inform = [&window](const QString& key) { prompts().inform(&window, key); };
  hooks.confirm = [&window](const QString& key) { return prompts().confirm(&window, key); };
  hooks.choose_import_file = [&window, filter] { return prompts().choose_open_file(&window, filter); };
  hooks.choose_export_file = [&window, filter] { return prompts().choose_save_file(&window, filter); };
  hooks.write_profile = [&window, page] { window.write_profile_to_device(page); };
  hooks.send_macros = [&window, page] { window.send_macros_to_device(page); };
  hooks.recording = [&window, page](bool recording) {
    QWidget* devices = window.control(QString::fromLatin1(kDeviceSwitching));
    if (devices == nullptr) return;
    devices->setEnabled(!recording);
    // A page that goes away while recording (its device unplugged) must not leave the list locked.
    if (recording && page->macro_bridge() != nullptr) {
      QObject::connect(page->macro_bridge()->panel(), &QObject::destroyed, devices, [devices] { devices->setEnabled(true); },
                       Qt::SingleShotConnection);
    }
  };
  return hooks;
}

}  // namespace

void install_macro_editor(CMainWnd& window) {
  window.set_editor_handler(Route::MacroEditor, [&window](DevicePageWidget* page, const ui::Notification& n) {
    if (page == nullptr || page->macro_bridge() == nullptr) return;
    page->macro_bridge()->notify(n, hooks_for(window, page));
  });
}

}  // namespace qxr::app

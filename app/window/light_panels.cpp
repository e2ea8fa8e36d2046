#include "app/window/light_panels.h"

#include "app/pages/device_manager.h"
#include "app/pages/device_page_widget.h"
#include "app/pages/entry_rules.h"
#include "app/window/main_wnd.h"
#include "app/window/sync_lighting.h"
#include "editors/lighting/light_page_bridge.h"

namespace qxr::app {
namespace {

using editors::CommonEffect;

SyncMode sync_mode_of(CommonEffect effect) {
  switch (effect) {
    case CommonEffect::Breathing:
      return SyncMode::Breathe;
    case CommonEffect::Static:
      return SyncMode::Static;
    case CommonEffect::Blink:
      return SyncMode::Blink;
    case CommonEffect::Spectrum:
      return SyncMode::Spectrum;
    case CommonEffect::Off:
      return SyncMode::Off;
  }
  return SyncMode::Static;
}

std::vector<editors::LightPanelBinding> bindings_of(DeviceManager& manager) {
  std::vector<editors::LightPanelBinding> out;
  for (const DeviceManager::Model& m : manager.models()) {
    if (m.page == nullptr || m.page->light_bridge() == nullptr) continue;
    out.push_back(m.page->light_bridge()->binding());
  }
  return out;
}

editors::LightEditorHooks hooks_for(CMainWnd& window, DevicePageWidget* page) {
  editors::LightEditorHooks hooks;
  hooks.selected_keys = [page] {
    const QList<int> keys = page->selected_keys();
    return std::vector<int>(keys.begin(), keys.end());
  };
  hooks.devices = [&window] { return bindings_of(window.devices()); };
  hooks.shared_light = [&window](const editors::SharedLight& shared) {
    window.sync_lighting().set_settings(sync_settings_for(shared));
    std::vector<devices::CMarluneUSBDevice*> targets;
    for (DevicePageWidget* p : window.devices().synchronised_pages()) targets.push_back(p->device());
    window.sync_lighting().set_targets(std::move(targets));
  };
  return hooks;
}

}  // namespace

SyncSettings sync_settings_for(const editors::SharedLight& shared) {
  SyncSettings s;
  s.mode = sync_mode_of(shared.effect);
  s.speed = shared.speed;
  s.wheel = shared.multi_color != 0;
  s.colour = {shared.colour.red, shared.colour.green, shared.colour.blue};
  return s;
}

void install_lighting_editor(CMainWnd& window) {
  const CMainWnd::EditorHandler handler = [&window](DevicePageWidget* page, const ui::Notification& n) {
    if (page == nullptr || page->light_bridge() == nullptr) return;
    page->light_bridge()->notify(n, hooks_for(window, page));
  };
  for (Route r : {Route::LightingEditor, Route::ColourSwatch, Route::MusicLighting}) window.set_editor_handler(r, handler);
  DeviceManager& manager = window.devices();
  QObject::connect(&manager, &DeviceManager::entries_changed, &window, [&manager] {
    const bool available = judge_entries(manager.entry_states()).several_visible;
    for (const editors::LightPanelBinding& b : bindings_of(manager)) {
      if (b.panel != nullptr) b.panel->SetSameModeAvailable(available);
    }
  });
}

}  // namespace qxr::app

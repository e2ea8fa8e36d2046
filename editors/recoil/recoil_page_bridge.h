#pragma once
// What the mouse page needs to carry the recoil panel: it finds the page's panel
// ("ShootControlItem"), points it at the device's script folders, and turns the panel's
// notifications into panel operations; "send" hands the four scripts to the mouse. One bridge
// per page, UI thread only.
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

#include "devices/device_operations.h"
#include "editors/recoil/shoot_control_ui.h"
#include "ui/notification.h"

namespace qxr::editors {

inline constexpr const char* kRecoilPanelName = "ShootControlItem";

struct RecoilEditorHooks {
  // A message for the user, by language key.
  std::function<void(const QString& message_key)> inform;
  // File dialogs for ".shoot" files; empty when cancelled.
  std::function<QString()> choose_import_file;
  std::function<QString()> choose_export_file;
};

class RecoilPageBridge {
 public:
  // page: the page's widget tree; device outlives the bridge.
  RecoilPageBridge(QWidget* page, devices::DeviceOperations& device);

  // nullptr when the page has no recoil panel or the device no recoil scripts.
  CShootControlUI* panel() const { return recoil_ != nullptr ? panel_.data() : nullptr; }

  // A notification from the page; false when it is not the recoil panel's.
  bool notify(const ui::Notification& n, const RecoilEditorHooks& hooks);

 private:
  void send(const RecoilEditorHooks& hooks);
  void import(const RecoilEditorHooks& hooks);
  void export_current(const RecoilEditorHooks& hooks);
  // The message for a refused change; false when the change was done.
  bool report(recoil::RecoilChange change, const RecoilEditorHooks& hooks) const;

  QPointer<CShootControlUI> panel_;
  devices::RecoilScripts* recoil_;
};

}  // namespace qxr::editors

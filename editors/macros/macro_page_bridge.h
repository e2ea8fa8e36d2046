#pragma once
// What a keyboard or mouse page needs to carry the macro panel: it finds the page's panel
// ("MacroControlItem"), points it at the device's macro folder, and turns the panel's
// notifications into panel operations, keeping the key panel, the keys' assignments and the
// device in step with every change of the macro list. One bridge per page, UI thread only.
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

#include "devices/device_operations.h"
#include "editors/macros/macro_control_ui.h"
#include "ui/notification.h"

class CKeySetControlUI;

namespace qxr::editors {

inline constexpr const char* kMacroPanelName = "MacroControlItem";

struct MacroEditorHooks {
  // A message for the user, by language key.
  std::function<void(const QString& message_key)> inform;
  // A question by language key; true for OK.
  std::function<bool(const QString& message_key)> confirm;
  // File dialogs for macro files; empty when cancelled.
  std::function<QString()> choose_import_file;
  std::function<QString()> choose_export_file;
  // The whole profile to the device (its result is reported by the window).
  std::function<void()> write_profile;
  // The macros the keys use to the device (its result is reported by the window).
  std::function<void()> send_macros;
  // Recording started or stopped: the window keeps the user on this page meanwhile.
  std::function<void(bool recording)> recording;
};

class MacroPageBridge {
 public:
  // page: the page's widget tree; device outlives the bridge; key_panel may be null.
  MacroPageBridge(QWidget* page, devices::DeviceOperations& device, CKeySetControlUI* key_panel);

  // nullptr when the page has no macro panel or the device no macros.
  CMacroControlUI* panel() const { return macros_ != nullptr ? panel_.data() : nullptr; }

  // A notification from the page; false when it is not the macro panel's.
  bool notify(const ui::Notification& n, const MacroEditorHooks& hooks);

 private:
  void start_recording(macros::DelayMode mode, macros::RecordPlace place, const MacroEditorHooks& hooks);
  void stop_recording(const MacroEditorHooks& hooks);
  void save(const MacroEditorHooks& hooks);
  void add(const MacroEditorHooks& hooks);
  void remove(const MacroEditorHooks& hooks);
  void rename(const MacroEditorHooks& hooks);
  void import(const MacroEditorHooks& hooks);
  void export_selected(const MacroEditorHooks& hooks);
  void list_changed();
  // The message for a refused change; false when the change was done.
  bool report(macros::MacroChange change, const MacroEditorHooks& hooks) const;

  QPointer<CMacroControlUI> panel_;
  QPointer<CKeySetControlUI> key_panel_;
  devices::DeviceOperations& device_;
  devices::MacroList* macros_;
};

}  // namespace qxr::editors

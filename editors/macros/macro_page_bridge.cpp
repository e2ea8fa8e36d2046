#include "editors/macros/macro_page_bridge.h"

#include "editors/keys/key_set_control_ui.h"
#include "editors/macros/macro_keys.h"
#include "editors/macros/macro_rows.h"
#include "editors/macros/macro_texts.h"

namespace qxr::editors {
namespace {

using macros::MacroAction;
using macros::MacroChange;

namespace t = macros::texts;

QString qtext(std::string_view key) { return QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())); }

void call(const std::function<void()>& f) {
  if (f) f();
}

}  // namespace

MacroPageBridge::MacroPageBridge(QWidget* page, devices::DeviceOperations& device, CKeySetControlUI* key_panel)
    : key_panel_(key_panel), device_(device), macros_(device.macro_list()) {
  if (page != nullptr) panel_ = page->findChild<CMacroControlUI*>(QString::fromLatin1(kMacroPanelName));
  // The panel builds its controls when first shown; it reads the folder then.
  if (panel_ != nullptr && macros_ != nullptr) panel_->SetMacroFolder(macros_->macro_folder());
}

bool MacroPageBridge::report(MacroChange change, const MacroEditorHooks& hooks) const {
  std::string_view message;
  switch (change) {
    case MacroChange::kDone:
      return false;
    case MacroChange::kNoSuchMacro:
      return true;
    case MacroChange::kFull:
      message = t::kMacrosFull;
      break;
    case MacroChange::kNameEmpty:
      message = t::kNameBlank;
      break;
    case MacroChange::kNameInUse:
      message = t::kNameInUse;
      break;
    case MacroChange::kWriteFailed:
      message = t::kWriteFailed;
      break;
    case MacroChange::kBadImport:
      message = t::kImportRefused;
      break;
  }
  if (hooks.inform) hooks.inform(qtext(message));
  return true;
}

bool MacroPageBridge::notify(const ui::Notification& n, const MacroEditorHooks& hooks) {
  if (panel() == nullptr || n.sender == nullptr || !panel_->isAncestorOf(n.sender)) return false;
  const macros::MacroNotificationRow* row = macros::find_macro_row(n.type.toStdString(), n.sender_name.toStdString());
  if (row == nullptr) return false;
  CMacroControlUI& p = *panel_;
  const auto delay_mode = [&p](macros::MenuDelay delay) {
    if (delay == macros::MenuDelay::Fixed) return macros::DelayMode::Fixed;
    if (delay == macros::MenuDelay::None) return macros::DelayMode::None;
    return p.fixed_delay_checked() ? macros::DelayMode::Fixed : macros::DelayMode::RealTime;
  };
  bool rows_changed = false;
  switch (row->action) {
    case MacroAction::StartRecording:
      start_recording(delay_mode(macros::MenuDelay::AsChecked), macros::RecordPlace::Append, hooks);
      break;
    case MacroAction::RecordBefore:
      start_recording(delay_mode(row->delay), macros::RecordPlace::Before, hooks);
      break;
    case MacroAction::RecordAfter:
      start_recording(delay_mode(row->delay), macros::RecordPlace::After, hooks);
      break;
    case MacroAction::ReplaceRow:
      start_recording(macros::DelayMode::None, macros::RecordPlace::Replace, hooks);
      break;
    case MacroAction::StopRecording:
      stop_recording(hooks);
      break;
    case MacroAction::AddMacro:
      add(hooks);
      break;
    case MacroAction::DeleteMacro:
      remove(hooks);
      break;
    case MacroAction::RenameMacro:
      rename(hooks);
      break;
    case MacroAction::Import:
      import(hooks);
      break;
    case MacroAction::Export:
      export_selected(hooks);
      break;
    case MacroAction::ShowSelected:
    case MacroAction::Reload:
      if (!p.recording()) p.ShowSelectedMacro();
      break;
    case MacroAction::Save:
    case MacroAction::DelayEdited:
      save(hooks);
      break;
    case MacroAction::RowUp:
      rows_changed = p.events().move_up();
      break;
    case MacroAction::RowDown:
      rows_changed = p.events().move_down();
      break;
    case MacroAction::RowTop:
      rows_changed = p.events().move_to_top();
      break;
    case MacroAction::RowBottom:
      rows_changed = p.events().move_to_bottom();
      break;
    case MacroAction::DeleteRow:
      rows_changed = p.events().remove_selected();
      break;
    case MacroAction::DeleteAllRows:
      p.events().clear();
      rows_changed = true;
      break;
    case MacroAction::InsertMouse:
      p.InsertMouseEvent(row->first);
      if (row->second) p.InsertMouseEvent(*row->second);
      rows_changed = true;
      break;
  }
  if (rows_changed) {
    p.RowsChanged();
    save(hooks);
  }
  return true;
}

void MacroPageBridge::start_recording(macros::DelayMode mode, macros::RecordPlace place, const MacroEditorHooks& hooks) {
  panel_->StartRecording(mode, place);
  if (panel_->recording() && hooks.recording) hooks.recording(true);
}

void MacroPageBridge::stop_recording(const MacroEditorHooks& hooks) {
  if (!panel_->recording()) return;
  panel_->StopRecording();
  if (hooks.recording) hooks.recording(false);
  save(hooks);
}

void MacroPageBridge::save(const MacroEditorHooks& hooks) {
  const std::optional<size_t> macro = panel_->selected_macro();
  if (!macro) return;
  if (!panel_->SaveSelectedMacro()) {
    report(MacroChange::kWriteFailed, hooks);
    return;
  }
  // A key that plays the macro plays the new version only once the keyboard has it.
  devices::KeyAssignments* keys = device_.key_assignments();
  if (device_.capabilities().macro_upload && keys != nullptr && macros::keys_play_macro(keys->key_list(), *macro)) {
    call(hooks.send_macros);
  }
}

void MacroPageBridge::add(const MacroEditorHooks& hooks) {
  size_t index = 0;
  if (report(panel_->AddMacro(&index), hooks)) return;
  if (key_panel_ != nullptr) key_panel_->AddMacroItem(panel_->folder().entries()[index].name);
  list_changed();
}

void MacroPageBridge::remove(const MacroEditorHooks& hooks) {
  if (hooks.confirm && !hooks.confirm(qtext(t::kConfirmDelete))) return;
  const std::optional<size_t> macro = panel_->selected_macro();
  if (!macro) return;
  devices::KeyAssignments* keys = device_.key_assignments();
  std::vector<KeyAssignRecord> list = keys != nullptr ? keys->key_list() : std::vector<KeyAssignRecord>{};
  if (macros::keys_play_macro(list, *macro) && hooks.confirm && !hooks.confirm(qtext(t::kConfirmDeleteUsed))) {
    return;
  }
  // The macro goes first: keys renumbered for a macro that stayed would play the wrong one.
  if (!panel_->DeleteSelectedMacro()) {
    report(MacroChange::kWriteFailed, hooks);
    return;
  }
  const bool keys_changed = macros::renumber_keys_after_delete(list, *macro);
  if (keys_changed) keys->store_key_list(list);
  if (key_panel_ != nullptr) key_panel_->RemoveMacroItem(static_cast<int>(*macro));
  list_changed();
  if (keys_changed) call(hooks.write_profile);
}

void MacroPageBridge::rename(const MacroEditorHooks& hooks) {
  size_t index = 0;
  if (report(panel_->RenameSelectedMacro(&index), hooks)) return;
  if (key_panel_ != nullptr) key_panel_->RenameMacroItem(static_cast<int>(index), panel_->folder().entries()[index].name);
  list_changed();
}

void MacroPageBridge::import(const MacroEditorHooks& hooks) {
  const QString path = hooks.choose_import_file ? hooks.choose_import_file() : QString();
  if (path.isEmpty()) return;
  size_t index = 0;
  if (report(panel_->ImportMacro(path.toStdString(), nullptr, &index), hooks)) return;
  if (key_panel_ != nullptr) key_panel_->AddMacroItem(panel_->folder().entries()[index].name);
  list_changed();
}

void MacroPageBridge::export_selected(const MacroEditorHooks& hooks) {
  if (!panel_->selected_macro()) return;
  const QString path = hooks.choose_export_file ? hooks.choose_export_file() : QString();
  if (path.isEmpty()) return;
  report(panel_->ExportMacro(path.toStdString()), hooks);
}

void MacroPageBridge::list_changed() { macros_->reload_macro_names(); }

}  // namespace qxr::editors

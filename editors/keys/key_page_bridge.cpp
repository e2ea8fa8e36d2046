#include "editors/keys/key_page_bridge.h"

#include "editors/keys/key_labels.h"
#include "editors/keys/key_rows.h"
#include "ui/language.h"

namespace qxr::editors {
namespace {

constexpr int kKeyboardPanelKind = 1;
constexpr int kMousePanelKind = 2;
constexpr char kLastLeftButtonMessage[] = "message_text_6";

QString text_of(std::string_view key) {
  return ui::Language::instance().text(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())));
}

std::vector<std::string> macro_names_of(devices::DeviceOperations& device) {
  devices::MacroList* macros = device.macro_list();
  return macros != nullptr ? macros->macro_names() : std::vector<std::string>{};
}

}  // namespace

KeyPageBridge::KeyPageBridge(QWidget* page, devices::DeviceOperations& device)
    : device_(device), keys_(device.key_assignments()), guards_left_button_(device.capabilities().pointer_settings) {
  if (page != nullptr) panel_ = page->findChild<CKeySetControlUI*>(QString::fromLatin1(kKeyPanelName));
  if (panel_ == nullptr || keys_ == nullptr) return;
  // The panel builds its controls when first shown or used: start-up does not wait for them.
  panel_->SetDeviceKind(guards_left_button_ ? kMousePanelKind : kKeyboardPanelKind);
  panel_->entry_taken = [this] { apply(); };
}

bool KeyPageBridge::select_key(int key, const KeyEditorHooks& hooks) {
  if (panel() == nullptr || key < 0) return false;
  const std::vector<KeyAssignRecord> list = keys_->key_list();
  if (static_cast<size_t>(key) >= list.size()) return false;
  if (guards_left_button_ && keys::is_last_left_button(list, static_cast<size_t>(key))) {
    if (hooks.inform) hooks.inform(QString::fromLatin1(kLastLeftButtonMessage));
    return false;
  }
  keys_->select_key(key);
  panel_->SetMacroList(macro_names_of(device_));
  const KeyAssignRecord& record = list[static_cast<size_t>(key)];
  panel_->SetAssignments(record.assignment, record.default_assignment);
  panel_->SetButtonsEnabled(false);
  return true;
}

void KeyPageBridge::apply() {
  if (panel() == nullptr || keys_->selected_key() < 0) return;
  const KeyAssignment r = panel_->ReadAssignment();
  keys_->assign_selected_key(r.type, r.d1, r.d2);
  panel_->SetButtonsEnabled(true);
}

bool KeyPageBridge::notify(const ui::Notification& n, const KeyEditorHooks& hooks) {
  if (panel() == nullptr || n.sender == nullptr || !panel_->isAncestorOf(n.sender)) return false;
  const std::optional<keys::KeyAction> action = keys::find_key_action(n.type.toStdString(), n.sender_name.toStdString());
  if (!action) return false;
  switch (*action) {
    case keys::KeyAction::SelectGroup:
      panel_->SelectGroup();
      apply();
      break;
    case keys::KeyAction::MacroMode:
      panel_->ShowMacroRepeat();
      apply();
      break;
    case keys::KeyAction::Apply:
      apply();
      break;
    case keys::KeyAction::ShowDefault:
      panel_->ShowDefault();
      panel_->SetButtonsEnabled(true);
      break;
    case keys::KeyAction::Cancel:
      panel_->ShowCurrent();
      panel_->SetButtonsEnabled(false);
      break;
    case keys::KeyAction::WriteProfile:
      if (hooks.write_profile) hooks.write_profile();
      panel_->SetButtonsEnabled(false);
      break;
  }
  return true;
}

std::vector<KeyPageBridge::Label> KeyPageBridge::key_labels() const {
  std::vector<Label> labels;
  if (keys_ == nullptr) return labels;
  const std::vector<KeyAssignRecord> list = keys_->key_list();
  const std::vector<std::string> macros = macro_names_of(device_);
  labels.reserve(list.size());
  for (const KeyAssignRecord& record : list) {
    const KeyAssignment& a = record.assignment;
    const KeyAssignment& d = record.default_assignment;
    Label out;
    out.is_default = a.type == d.type && a.d1 == d.d1 && a.d2 == d.d2;
    if (const std::optional<keys::KeyLabel> label = keys::key_label(a, macros)) {
      if (label->names.empty()) {
        out.text = QString::fromStdString(label->macro_name);
      } else {
        QStringList parts;
        for (std::string_view name : label->names) parts << text_of(name);
        out.text = parts.join(QLatin1Char('+'));
      }
    }
    labels.push_back(std::move(out));
  }
  return labels;
}

}  // namespace qxr::editors

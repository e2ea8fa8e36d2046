#include "editors/recoil/recoil_page_bridge.h"

#include "core/indexed_name.h"
#include "editors/recoil/recoil_rows.h"
#include "editors/recoil/recoil_texts.h"
#include "protocol/command_report.h"

namespace qxr::editors {
namespace {

using recoil::RecoilAction;
using recoil::RecoilChange;

namespace t = recoil::texts;

QString qtext(std::string_view key) { return QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())); }

}  // namespace

RecoilPageBridge::RecoilPageBridge(QWidget* page, devices::DeviceOperations& device) : recoil_(device.recoil_scripts()) {
  if (page != nullptr) panel_ = page->findChild<CShootControlUI*>(QString::fromLatin1(kRecoilPanelName));
  // The panel builds its controls, and reads the scripts, when first shown.
  if (panel_ != nullptr && recoil_ != nullptr) {
    panel_->SetDefaultScriptFolder(recoil_->factory_recoil_folder());
    panel_->SetScriptFolder(recoil_->recoil_folder());
  }
}

bool RecoilPageBridge::report(RecoilChange change, const RecoilEditorHooks& hooks) const {
  std::string_view message;
  switch (change) {
    case RecoilChange::kDone:
      return false;
    case RecoilChange::kWriteFailed:
      message = t::kWriteFailed;
      break;
    case RecoilChange::kBadImport:
      message = t::kImportRefused;
      break;
    case RecoilChange::kNoFactoryScript:
      message = t::kNoFactoryScript;
      break;
    case RecoilChange::kNothingToExport:
      message = t::kNothingToExport;
      break;
  }
  if (hooks.inform) hooks.inform(qtext(message));
  return true;
}

bool RecoilPageBridge::notify(const ui::Notification& n, const RecoilEditorHooks& hooks) {
  if (panel() == nullptr || n.sender == nullptr || !panel_->isAncestorOf(n.sender)) return false;
  const std::string name = n.sender_name.toStdString();
  const recoil::RecoilNotificationRow* row = recoil::find_recoil_row(n.type.toStdString(), name);
  if (row == nullptr) return false;
  CShootControlUI& p = *panel_;
  const auto index = [&name] {
    const auto split = split_indexed_name(name);
    return split ? split->index : 0;
  };
  switch (row->action) {
    case RecoilAction::SelectGun:
      // Options report being cleared too; only the one chosen counts.
      if (n.param1 == 0) break;
      report(p.StoreBulletIfEdited(), hooks);
      p.SelectGun(index());
      p.ShowBullet();
      break;
    case RecoilAction::SelectBullet:
      if (n.param1 == 0) break;
      report(p.StoreBulletIfEdited(), hooks);
      p.SelectBullet(index());
      break;
    case RecoilAction::PreviousBullet:
      report(p.StoreBulletIfEdited(), hooks);
      p.PreviousBullet();
      break;
    case RecoilAction::NextBullet:
      report(p.StoreBulletIfEdited(), hooks);
      p.NextBullet();
      break;
    case RecoilAction::StoreBullet:
      report(p.StoreBullet(), hooks);
      break;
    // A direction is a change of the bullet like any other: stored at once, so moving on to
    // another bullet cannot lose it.
    case RecoilAction::HorizontalDirection:
      p.RelabelHorizontal();
      report(p.StoreBullet(), hooks);
      break;
    case RecoilAction::VerticalDirection:
      p.RelabelVertical();
      report(p.StoreBullet(), hooks);
      break;
    case RecoilAction::Send:
      send(hooks);
      break;
    case RecoilAction::Reset:
      report(p.ResetGun(p.current_gun()), hooks);
      break;
    case RecoilAction::Import:
      import(hooks);
      break;
    case RecoilAction::Export:
      export_current(hooks);
      break;
  }
  return true;
}

void RecoilPageBridge::send(const RecoilEditorHooks& hooks) {
  // What is still being typed goes too.
  if (report(panel_->StoreBulletIfEdited(), hooks)) return;
  CShootControlUI* panel = panel_;
  auto inform = hooks.inform;
  // The device's threads stop before its page's widgets go, so the panel outlives this call.
  recoil_->SendShootScripts([panel, inform](int result) {
    QMetaObject::invokeMethod(
        panel,
        [panel, inform, sent = result == protocol::kResultOk] {
          panel->ShowSendResult(sent);
          if (!sent && inform) inform(qtext(t::kSendFailed));
        },
        Qt::QueuedConnection);
  });
}

void RecoilPageBridge::import(const RecoilEditorHooks& hooks) {
  const QString path = hooks.choose_import_file ? hooks.choose_import_file() : QString();
  if (path.isEmpty()) return;
  report(panel_->ImportGun(path.toStdString()), hooks);
}

void RecoilPageBridge::export_current(const RecoilEditorHooks& hooks) {
  if (report(panel_->StoreBulletIfEdited(), hooks)) return;
  const QString path = hooks.choose_export_file ? hooks.choose_export_file() : QString();
  if (path.isEmpty()) return;
  report(panel_->ExportGun(path.toStdString()), hooks);
}

}  // namespace qxr::editors

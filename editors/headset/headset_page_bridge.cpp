#include "editors/headset/headset_page_bridge.h"

#include <QMetaObject>

#include "devices/audio/headset_audio_controls.h"
#include "editors/headset/headset_control_names.h"
#include "editors/headset/headset_rows.h"
#include "ui/indexed_name.h"

namespace qxr::editors {
namespace {

using headset::HeadsetAction;
namespace n = headset::names;

constexpr char kNameInUse[] = "message_text_5";
constexpr char kSaveRefused[] = "hs_eq_save_refused_text";
constexpr int kSavedDuplicate = 0;
constexpr int kSaveRefusedResult = -1;

QString qname(std::string_view name) { return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())); }

}  // namespace

HeadsetPageBridge::HeadsetPageBridge(QWidget* page, devices::DeviceOperations& device)
    : page_(page), audio_(device.audio_controls()) {
  if (page == nullptr) return;
  sound_ = page->findChild<CVoice6533ControlUI*>(qname(n::kSoundPanel));
  voice_ = page->findChild<CMagicControlUI*>(qname(n::kVoicePanel));
}

bool HeadsetPageBridge::notify(const ui::Notification& n, const HeadsetEditorHooks& hooks) {
  if (audio_ == nullptr || page_ == nullptr || n.sender == nullptr || !page_->isAncestorOf(n.sender)) return false;
  const headset::HeadsetNotificationRow* row = headset::find_headset_row(n.type.toStdString(), n.sender_name.toStdString());
  if (row == nullptr) return false;
  const int index = ui::split_indexed_name(n.sender_name).value_or(ui::IndexedName{}).index;
  const bool on = n.param1 != 0;
  const int value = static_cast<int>(n.param1);
  switch (row->action) {
    case HeadsetAction::VoiceSwitch:
      audio_->ToggleVoiceChanger(on);
      break;
    case HeadsetAction::Voice:
      if (on) audio_->SelectVoice(index);
      break;
    case HeadsetAction::EqPreset:
      if (on) audio_->ApplyEqPreset(index);
      break;
    case HeadsetAction::EqBand:
      audio_->SetEqBand(index, value);
      break;
    case HeadsetAction::MicSwitch:
      audio_->ToggleMicMute();
      break;
    case HeadsetAction::MonitorSwitch:
      audio_->ToggleMonitorMute();
      break;
    case HeadsetAction::MicVolume:
      audio_->SetMicVolume(value);
      break;
    case HeadsetAction::MonitorVolume:
      audio_->SetMonitorVolume(value);
      break;
    case HeadsetAction::CustomEq:
      if (value >= 0) audio_->ApplyCustomEq(value);
      break;
    case HeadsetAction::SaveCustomEq:
      save_custom(hooks);
      break;
    case HeadsetAction::DeleteCustomEq:
      audio_->DeleteCustomEq();
      break;
    case HeadsetAction::Surround:
      audio_->SetVirtualSurround(on);
      break;
  }
  return true;
}

void HeadsetPageBridge::save_custom(const HeadsetEditorHooks& hooks) {
  const QString name = sound_ != nullptr ? sound_->GetCustomNameText().trimmed() : QString();
  // The answer comes on the headset's thread; the message belongs on this one.
  // The page outlives the headset's thread (the device goes first), so it can carry the message.
  audio_->SaveCustomEq(name.toStdString(), [page = page_.data(), inform = hooks.inform](int result) {
    if (result != kSavedDuplicate && result != kSaveRefusedResult) return;
    QMetaObject::invokeMethod(
        page, [inform, result] {
          if (inform) inform(QString::fromLatin1(result == kSavedDuplicate ? kNameInUse : kSaveRefused));
        },
        Qt::QueuedConnection);
  });
}

}  // namespace qxr::editors

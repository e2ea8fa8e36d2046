#pragma once
// What the headset page needs to carry its sound, voice-changer and surround pages: the user's
// changes become the headset's audio operations, whose outcome comes back through the page's
// HeadsetAudioPage. One bridge per page, used on the UI thread only.
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

#include "devices/device_operations.h"
#include "editors/headset/magic_control_ui.h"
#include "editors/headset/voice_control_ui.h"
#include "ui/notification.h"

namespace qxr::editors {

struct HeadsetEditorHooks {
  // A message for the user, by language key.
  std::function<void(const QString& message_key)> inform;
};

class HeadsetPageBridge {
 public:
  // page: the page's widget tree; device outlives the bridge.
  HeadsetPageBridge(QWidget* page, devices::DeviceOperations& device);

  CVoice6533ControlUI* sound_panel() const { return sound_.data(); }
  CMagicControlUI* voice_panel() const { return voice_.data(); }

  // A notification from the page; false when it is not one of the headset pages'.
  bool notify(const ui::Notification& n, const HeadsetEditorHooks& hooks);

 private:
  void save_custom(const HeadsetEditorHooks& hooks);

  QPointer<QWidget> page_;
  QPointer<CVoice6533ControlUI> sound_;
  QPointer<CMagicControlUI> voice_;
  audio::HeadsetAudioControls* audio_;
};

}  // namespace qxr::editors

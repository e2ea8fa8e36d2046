#pragma once
// What a keyboard or mouse page needs to carry the key-assignment panel: it finds the page's
// panel ("KeySetControlItem"), selects a key pressed on the picture and shows its records,
// turns the panel's notifications into the device's key operations, and gives the labels the
// picture writes on its keys. One bridge per page, used on the UI thread only.
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

#include "devices/device_operations.h"
#include "editors/keys/key_set_control_ui.h"
#include "ui/notification.h"

namespace qxr::editors {

inline constexpr const char* kKeyPanelName = "KeySetControlItem";

struct KeyEditorHooks {
  // A message for the user, by language key.
  std::function<void(const QString& message_key)> inform;
  // The whole profile to the device (its result is reported by the window).
  std::function<void()> write_profile;
};

class KeyPageBridge {
 public:
  // page: the page's widget tree; device outlives the bridge.
  KeyPageBridge(QWidget* page, devices::DeviceOperations& device);

  // nullptr when the page has no key panel or the device no keys.
  CKeySetControlUI* panel() const { return keys_ != nullptr ? panel_.data() : nullptr; }

  // Key n of the picture pressed: selected and shown, unless it is the mouse's last left button
  // (then the user is told and nothing changes). False when nothing was selected.
  bool select_key(int key, const KeyEditorHooks& hooks);
  // A notification from the page; false when it is not the key panel's.
  bool notify(const ui::Notification& n, const KeyEditorHooks& hooks);

  // What each key of the device's list shows for its current assignment (nothing where the
  // label stays as it is), and whether that is the key's default.
  struct Label {
    std::optional<QString> text;
    bool is_default = false;
  };
  std::vector<Label> key_labels() const;

 private:
  void apply();

  QPointer<CKeySetControlUI> panel_;
  devices::DeviceOperations& device_;
  devices::KeyAssignments* keys_;
  bool guards_left_button_;
};

}  // namespace qxr::editors

#pragma once
// What a device page needs to carry a lighting panel: it finds the page's panel
// ("LightControlItem"), gives it the page's kind, and turns the device's calls (its lighting
// record, its custom group, its colour pair) and the panel's notifications into the lighting
// editor's operations. One bridge per page, used on the UI thread only.
#include <QPointer>
#include <QWidget>

#include <memory>

#include "devices/device_operations.h"
#include "editors/lighting/device_light_target.h"
#include "editors/lighting/light_control_ui.h"
#include "editors/lighting/light_editor.h"

namespace qxr::editors {

inline constexpr const char* kLightPanelName = "LightControlItem";

class LightPageBridge {
 public:
  // page: the page's widget tree; device outlives the bridge; layout: the panel's layout table
  // (the kind's).
  LightPageBridge(QWidget* page, devices::DeviceOperations& device, int layout);

  // nullptr when the page has no lighting panel (then every call below does nothing).
  CLightControlUI* panel() const { return panel_; }
  LightTarget& target() { return *target_; }
  LightPanelBinding binding() { return {panel_, target_.get()}; }

  // The device's records, as its page receives them (show_lighting).
  void show(const LightInfo& light, const AudioLightInfo& music);
  void select_custom_group(int group);
  // The device's colour pair (the music record), as its page's colour picker receives it.
  void set_colour_pair(uint32_t first, uint32_t second, uint8_t selector);
  // The colour pair the panel holds; false without a panel with music controls.
  bool read_colour_pair(uint32_t& first, uint32_t& second, uint8_t& selector);
  // A notification from the page; false when it is not the lighting editor's.
  bool notify(const ui::Notification& n, const LightEditorHooks& hooks);

 private:
  QPointer<CLightControlUI> panel_;
  std::unique_ptr<DeviceLightTarget> target_;
};

}  // namespace qxr::editors

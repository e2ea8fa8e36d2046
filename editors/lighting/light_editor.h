#pragma once
// The lighting editor: what the lighting panel's notifications do. Each change follows one
// pattern: read the value from the panel, clear the device's synchronised mark, take the
// device's lighting record, change the one field, give the record back (the device stores it
// into its profile, saves and sends it) and show the result on the panel.
#include <functional>
#include <span>
#include <vector>

#include "editors/lighting/light_control_ui.h"
#include "editors/lighting/light_edits.h"
#include "editors/lighting/light_target.h"
#include "editors/lighting/same_mode.h"
#include "ui/notification.h"

namespace qxr::editors {

// A device with the panel that shows it (the panel may be missing).
struct LightPanelBinding {
  CLightControlUI* panel = nullptr;
  LightTarget* target = nullptr;
};

struct LightEditorHooks {
  // Logical keys selected on the panel's page, for painting custom colours.
  std::function<std::vector<int>()> selected_keys;
  // Every device of the program with its panel; the same-mode copy takes the connected ones.
  std::function<std::vector<LightPanelBinding>()> devices;
  // The program's shared light state, after a same-mode copy has marked its devices.
  std::function<void(const SharedLight&)> shared_light;
};

class LightEditor {
 public:
  // Carries out n when it is one of the lighting editor's notifications; false otherwise.
  static bool Notify(CLightControlUI& panel, LightTarget& target, const ui::Notification& n,
                     const LightEditorHooks& hooks = {});

  // The change committed to the device and shown on the panel.
  static void Commit(CLightControlUI& panel, LightTarget& target, const LightChange& change);

  // The music record taken from the panel (with or without the swatch colour), or changed by
  // change, given to the device and shown. False when the panel lacks a music control.
  static bool CommitAudio(CLightControlUI& panel, LightTarget& target, bool take_swatch_colour);
  static bool CommitAudioChange(CLightControlUI& panel, LightTarget& target, const LightChange& change);

  // Same-mode copy from target to every connected device (keyboards first, then mice, mouse
  // pads and headsets), each marked synchronised, given its record and shown on its panel.
  // Returns how many devices took it; 0 when target's mode is not a common effect.
  static int SameModeCopy(LightTarget& target, const LightEditorHooks& hooks, CLightControlUI* panel = nullptr);

  // Same mode is available while more than one device is connected; every panel is told.
  // Returns the availability.
  static bool UpdateSameModeAvailability(std::span<const LightPanelBinding> devices);

  // A device's record and music record arrived for its page: the mode list follows the
  // device's catalogue, then the panel shows both (music only for devices that have it).
  static void ShowDevice(CLightControlUI& panel, LightTarget& target, const LightInfo& light,
                         const AudioLightInfo& music);
};

}  // namespace qxr::editors

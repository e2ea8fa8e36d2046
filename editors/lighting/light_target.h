#pragma once
// What the lighting editor asks of the device behind a panel. The device stores every record
// it is given into its profile, saves the profile and sends the change to the hardware on its
// own thread: none of these calls waits for the device.
#include <span>
#include <string>
#include <vector>

#include "profile/records.h"

namespace qxr::editors {

struct ModeCatalogue {
  std::vector<std::string> names;
  std::vector<bool> visible;
  bool operator==(const ModeCatalogue&) const = default;
};

class LightTarget {
 public:
  virtual ~LightTarget() = default;

  // Device kind (1 keyboard, 2 or 6 mouse, 3 mouse pad, 7 headset).
  virtual int kind() const = 0;
  virtual bool connected() const = 0;
  virtual LightInfo light_info() const = 0;
  // The device takes the record: profile, save, send.
  virtual void commit_light(const LightInfo& light) = 0;
  virtual void set_synchronised(bool on) = 0;
  virtual bool synchronised() const = 0;
  // The modes the device's lighting configuration lists.
  virtual ModeCatalogue mode_catalogue() const = 0;

  // Music lighting (keyboards).
  virtual bool has_music() const { return false; }
  virtual AudioLightInfo audio_light() const { return {}; }
  virtual void commit_audio(const AudioLightInfo& audio) { (void)audio; }

  // Custom lighting (keyboards in the custom mode): the keys take the current colour (lit) or
  // go dark, and the group's colours are uploaded. False when the device has no such keys.
  virtual bool paint_keys(std::span<const int> keys, bool lit) {
    (void)keys, (void)lit;
    return false;
  }
};

}  // namespace qxr::editors

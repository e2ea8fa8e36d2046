#pragma once
// The settings block a mouse pad or headset keeps, and its traffic: read from the device,
// lighting taken from the profile, sent back. Thread-safe; the device's executor does the I/O.
#include <cstdint>
#include <mutex>

#include "devices/pad/pad_settings_block.h"
#include "protocol/command_channel.h"

namespace qxr::devices {

class PadSettings {
 public:
  // Reads the active onboard profile (1 byte at 0), then its block (26 bytes at p x 25). A
  // failed read keeps the stored block. out_profile receives p.
  int read(protocol::CommandChannel& channel, uint8_t* out_profile);
  // Sends the stored block for onboard profile p, bracketed by CMD_BEGIN and CMD_END. A block
  // never read from the device first fetches the device's own bytes (4, 9-20), so that sending
  // the profile's lighting does not overwrite them with zeros. The first failure is the result.
  int write(protocol::CommandChannel& channel, int onboard_profile);

  void take_light(const LightInfo& light);
  PadSettingsBlock block() const;
  PadSettingsBlock previous() const;
  bool read_from_device() const;
  LoopLightSettings light_settings(uint8_t fx) const;

 private:
  int fetch_device_bytes(protocol::CommandChannel& channel, int onboard_profile);

  mutable std::mutex mutex_;
  PadSettingsBlock block_{};
  PadSettingsBlock previous_{};
  bool read_ = false;
};

}  // namespace qxr::devices

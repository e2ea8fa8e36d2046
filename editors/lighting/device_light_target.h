#pragma once
// The lighting editor's view of a device object: each kind's way of taking a lighting record
// (profile, save, settings block) behind one interface.
#include "devices/usb_device.h"
#include "editors/lighting/light_target.h"

namespace qxr::devices {
class CMarluneKeyboardDevice;
class CLoopLightingDevice;
}  // namespace qxr::devices

namespace qxr::editors {

class DeviceLightTarget : public LightTarget {
 public:
  // The device must outlive this object.
  explicit DeviceLightTarget(devices::CMarluneUSBDevice& device);

  devices::CMarluneUSBDevice& device() { return device_; }

  int kind() const override;
  bool connected() const override;
  LightInfo light_info() const override;
  void commit_light(const LightInfo& light) override;
  void set_synchronised(bool on) override;
  bool synchronised() const override;
  ModeCatalogue mode_catalogue() const override;
  bool has_music() const override;
  AudioLightInfo audio_light() const override;
  void commit_audio(const AudioLightInfo& audio) override;
  bool paint_keys(std::span<const int> keys, bool lit) override;

 private:
  // Sends the settings block the way the device's kind does.
  void write_settings();

  devices::CMarluneUSBDevice& device_;
  devices::CMarluneKeyboardDevice* keyboard_;
  devices::CLoopLightingDevice* loop_;
};

}  // namespace qxr::editors

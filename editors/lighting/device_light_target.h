#pragma once
// The lighting editor's view of a device: its operations, as LightTarget names them.
#include "devices/device_operations.h"
#include "editors/lighting/light_target.h"

namespace qxr::editors {

class DeviceLightTarget : public LightTarget {
 public:
  // The device must outlive this object.
  explicit DeviceLightTarget(devices::DeviceOperations& device) : device_(device) {}

  devices::DeviceOperations& device() { return device_; }

  int kind() const override { return static_cast<int>(device_.get_kind()); }
  bool connected() const override { return device_.connected(); }
  LightInfo light_info() const override { return device_.GetLightInfo(); }
  void commit_light(const LightInfo& light) override;
  void set_synchronised(bool on) override { device_.set_synchronised(on); }
  bool synchronised() const override { return device_.synchronised(); }
  ModeCatalogue mode_catalogue() const override;
  bool has_music() const override { return device_.capabilities().music; }
  AudioLightInfo audio_light() const override { return device_.audio_light_info(); }
  void commit_audio(const AudioLightInfo& audio) override;
  bool paint_keys(std::span<const int> keys, bool lit) override { return device_.paint_custom_keys(keys, lit); }

 private:
  devices::DeviceOperations& device_;
};

}  // namespace qxr::editors

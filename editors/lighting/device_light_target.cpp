#include "editors/lighting/device_light_target.h"

#include "devices/headset/headset_device.h"
#include "devices/keyboard/keyboard_device.h"
#include "devices/mouse/mouse_device.h"
#include "devices/pad/pad_device.h"
#include "editors/lighting/light_edits.h"

namespace qxr::editors {

DeviceLightTarget::DeviceLightTarget(devices::CMarluneUSBDevice& device)
    : device_(device),
      keyboard_(dynamic_cast<devices::CMarluneKeyboardDevice*>(&device)),
      loop_(dynamic_cast<devices::CLoopLightingDevice*>(&device)) {}

int DeviceLightTarget::kind() const { return static_cast<int>(device_.get_kind()); }

bool DeviceLightTarget::connected() const { return device_.primary_channel().opened(); }

LightInfo DeviceLightTarget::light_info() const { return device_.GetLightInfo(); }

void DeviceLightTarget::commit_light(const LightInfo& light) {
  device_.set_lighting_state(light);
  write_settings();
}

void DeviceLightTarget::write_settings() {
  if (keyboard_ != nullptr) {
    keyboard_->write_settings();
  } else if (auto* mouse = dynamic_cast<devices::CMarluneMouseDevice*>(&device_)) {
    mouse->write_settings();
  } else if (auto* pad = dynamic_cast<devices::CMarluneMousePadDevice*>(&device_)) {
    pad->write_settings();
  } else if (auto* headset = dynamic_cast<devices::CMarluneZO6533Device*>(&device_)) {
    headset->write_settings();
  }
}

void DeviceLightTarget::set_synchronised(bool on) { device_.set_synchronised(on); }

bool DeviceLightTarget::synchronised() const { return device_.synchronised(); }

ModeCatalogue DeviceLightTarget::mode_catalogue() const {
  LightConfigLists lists;
  if (keyboard_ != nullptr) {
    lists = keyboard_->light_config();
  } else if (loop_ != nullptr) {
    lists = loop_->light_config();
  }
  ModeCatalogue catalogue;
  catalogue.names = std::move(lists.mode_names);
  catalogue.visible = std::move(lists.mode_visible);
  catalogue.visible.resize(catalogue.names.size(), false);
  return catalogue;
}

bool DeviceLightTarget::has_music() const { return keyboard_ != nullptr; }

AudioLightInfo DeviceLightTarget::audio_light() const {
  return keyboard_ != nullptr ? keyboard_->audio_light_info() : AudioLightInfo{};
}

void DeviceLightTarget::commit_audio(const AudioLightInfo& audio) {
  if (keyboard_ == nullptr) return;
  const ColourPair pair = colour_pair_of(audio);
  keyboard_->set_colour_pair(pair.first, pair.second, pair.selector);
}

bool DeviceLightTarget::paint_keys(std::span<const int> keys, bool lit) {
  if (keyboard_ == nullptr) return false;
  if (lit) {
    for (int key : keys) keyboard_->SetCustomKeyColour(key);
    return true;
  }
  // The keyboard paints a key with the record's colour as it stands when the paint runs on
  // its thread. For dark keys the record (and nothing else: the profile keeps the user's
  // colour) turns black until the profile is read back after the paints, in the same order;
  // a settings block sent meanwhile is sent again with the colour back.
  LightInfo dark = keyboard_->GetLightInfo();
  set_colour(dark, Rgb{});
  keyboard_->devices::CMarluneUSBDevice::set_lighting_state(dark);
  for (int key : keys) keyboard_->SetCustomKeyColour(key);
  keyboard_->load_profile();
  keyboard_->write_settings();
  return true;
}

}  // namespace qxr::editors

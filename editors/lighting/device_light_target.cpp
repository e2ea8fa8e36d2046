#include "editors/lighting/device_light_target.h"

#include "editors/lighting/light_edits.h"

namespace qxr::editors {

void DeviceLightTarget::commit_light(const LightInfo& light) {
  device_.set_lighting_state(light);
  device_.write_settings();
}

ModeCatalogue DeviceLightTarget::mode_catalogue() const {
  LightConfigLists lists = device_.light_config();
  ModeCatalogue catalogue;
  catalogue.names = std::move(lists.mode_names);
  catalogue.visible = std::move(lists.mode_visible);
  catalogue.visible.resize(catalogue.names.size(), false);
  return catalogue;
}

void DeviceLightTarget::commit_audio(const AudioLightInfo& audio) {
  if (!has_music()) return;
  const ColourPair pair = colour_pair_of(audio);
  device_.set_colour_pair(pair.first, pair.second, pair.selector);
}

}  // namespace qxr::editors

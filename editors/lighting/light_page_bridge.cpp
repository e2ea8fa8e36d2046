#include "editors/lighting/light_page_bridge.h"

#include "core/debug_line.h"
#include "editors/lighting/light_edits.h"

namespace qxr::editors {

LightPageBridge::LightPageBridge(QWidget* page, devices::DeviceOperations& device, int layout)
    : target_(std::make_unique<DeviceLightTarget>(device)) {
  if (page != nullptr) panel_ = page->findChild<CLightControlUI*>(QString::fromLatin1(kLightPanelName));
  if (panel_ == nullptr) return;
  panel_->ensure_built();
  panel_->SetDeviceKind(layout);
}

void LightPageBridge::show(const LightInfo& light, const AudioLightInfo& music) {
  if (panel_ != nullptr) LightEditor::ShowDevice(*panel_, *target_, light, music);
}

void LightPageBridge::select_custom_group(int group) {
  if (panel_ != nullptr) panel_->SelectCustomGroup(group);
}

void LightPageBridge::set_colour_pair(uint32_t first, uint32_t second, uint8_t selector) {
  if (panel_ == nullptr || !target_->has_music()) return;
  try {
    panel_->SetAudioLight(audio_of_colour_pair({first, second, selector}));
  } catch (const LightControlError& e) {
    debug_line(e.what());
  }
}

bool LightPageBridge::read_colour_pair(uint32_t& first, uint32_t& second, uint8_t& selector) {
  if (panel_ == nullptr || !target_->has_music()) return false;
  try {
    const ColourPair pair = colour_pair_of(panel_->GetAudioLight(false));
    first = pair.first;
    second = pair.second;
    selector = pair.selector;
    return true;
  } catch (const LightControlError& e) {
    debug_line(e.what());
    return false;
  }
}

bool LightPageBridge::notify(const ui::Notification& n, const LightEditorHooks& hooks) {
  if (panel_ == nullptr || n.sender == nullptr || !panel_->isAncestorOf(n.sender)) return false;
  return LightEditor::Notify(*panel_, *target_, n, hooks);
}

}  // namespace qxr::editors

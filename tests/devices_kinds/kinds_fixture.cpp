#include "tests/devices_kinds/kinds_fixture.h"

#include "profile/data_paths.h"

namespace qxr::devices::testing {

// ---- mouse page ----

void RecordingMousePage::set_dpi_ranges(int stage, int slider_max, int edit_max) {
  std::lock_guard lock(mutex_);
  dpi_[stage].slider_max = slider_max;
  dpi_[stage].edit_max = edit_max;
}

void RecordingMousePage::show_dpi_stage_enabled(int stage, bool on) {
  std::lock_guard lock(mutex_);
  dpi_[stage].enabled = on;
}

void RecordingMousePage::set_dpi_check_clickable(int stage, bool clickable) {
  std::lock_guard lock(mutex_);
  dpi_[stage].clickable = clickable;
}

void RecordingMousePage::show_dpi_value(int stage, int raw, const std::string& edit_text, bool current) {
  std::lock_guard lock(mutex_);
  dpi_[stage].raw = raw;
  dpi_[stage].edit_text = edit_text;
  dpi_[stage].current = current;
}

void RecordingMousePage::show_windows_settings(const MouseSystemStages& settings) {
  std::lock_guard lock(mutex_);
  windows_ = settings;
}

void RecordingMousePage::select_settings_tab(int page) {
  std::lock_guard lock(mutex_);
  tab_ = page;
}

void RecordingMousePage::show_logo_lights(std::span<const IndicatorColour> colours) {
  std::lock_guard lock(mutex_);
  logo_.assign(colours.begin(), colours.end());
}

void RecordingMousePage::show_logo_button(IndicatorColour colour) {
  std::lock_guard lock(mutex_);
  logo_button_ = colour;
}

void RecordingMousePage::redraw_key_panel() {
  std::lock_guard lock(mutex_);
  ++redraws_;
}

void RecordingMousePage::show_tip(bool visible) {
  std::lock_guard lock(mutex_);
  tip_ = visible;
}

RecordingMousePage::DpiView RecordingMousePage::dpi(int stage) const {
  std::lock_guard lock(mutex_);
  auto it = dpi_.find(stage);
  return it == dpi_.end() ? DpiView{} : it->second;
}

MouseSystemStages RecordingMousePage::windows() const {
  std::lock_guard lock(mutex_);
  return windows_;
}

int RecordingMousePage::selected_tab() const {
  std::lock_guard lock(mutex_);
  return tab_;
}

std::vector<IndicatorColour> RecordingMousePage::logo_lights() const {
  std::lock_guard lock(mutex_);
  return logo_;
}

std::optional<IndicatorColour> RecordingMousePage::logo_button() const {
  std::lock_guard lock(mutex_);
  return logo_button_;
}

int RecordingMousePage::redraws() const {
  std::lock_guard lock(mutex_);
  return redraws_;
}

std::optional<bool> RecordingMousePage::tip() const {
  std::lock_guard lock(mutex_);
  return tip_;
}

// ---- audio page ----

void RecordingAudioPage::ShowMessage(std::string_view text) {
  std::lock_guard lock(mutex_);
  messages_.emplace_back(text);
}
void RecordingAudioPage::SetVoiceChangerSwitch(bool) {}
void RecordingAudioPage::SelectVoiceOption(int) {}
void RecordingAudioPage::SelectEqPreset(int preset) {
  std::lock_guard lock(mutex_);
  preset_ = preset;
}
void RecordingAudioPage::ShowCustomEq(bool) {}
void RecordingAudioPage::SetBandValue(int band, int gain) {
  std::lock_guard lock(mutex_);
  bands_[band] = gain;
}
void RecordingAudioPage::SetMicSwitch(bool on) {
  std::lock_guard lock(mutex_);
  mic_switch_ = on;
}
void RecordingAudioPage::SetMonitorSwitch(bool) {}
void RecordingAudioPage::SetMicSlider(int percent) {
  std::lock_guard lock(mutex_);
  mic_slider_ = percent;
}
void RecordingAudioPage::SetMonitorSlider(int) {}
void RecordingAudioPage::ShowMicLevel(const std::string&) {}
void RecordingAudioPage::ShowMonitorLevel(const std::string&) {}
void RecordingAudioPage::SetCustomNameText(const std::string&) {}
void RecordingAudioPage::AddCustomName(const std::string& name) {
  std::lock_guard lock(mutex_);
  names_.push_back(name);
}
void RecordingAudioPage::SelectCustomName(int) {}
void RecordingAudioPage::RemoveCustom(int index) {
  std::lock_guard lock(mutex_);
  if (index >= 0 && static_cast<size_t>(index) < names_.size()) names_.erase(names_.begin() + index);
}
void RecordingAudioPage::ClearCustomNames() {
  std::lock_guard lock(mutex_);
  names_.clear();
}

std::vector<std::string> RecordingAudioPage::messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}
int RecordingAudioPage::preset() const {
  std::lock_guard lock(mutex_);
  return preset_;
}
std::map<int, int> RecordingAudioPage::bands() const {
  std::lock_guard lock(mutex_);
  return bands_;
}
bool RecordingAudioPage::mic_switch() const {
  std::lock_guard lock(mutex_);
  return mic_switch_;
}
int RecordingAudioPage::mic_slider() const {
  std::lock_guard lock(mutex_);
  return mic_slider_;
}
std::vector<std::string> RecordingAudioPage::names() const {
  std::lock_guard lock(mutex_);
  return names_;
}

// ---- fixture ----

std::string KindsTest::user_folder(const std::string& model) const { return UserDataFolder(model); }

}  // namespace qxr::devices::testing

// The mouse page's settings controls: DPI stages, polling rate, Windows-style settings, tabs.
#include <algorithm>

#include "devices/mouse/mouse_device.h"

namespace qxr::devices {

namespace {
bool stage_in(const std::vector<DpiStage>& stages, int stage) {
  return stage >= 0 && static_cast<size_t>(stage) < std::min(stages.size(), kMouseStageCount);
}
}  // namespace

// ---- UI-thread operations ----

void CMarluneMouseDevice::set_dpi_stage_enabled(int stage, bool on) {
  post_operation(DeviceOperation::WriteSettings, [=, this] { return set_dpi_stage_enabled_now(stage, on); });
}

void CMarluneMouseDevice::set_dpi_slider(int stage, int raw) {
  post_operation(DeviceOperation::WriteSettings,
                 [=, this] { return set_dpi_value_now(stage, clamp_dpi_raw(raw, dpi_limits())); });
}

void CMarluneMouseDevice::set_dpi_edit_text(int stage, std::string text) {
  post_operation(DeviceOperation::WriteSettings, [this, stage, text = std::move(text)] {
    const DpiLimits limits = dpi_limits();
    return set_dpi_value_now(stage, dpi_raw_for(dpi_edit_value(text, limits), limits));
  });
}

void CMarluneMouseDevice::set_polling_rate(int option) {
  post_operation(DeviceOperation::WriteSettings, [=, this] { return set_polling_rate_now(option); });
}

void CMarluneMouseDevice::set_windows_setting(MouseWindowsSetting setting, int value) {
  post_task([=, this] { set_windows_setting_now(setting, value); });
}

void CMarluneMouseDevice::SelectSettingsTab(int tab) {
  const int pages = mouse_page_.settings_tab_count();
  mouse_page_.select_settings_tab(tab >= 0 && tab < pages ? tab : 0);
}

void CMarluneMouseDevice::set_function_switch(int type) {
  CLoopLightingDevice::set_function_switch(type);
  mouse_page_.show_tip(false);
}

// ---- state ----

bool CMarluneMouseDevice::dpi_stage_enabled(int stage) const {
  std::lock_guard lock(state_mutex_);
  return stage_in(stages_, stage) && stages_[static_cast<size_t>(stage)].stage_active != 0;
}

int CMarluneMouseDevice::dpi_slider_value(int stage) const {
  std::lock_guard lock(state_mutex_);
  return stage_in(stages_, stage) ? stages_[static_cast<size_t>(stage)].DpiX() : 0;
}

std::string CMarluneMouseDevice::dpi_edit_text_of(int stage) const {
  return dpi_edit_text(static_cast<uint16_t>(dpi_slider_value(stage)), dpi_limits());
}

int CMarluneMouseDevice::windows_setting_value(MouseWindowsSetting setting) const {
  return windows_setting(system_stages(), setting);
}

// ---- the work ----

void CMarluneMouseDevice::show_dpi_stage(size_t stage, const std::vector<DpiStage>& stages, int current,
                                         const DpiLimits& limits) {
  const int i = static_cast<int>(stage);
  const uint16_t raw = stages[stage].DpiX();
  mouse_page_.show_dpi_stage_enabled(i, stages[stage].stage_active != 0);
  mouse_page_.show_dpi_value(i, raw, dpi_edit_text(raw, limits), i == current);
}

void CMarluneMouseDevice::show_dpi_checks(const std::vector<DpiStage>& stages) {
  const auto clickable = clickable_checks(stages);
  for (size_t i = 0; i < stages.size() && i < kMouseStageCount; ++i)
    mouse_page_.set_dpi_check_clickable(static_cast<int>(i), clickable[i]);
}

int CMarluneMouseDevice::store_stages_and_send(const std::vector<DpiStage>& stages) {
  {
    std::lock_guard lock(state_mutex_);
    stages_ = stages;
  }
  profile_.SetDpiStages(stages);
  save_profile_now();
  return write_settings_now();
}

int CMarluneMouseDevice::set_dpi_stage_enabled_now(int stage, bool on) {
  std::vector<DpiStage> stages = dpi_stages();
  if (!stage_in(stages, stage)) return protocol::kResultNoReply;
  const size_t s = static_cast<size_t>(stage);
  if (!on && !may_switch_off(stages, s)) {
    // The last active stage stays on; the check shows it again.
    mouse_page_.show_dpi_stage_enabled(stage, true);
    show_dpi_checks(stages);
    return protocol::kResultNoReply;
  }
  stages[s].stage_active = on ? 1 : 0;
  mouse_page_.show_dpi_stage_enabled(stage, on);
  show_dpi_checks(stages);
  return store_stages_and_send(stages);
}

int CMarluneMouseDevice::set_dpi_value_now(int stage, uint16_t raw) {
  std::vector<DpiStage> stages = dpi_stages();
  if (!stage_in(stages, stage)) return protocol::kResultNoReply;
  stages[static_cast<size_t>(stage)].SetDpiX(raw);
  show_dpi_stage(static_cast<size_t>(stage), stages, current_dpi_stage(), dpi_limits());
  return store_stages_and_send(stages);
}

int CMarluneMouseDevice::set_polling_rate_now(int option) {
  MouseSystemStages system;
  {
    std::lock_guard lock(state_mutex_);
    system_.report_rate = static_cast<uint16_t>(polling_option(option));
    system = system_;
  }
  profile_.SetMouseSystemStages(system);
  save_profile_now();
  page().set_polling_option(system.report_rate);
  return write_settings_now();
}

void CMarluneMouseDevice::set_windows_setting_now(MouseWindowsSetting setting, int value) {
  MouseSystemStages system;
  {
    std::lock_guard lock(state_mutex_);
    apply_windows_setting(system_, setting, value);
    system = system_;
  }
  profile_.SetMouseSystemStages(system);
  save_profile_now();
  mouse_page_.show_windows_settings(system);
}

}  // namespace qxr::devices

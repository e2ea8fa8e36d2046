#include "devices/loop/loop_lighting_device.h"

#include <algorithm>
#include <array>

#include "devices/lighting/shared_tables.h"
#include "profile/data_paths.h"

namespace qxr::devices {

CLoopLightingDevice::CLoopLightingDevice(DevicePage& page, Clock& clock, std::span<const LoopEffect> modes)
    : CMarluneUSBDevice(page, clock), lighting_(modes), light_thread_(lighting_, clock) {
  light_thread_.set_frame_hook([this] { send_light_frame(); });
}

CLoopLightingDevice::~CLoopLightingDevice() { CLoopLightingDevice::stop_device_threads(); }

void CLoopLightingDevice::stop_device_threads() {
  shutdown();
  light_thread_.stop();
  StopSyncThread();
}

// ---- UI-thread operations ----

void CLoopLightingDevice::set_lighting_state(const LightInfo& info) {
  // Visible at once to the next GetLightInfo, so quick successive edits build on each other.
  CMarluneUSBDevice::set_lighting_state(info);
  post_task([this, info] { store_lighting_now(info); });
}

void CLoopLightingDevice::store_lighting_now(const LightInfo& info) {
  profile_data()->SetLightInfo(info);
  save_profile_now();
  run_lighting_now(info);
}

void CLoopLightingDevice::run_lighting_now(const LightInfo& info) {
  // The record itself stays as the UI last set it: a newer edit may already be waiting.
  apply_lighting(info, false);
}

void CLoopLightingDevice::on_sync_request(uint16_t) {
  // The device changed its settings by itself; the owner's read timer re-reads them.
  page().request_refresh(kLoopSyncRefreshDelayMs);
}

std::vector<PerLedRecord> CLoopLightingDevice::led_records() const {
  std::lock_guard lock(state_mutex_);
  return led_records_;
}

// ---- profile ----

int CLoopLightingDevice::ApplyProfileLighting() {
  std::vector<PerLedRecord> records = profile_data()->GetLightList();
  {
    std::lock_guard lock(state_mutex_);
    led_records_ = std::move(records);
  }
  apply_lighting(profile_data()->GetLightInfo(), true);
  return protocol::kResultOk;
}

void CLoopLightingDevice::apply_lighting(const LightInfo& light, bool take_record) {
  if (take_record) {
    std::lock_guard lock(state_mutex_);
    light_info_ = light;
  }
  sync_led_count();
  run_settings(run_settings_for(light));
  load_program();
}

void CLoopLightingDevice::load_program() {
  CBasicProfiledata& profile = *profile_data();
  profile.LoadConfig(profile.GetConfigPath());
  std::vector<lighting::LightProgramStep> steps;
  for (const LightEffectStep& e : profile.GetLightEffectList()) steps.push_back(lighting::program_step_from_effect(e));
  lighting_.set_program_steps(std::move(steps));
  light_thread_.poke();
}

void CLoopLightingDevice::run_settings(const LoopLightSettings& settings) {
  lighting_.set_settings(settings);
  light_thread_.poke();
}

void CLoopLightingDevice::sync_led_count() {
  const size_t count = std::min(led_count(), kMaxLoopLeds);
  if (lighting_.led_count() == count) return;
  lighting_.set_led_count(count);
  light_thread_.poke();
}

void CLoopLightingDevice::start_light_thread() {
  sync_led_count();
  light_thread_.start(
      [this] { return get_host_lighting() && primary_channel().opened() && !primary_channel().synchronised(); });
}

// ---- light frame ----

LoopFrame CLoopLightingDevice::show_frame() {
  sync_led_count();
  LoopFrame frame;
  lighting_.read_frame(frame);
  std::array<IndicatorColour, kMaxLoopLeds> shown;
  for (size_t i = 0; i < frame.count; ++i) {
    const LedRecord& r = frame.leds[i];
    shown[i] = {r.red, r.green, r.blue, r.brightness};
  }
  page().show_indicators(std::span<const IndicatorColour>(shown.data(), frame.count));
  return frame;
}

void CLoopLightingDevice::stream_loop_frame(const LoopFrame& frame) {
  std::array<uint8_t, kLightFrameBytes> buffer{};
  const size_t count = std::min(frame.count, kLightFrameMaxLeds);
  for (size_t i = 0; i < count; ++i) {
    const LedRecord& r = frame.leds[i];
    buffer[i * kLedBytes] = lighting::scale8(r.red, r.brightness);
    buffer[i * kLedBytes + 1] = lighting::scale8(r.green, r.brightness);
    buffer[i * kLedBytes + 2] = lighting::scale8(r.blue, r.brightness);
  }
  if (count > 0) stream_frame(buffer.data(), count * kLedBytes);
}

void CLoopLightingDevice::send_light_frame_now() {
  if (!get_host_lighting()) return;
  stream_loop_frame(show_frame());
}

}  // namespace qxr::devices

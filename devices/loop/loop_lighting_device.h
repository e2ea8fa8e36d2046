#pragma once
// What the mouse, the mouse pad and the headset share on top of the device base: a profile
// file, a lighting model stepped by a loop-counting light thread, the lighting program and
// per-LED records from the profile, the light-frame refresh and the sync thread that reacts to
// the device's own settings changes.
//
// As with the keyboard, everything that reads or writes the profile or talks to the device
// runs on the device's executor; the UI-thread operations only post.
#include <span>
#include <string>
#include <vector>

#include "devices/loop/loop_light_thread.h"
#include "devices/loop/loop_lighting.h"
#include "devices/usb_device.h"
#include "profile/profile_data.h"

namespace qxr::devices {

// Delay before the owner's read timer re-reads a device that reported a settings change.
inline constexpr int kLoopSyncRefreshDelayMs = 500;

class CLoopLightingDevice : public CMarluneUSBDevice {
 public:
  // modes: the kind's mode table; it must outlive the device.
  CLoopLightingDevice(DevicePage& page, Clock& clock, std::span<const LoopEffect> modes);
  ~CLoopLightingDevice() override;

  // Lighting panel: stores into the profile (on the executor) and runs the new settings.
  void set_lighting_state(const LightInfo& info) override;

  // --- state for the page, the editors and tests ---
  LoopLighting& lighting() { return lighting_; }
  const LoopLightThread& light_thread() const { return light_thread_; }
  bool light_thread_running() const override { return light_thread_.running(); }
  // The profile's "LightList", as last loaded.
  std::vector<PerLedRecord> led_records() const;

  // --- the work itself (executor thread, tests) ---
  // LightInfo, per-LED records and lighting program from the profile; the kind's run settings.
  int ApplyProfileLighting() override;
  // Indicators, then the frame streamed to the device (not in receiver mode).
  void send_light_frame_now() override;

 protected:
  void stop_light_thread() override { light_thread_.stop(); }
  void name_light_thread(const std::string& name) override { light_thread_.set_name(name); }
  void poke_light_thread() override { light_thread_.poke(); }
  uint64_t frame_version() const override { return lighting_.frame_version(); }
  // The settings the light thread runs for a lighting record (the profile's or the panel's).
  virtual LoopLightSettings run_settings_for(const LightInfo& light) = 0;
  // Model and light thread take new settings.
  void run_settings(const LoopLightSettings& settings);
  void start_light_thread();
  // The model's frame (sized to the device's LED count), shown on the page's indicators.
  LoopFrame show_frame();
  // Streams a frame with CMD_LIGHT_STREAM, three scaled bytes per LED.
  void stream_loop_frame(const LoopFrame& frame);
  void on_sync_request(uint16_t code) override;
  // The most derived destructor calls this first: no queued work, light step or device event
  // may reach a kind whose members are going away.
  void stop_device_threads() override;
  // Runs a lighting record (and its lighting program); take_record also makes it the device's
  // lighting record.
  void apply_lighting(const LightInfo& light, bool take_record);

 private:
  void store_lighting_now(const LightInfo& info);
  void run_lighting_now(const LightInfo& info) override;
  void sync_led_count();
  void load_program();

  LoopLighting lighting_;
  LoopLightThread light_thread_;

  // Under state_mutex_.
  std::vector<PerLedRecord> led_records_;
};

}  // namespace qxr::devices

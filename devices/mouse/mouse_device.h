#pragma once
// CMarluneMouseDevice: the mouse's device object, wired or behind its wireless receiver. It
// learns where each logical button sits, keeps the profile's button assignments, DPI stages,
// polling rate and lighting in step with the mouse, sends the recoil scripts and runs the
// mouse's lighting model. Through the receiver (the channel's receiver mode) every command
// sequence waits for the mouse to answer the link query as ready; when it does not, the
// sequence stops there and reports 0.
//
// As for every kind, profile and device work run on the executor; the UI-thread operations
// below only post.
#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "devices/mouse/dpi_stages.h"
#include "devices/mouse/mouse_key_codes.h"
#include "devices/mouse/mouse_page.h"
#include "devices/mouse/mouse_settings_block.h"
#include "devices/mouse/mouse_windows_settings.h"
#include "devices/loop/loop_lighting_device.h"
#include "profile/mouse_profile_data.h"

namespace qxr::devices {

class CMarluneMouseDevice : public CLoopLightingDevice, public RecoilScripts, public PointerSettings {
 public:
  CMarluneMouseDevice(DevicePage& page, MousePage& mouse_page, Clock& clock = system_clock());
  ~CMarluneMouseDevice() override;

  DeviceCapabilities capabilities() const override;
  KeyAssignments* key_assignments() override { return this; }
  MacroList* macro_list() override { return this; }
  RecoilScripts* recoil_scripts() override { return this; }
  PointerSettings* pointer_settings() override { return this; }

  // --- UI-thread operations ---
  // The base's binding, then settings tab 0.
  void bind_page_controls() override;
  // The primary screen's size, sent with every settings block; a change while connected sends
  // the block again.
  void set_screen_size(uint16_t width, uint16_t height) override;
  // Recoil panel's apply; done (optional) receives the result on the executor.
  void SendShootScripts(std::function<void(int)> done = {}) override;
  std::string recoil_folder() const override { return user_data_folder(); }
  std::string factory_recoil_folder() const override { return default_data_folder(); }

  // DPI stage controls: each change goes to the profile, is saved and sent.
  void set_dpi_stage_enabled(int stage, bool on) override;
  void set_dpi_slider(int stage, int raw) override;
  void set_dpi_edit_text(int stage, std::string text) override;
  // Polling-rate option 0-4: profile, save, settings block.
  void set_polling_rate(int option) override;
  // Windows-style settings: profile and save only.
  void set_windows_setting(MouseWindowsSetting setting, int value) override;
  void SelectSettingsTab(int tab) override;
  void set_function_switch(int type) override;

  // --- state for the page, the editors and tests ---
  MousePositionMap position_map() const;
  std::vector<DpiStage> dpi_stages() const;
  int current_dpi_stage() const;
  MouseSystemStages system_stages() const;
  DpiLimits dpi_limits() const override;
  MouseBlockRead last_settings_block() const;
  bool dpi_stage_enabled(int stage) const;
  int dpi_slider_value(int stage) const;
  std::string dpi_edit_text_of(int stage) const;
  int windows_setting_value(MouseWindowsSetting setting) const;

  // --- the work itself (executor thread, tests) ---
  // Tables (information, key codes), profile, page, light thread.
  int connect_now() override;
  int refresh_from_device_now(int* out_profile) override;
  void send_light_frame_now() override;
  void apply_profile_to_page_now() override;
  int apply_profile_now() override;
  int write_settings_now(const SettingsWrite& write = {}) override;
  int write_key_assignments_now(int onboard_profile, const std::vector<KeyAssignRecord>& keys) override;
  int send_shoot_scripts_now();
  // 1, or 0 when the change was refused (the last active stage, a stage the profile lacks).
  int set_dpi_stage_enabled_now(int stage, bool on);
  int set_dpi_value_now(int stage, uint16_t raw);
  int set_polling_rate_now(int option);
  void set_windows_setting_now(MouseWindowsSetting setting, int value);

 protected:
  CBasicProfiledata* profile_data() override { return &profile_; }
  void take_profile_state() override;
  LoopLightSettings run_settings_for(const LightInfo& light) override;

 private:
  // Wired: always; through the receiver: the mouse answers the link query as ready.
  bool link_ready();
  int read_tables();
  void show_dpi_stage(size_t stage, const std::vector<DpiStage>& stages, int current, const DpiLimits& limits);
  void show_dpi_checks(const std::vector<DpiStage>& stages);
  int store_stages_and_send(const std::vector<DpiStage>& stages);

  MousePage& mouse_page_;
  CMouseProfiledata profile_;
  std::atomic<uint32_t> screen_size_{0};  // width | height << 16

  // Under state_mutex_.
  std::vector<uint8_t> key_table_;  // KeyCount x 3, as read at connect
  MousePositionMap map_{};
  std::vector<DpiStage> stages_;
  int current_stage_ = 0;
  MouseSystemStages system_;
  MouseBlockRead last_block_{};
};

}  // namespace qxr::devices

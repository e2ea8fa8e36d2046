#pragma once
// CMarluneKeyboardDevice: the keyboard's device object. It learns where each logical key sits
// on the connected keyboard, translates between the profile and the keyboard's own tables
// (settings block, key table, macro image, custom colours), runs the host-side lighting model
// on its light thread and listens for the keyboard's own events on the sync thread.
//
// Everything that reads or writes the profile or talks to the keyboard runs on the device's
// executor; the UI-thread operations below only post. State the other threads read (lighting
// record, maps, key list) is guarded by the base's state lock.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "devices/keyboard/key_maps.h"
#include "devices/keyboard/keyboard_light_thread.h"
#include "devices/keyboard/settings_block.h"
#include "devices/keyboard/system_settings.h"
#include "devices/lighting/keyboard_lighting.h"
#include "devices/usb_device.h"
#include "profile/keyboard_profile_data.h"

namespace qxr::devices {

inline constexpr const char* kKeyboardClassName = "MarluneKeyboardDevice";
inline constexpr uint8_t kCustomMode = lighting::kModeCustom;
inline constexpr uint8_t kMusicMode = lighting::kModeMusic;
inline constexpr uint8_t kFedColourMode = lighting::kModeFedColour;
// Each custom group has one 512-byte colour table on the keyboard.
inline constexpr uint32_t kCustomColourSlotSize = 512;

class CMarluneKeyboardDevice : public CMarluneUSBDevice, public SystemSettings {
 public:
  explicit CMarluneKeyboardDevice(DevicePage& page, Clock& clock = system_clock());
  ~CMarluneKeyboardDevice() override;

  DeviceCapabilities capabilities() const override;
  KeyAssignments* key_assignments() override { return this; }
  MacroList* macro_list() override { return this; }
  SystemSettings* system_settings() override { return this; }

  // --- UI-thread operations (post to the executor) ---
  void write_key_assignments(int onboard_profile, std::vector<KeyAssignRecord> keys);
  void write_macros(std::vector<int> macro_indices);
  void SetCustomKeyColour(int key);
  void set_system_setting(SystemSetting setting, int value) override;
  void reset_system_settings(bool repeat_only) override;
  bool paint_custom_keys(std::span<const int> keys, bool lit) override;

  // Lighting panel: stores into the profile (on the executor) and runs the new settings.
  void set_lighting_state(const LightInfo& info) override;
  void set_colour_pair(uint32_t first, uint32_t second, uint8_t selector) override;

  // Macro indices used by the keys, in the order write_key_assignments numbers their slots.
  // Reads the macro list file; safe on the UI thread.
  std::vector<int> collect_key_items() const override;

  // The owner's synchronised lighting: every key shows led (on the page, and in the streamed
  // modes on the keyboard).
  void show_synchronised(const LedRecord& led) override { lighting_.show_uniform(led); }

  // Music lighting (audio thread). level is carried for the caller's sake; the model keeps
  // its own running average of the bands.
  void FeedSpectrum(const int32_t* bands, size_t count, int level) override;
  void FeedLevels(const uint8_t* values, size_t count) override;
  // A key event of the keyboard at position k (sync thread): 1 pressed, 2 released. Positions
  // that no logical key uses are ignored.
  virtual void OnKeyEvent(uint8_t position, int state);
  // Starts the reactive effect of the current mode at a logical key.
  virtual void StartReactive(size_t logical_key, int state);

  void stop_device_threads() override;
  bool light_thread_running() const override { return light_thread_.running(); }

  // --- state for the page and the editors ---
  KeyboardSystemStages system_stages() const;
  KeyMaps key_maps() const;
  AudioLightInfo audio_light_info() const override;
  CondensedSettings condensed_settings() const;
  KeyboardSettingsBlock last_settings_block() const;
  std::vector<CustomColour> custom_colours() const;
  lighting::KeyboardLighting& lighting() { return lighting_; }
  const KeyboardLightThread& light_thread() const { return light_thread_; }

  // --- the work itself (executor thread, tests) ---
  int connect_now() override;
  int refresh_from_device_now(int* out_profile) override;
  void send_light_frame_now() override;
  // The timer's frame, or a music frame (light thread's request, music modes).
  void send_frame_now(bool music_frame);
  int apply_profile_now() override;
  int ApplyProfileLighting() override;
  void apply_profile_to_page_now() override;
  int write_settings_now(const SettingsWrite& write = {}) override;
  int write_key_assignments_now(int onboard_profile, const std::vector<KeyAssignRecord>& keys) override;
  int write_macros_now(const std::vector<int>& macro_indices) override;
  int set_custom_key_colour_now(int key);
  int upload_custom_colours_now();

 protected:
  void on_sync_request(uint16_t code) override;
  void on_device_key(uint8_t position, int state) override;
  CBasicProfiledata* profile_data() override { return &profile_; }
  void take_profile_state() override;
  bool reads_mode_values() const override { return true; }
  void stop_light_thread() override { light_thread_.stop(); }
  void name_light_thread(const std::string& name) override { light_thread_.set_name(name); }
  void poke_light_thread() override { light_thread_.poke(); }
  uint64_t frame_version() const override { return lighting_.frame_version(); }
  // Only the streamed modes send frames; the others are the keyboard's own, shown on the page.
  bool frame_goes_to_device() const override;
  void show_frame_on_page() override;

 private:
  int read_key_tables();
  // "SystemStages": profile, save, settings block.
  int store_system_stages_now(const KeyboardSystemStages& stages);
  void prepare_mode(const LightInfo& light);
  // Hands the settings the light thread runs to the model.
  void run_settings(const CondensedSettings& settings, bool prepare);
  // Runs the lighting of light; take_record also makes it the device's lighting record.
  void apply_lighting(const LightInfo& light, bool take_record);
  void store_lighting_now(const LightInfo& info);
  void run_lighting_now(const LightInfo& info) override;
  void show_temporary_now(const LightInfo& info) override;
  size_t macro_count_from_file() const;
  std::vector<int> mode_table() const;

  lighting::KeyboardLighting lighting_;
  KeyboardLightThread light_thread_;
  // Only the executor touches the profile object.
  CKeyboardProfiledata profile_;

  // Under state_mutex_.
  KeyMaps maps_;
  std::vector<uint8_t> key_table_;  // KeyCount x 3, as read at connect
  std::vector<uint8_t> led_table_;  // KeyCount
  KeyboardSystemStages stages_;
  AudioLightInfo audio_;
  CondensedSettings condensed_;
  KeyboardSettingsBlock last_block_{};
  std::vector<CustomColour> custom_colours_;
};

}  // namespace qxr::devices

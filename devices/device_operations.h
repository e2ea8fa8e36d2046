#pragma once
// What pages and editors ask of a device, whatever its kind. The groups only some kinds have
// (keys, macros, recoil scripts, the keyboard's system settings, the mouse's pointer settings,
// the headset's sound) are interfaces of their own, reached through this one: nullptr when the
// kind lacks the group, which is also what capabilities() reports.
//
// UI thread. Calls that reach the device or its profile are posted to the device's executor and
// return at once; results come back through DevicePage.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "devices/keyboard/system_settings.h"
#include "devices/mouse/dpi_stages.h"
#include "devices/mouse/mouse_windows_settings.h"
#include "profile/light_config.h"
#include "profile/records.h"

namespace qxr::audio {
class HeadsetAudioControls;
}

namespace qxr::devices {

// What a settings write carries besides the device's own state. Every caller today sends the
// defaults.
struct SettingsWrite {
  int onboard_profile = 0;
  int profile_byte = 0;
  int third_value = 1;  // the mouse's settings block, byte 59
};

struct DeviceCapabilities {
  bool keys = false;          // key assignments
  bool macros = false;        // a macro list the keys can play
  bool macro_upload = false;  // the macro image goes to the device
  bool recoil = false;        // recoil scripts
  bool audio = false;         // sound and voice of a headset
  bool power_status = false;  // a status the owner polls for the power panel
  bool music = false;         // lighting that follows the computer's sound
  bool system_settings = false;
  bool pointer_settings = false;
  bool operator==(const DeviceCapabilities&) const = default;
};

// The assignments of a device's keys (keyboard, mouse).
class KeyAssignments {
 public:
  virtual ~KeyAssignments() = default;
  // Current and default assignment of every key, as last loaded or changed.
  virtual std::vector<KeyAssignRecord> key_list() const = 0;
  // The key the key panel edits (-1: none).
  virtual void select_key(int key) = 0;
  virtual int selected_key() const = 0;
  // The selected key's record; nothing when no key of the list is selected.
  virtual std::optional<KeyAssignRecord> selected_key_record() const = 0;
  // The selected key takes the assignment (or its default): profile, save, key table sent.
  virtual void assign_selected_key(uint8_t type, uint8_t d1, uint8_t d2) = 0;
  virtual void restore_selected_key_default() = 0;
  // A whole list from the key panel: profile and save, nothing sent.
  virtual void store_key_list(std::vector<KeyAssignRecord> keys) = 0;
  // The profile's key list to the device; the result comes as WriteKeyAssignments.
  virtual void SendProfileKeys(int onboard_profile = 0) = 0;
  // Keys playing a macro that no longer exists take their default again.
  virtual void CheckMacroKeys() = 0;
};

// The macros a device's keys can play.
class MacroList {
 public:
  virtual ~MacroList() = default;
  // Names of "macro.config", as last read.
  virtual std::vector<std::string> macro_names() const = 0;
  // Where "macro.config" and the macro files lie (ends with a separator).
  virtual std::string macro_folder() const = 0;
  // The list changed on disk: the names are read again and the key labels follow.
  virtual void reload_macro_names() = 0;
  // The macros the keys use, to the device where the kind keeps them; the result comes as
  // WriteMacros (0 sent or nothing to send, -1 out of memory or refused, n > 0 overflow).
  virtual void send_macros() = 0;
};

// The mouse's recoil scripts.
class RecoilScripts {
 public:
  virtual ~RecoilScripts() = default;
  // Where the four scripts lie, and the factory scripts they start from (end with a separator).
  virtual std::string recoil_folder() const = 0;
  virtual std::string factory_recoil_folder() const = 0;
  // The four scripts of the device folder to the mouse; done (optional) gets the result on the
  // device's thread.
  virtual void SendShootScripts(std::function<void(int)> done = {}) = 0;
};

// The keyboard's system settings (polling rate, repeat, flags).
class SystemSettings {
 public:
  virtual ~SystemSettings() = default;
  // A control changed: profile, save, settings block.
  virtual void set_system_setting(SystemSetting setting, int value) = 0;
  // Back to the default profile's values (only the repeat settings when repeat_only), shown and
  // sent.
  virtual void reset_system_settings(bool repeat_only) = 0;
};

// The mouse's DPI stages, polling rate, pointer settings and settings tabs.
class PointerSettings {
 public:
  virtual ~PointerSettings() = default;
  virtual void set_dpi_stage_enabled(int stage, bool on) = 0;
  virtual void set_dpi_slider(int stage, int raw) = 0;
  virtual void set_dpi_edit_text(int stage, std::string text) = 0;
  virtual void set_polling_rate(int option) = 0;
  virtual void set_windows_setting(MouseWindowsSetting setting, int value) = 0;
  virtual void SelectSettingsTab(int tab) = 0;
  virtual DpiLimits dpi_limits() const = 0;
};

class DeviceOperations {
 public:
  virtual ~DeviceOperations() = default;

  virtual uint32_t get_kind() const = 0;
  virtual DeviceCapabilities capabilities() const = 0;
  // The primary interface is open.
  virtual bool connected() const = 0;

  // --- profile ---
  // Selects the profile file (device folder + id + ".Json"); the next load reads it.
  virtual void set_profile_id(const std::string& id) = 0;
  // After a profile selection or reset: loads the selected profile, shows it and sends it. The
  // result comes as WriteMacros: the macro upload's where the kind has one, otherwise 0.
  virtual void apply_selected_profile() = 0;
  virtual void load_profile() = 0;
  virtual void SaveProfile() = 0;
  // The kind's settings record to the device; the result comes as WriteSettings.
  virtual void write_settings(const SettingsWrite& write = {}) = 0;
  // The primary screen's size, for the kinds that send it with their settings.
  virtual void set_screen_size(uint16_t width, uint16_t height) = 0;

  // --- lighting ---
  virtual LightInfo GetLightInfo() const = 0;
  // Stores the record (into the profile too, where the kind has one) and runs it. It is the
  // user's choice: a temporary record shown before is over.
  virtual void set_lighting_state(const LightInfo& info) = 0;
  // Runs the record, sends it with the kind's settings and shows it on the page, for a while (a
  // game's event): the profile keeps the user's record. The result comes as WriteSettings.
  virtual void show_temporary_lighting(const LightInfo& info) = 0;
  // Back to the user's record, run, sent and shown; nothing when no temporary record is shown.
  virtual void end_temporary_lighting() = 0;
  virtual bool temporary_lighting() const = 0;
  virtual LightConfigLists light_config() const = 0;
  // The music record (kinds whose lighting follows music; empty for the others).
  virtual AudioLightInfo audio_light_info() const = 0;
  virtual void set_colour_pair(uint32_t first, uint32_t second, uint8_t selector) = 0;
  // Custom per-key colours: the keys take the current colour (lit) or go dark and the group is
  // uploaded. False when the kind has no such keys.
  virtual bool paint_custom_keys(std::span<const int> keys, bool lit) = 0;
  virtual void set_synchronised(bool on) = 0;
  virtual bool synchronised() const = 0;
  // Music lighting feeds the kinds with capabilities().music; any thread, never waits. Band
  // magnitudes: the first 25 values are taken. Levels: up to 6.
  virtual void FeedSpectrum(const int32_t* bands, size_t count, int level) = 0;
  virtual void FeedLevels(const uint8_t* values, size_t count) = 0;

  // --- the groups of some kinds ---
  virtual KeyAssignments* key_assignments() { return nullptr; }
  virtual MacroList* macro_list() { return nullptr; }
  virtual RecoilScripts* recoil_scripts() { return nullptr; }
  virtual SystemSettings* system_settings() { return nullptr; }
  virtual PointerSettings* pointer_settings() { return nullptr; }
  virtual audio::HeadsetAudioControls* audio_controls() { return nullptr; }
};

}  // namespace qxr::devices

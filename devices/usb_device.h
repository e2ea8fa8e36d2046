#pragma once
// CMarluneUSBDevice: what every device kind has. Two command channels (the primary carries
// all commands, the secondary's interface is only read by the event thread), the device's
// information block, kind and slot record, LED frame and lighting state, the folders of its
// data files, the profile file and the name lists shared by its profiles, a serial executor and
// the event thread. It implements DeviceOperations for every kind: the kinds fill in the
// virtual work below, and the key and macro groups for the kinds that offer them.
//
// Threads. The UI thread calls the public operations; those that touch the device post their
// work to the device's executor and return at once, so a stalled device never freezes the
// window. Results and page updates come back through DevicePage. The *_now operations do the
// work on the calling thread: the executor runs them, and tests may call them directly.
// The event thread reads the secondary interface and dispatches the device's own events.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/serial_executor.h"
#include "core/worker_thread.h"
#include "devices/device_kind.h"
#include "devices/device_operations.h"
#include "devices/device_page.h"
#include "devices/frame_repeat_filter.h"
#include "devices/lighting/base_effects.h"
#include "devices/lighting/effect_step.h"
#include "devices/lighting/key_glow.h"
#include "devices/lighting/light_program.h"
#include "hid/supported_interfaces.h"
#include "profile/light_config.h"
#include "profile/profile_data.h"
#include "profile/records.h"
#include "protocol/command_channel.h"

namespace qxr::devices {

// One LED of the frame host-driven lighting sends: colour and brightness (0-255).
using LedRecord = lighting::LedRecord;

inline constexpr size_t kInfoBlockSize = protocol::kInfoSize;
inline constexpr size_t kInfoKeyCount = 5;       // information byte: number of keys
inline constexpr size_t kInfoMacroCapacity = 6;  // information byte: macro space in 128-byte units
// A light frame travels as 3 bytes per LED in one 512-byte area: LEDs 0-169.
inline constexpr size_t kLightFrameBytes = 512;
inline constexpr size_t kLightFrameMaxLeds = 170;
inline constexpr size_t kLedBytes = 3;
// After a failed light frame or colour upload, a busy device is left alone this long.
inline constexpr int kFailurePauseMs = 200;
// The event thread's wait while its interface is closed or after a failed read.
inline constexpr int kEventRetryMs = 100;

// Device event codes (first usage of a secondary-interface report).
inline constexpr uint16_t kEventSyncRequest = 0x0401;
inline constexpr uint16_t kEventSettingsChanged = 0x0402;
inline constexpr uint16_t kEventKeyPressBase = 0x0500;
inline constexpr uint16_t kEventKeyReleaseBase = 0x0600;
inline constexpr int kKeyPressed = 1;
inline constexpr int kKeyReleased = 2;

inline constexpr const char* kSyncRequestLine = "接收到自动添加设备的同步信息要求";
inline constexpr const char* kSyncReportLine = "接收到自动添加设备的同步信息要求  TEST";
inline constexpr const char* kEventThreadExitLine = "MS设备同步线程设定退出";

class CMarluneUSBDevice : public DeviceOperations, public KeyAssignments, public MacroList {
 public:
  // The page must outlive the device; clock drives the failure pauses (tests use ManualClock).
  explicit CMarluneUSBDevice(DevicePage& page, Clock& clock = system_clock());
  virtual ~CMarluneUSBDevice();
  CMarluneUSBDevice(const CMarluneUSBDevice&) = delete;
  CMarluneUSBDevice& operator=(const CMarluneUSBDevice&) = delete;

  // --- channels, kind, slot ---
  protocol::CommandChannel& primary_channel() { return primary_; }
  protocol::CommandChannel& secondary_channel() { return secondary_; }
  uint32_t get_kind() const override { return kind_.load(); }
  // Only what every kind shares (the power panel); each kind adds its own.
  DeviceCapabilities capabilities() const override;
  bool connected() const override { return primary_.opened(); }
  uint32_t get_role() const { return role_.load(); }
  void set_kind_and_role(uint32_t kind, uint32_t role);
  // Copies the slot record and takes kind and role from it.
  void attach_slot(const hid::DeviceSlot& slot);
  hid::DeviceSlot slot() const;

  // Arrival and removal (device manager). Opening and closing take the channel's I/O lock.
  // The slot form opens the slot's path, puts a receiver-mouse channel into receiver mode and
  // attaches the slot.
  bool open_primary(const hid::DeviceSlot& slot);
  bool open_primary(const std::string& path, bool receiver_mode);
  void close_primary();
  bool open_secondary(const std::string& path);
  void close_secondary();
  // Secondary interface and the event thread reading it (device manager).
  bool StartSyncThread(const std::string& path);
  WorkerThread::StopOutcome StopSyncThread();
  // Removal: both threads stop, both channels close; the page can connect again later.
  void on_disconnected();
  // The event thread reading the secondary interface.
  bool start_event_thread();
  WorkerThread::StopOutcome stop_event_thread();
  bool event_thread_running() const { return event_thread_.running(); }

  // --- flags ---
  // When on and the device is a keyboard, the keyboard is told to take frames from the host.
  void set_host_lighting(bool on);
  bool get_host_lighting() const { return host_lighting_.load(); }
  void set_ui_flag(bool on) { ui_flag_.store(on); }
  bool get_ui_flag() const { return ui_flag_.load(); }
  // Set while the owner's synchronised lighting drives this page; the light thread idles.
  void set_synchronised(bool on) override {
    primary_.set_synchronised(on);
    poke_light_thread();
  }
  bool synchronised() const override { return primary_.synchronised(); }

  // Names the device's threads after owner ("keyboard"): "keyboard exec", "keyboard events",
  // "keyboard light", "keyboard writer" (device manager, at page creation).
  void set_thread_owner(const std::string& owner);

  // --- model data (device manager, at page creation) ---
  void set_key_count(size_t n);
  void set_led_count(size_t n);
  size_t key_count() const;
  size_t led_count() const;
  void set_page_file(const std::string& file);
  std::string page_file() const;
  void set_descriptions(const std::string& first, const std::string& second);
  std::pair<std::string, std::string> descriptions() const;
  void set_model_folder(const std::string& folder);
  std::string model_folder() const;
  // Non-zero: the owner polls read_device_status every 5 s.
  void set_power_mode(int mode) { power_mode_.store(mode); }
  int power_mode() const { return power_mode_.load(); }

  // --- data paths ---
  std::string default_data_folder() const;
  std::string default_profile_path() const;
  // Created when missing.
  std::string user_data_folder() const;

  // --- executor ---
  // Waits until every operation posted so far has run.
  void drain() { executor_.drain(); }
  DevicePage& page() { return page_; }

  // --- LED frame ---
  virtual void set_led(size_t index, const LedRecord& record);
  // The owner's synchronised lighting: every light of the device shows led.
  virtual void show_synchronised(const LedRecord& led);
  virtual LedRecord get_led(size_t index) const;
  std::vector<LedRecord> led_frame() const;

  // --- profile (UI thread: post to the executor) ---
  void set_profile_id(const std::string& id) override;
  std::string profile_path() const;
  void apply_selected_profile() override;
  void load_profile() override;
  void load_default_profile();
  void apply_profile_to_page();
  void SaveProfile() override;
  void write_settings(const SettingsWrite& write = {}) override;
  void set_screen_size(uint16_t width, uint16_t height) override { (void)width, (void)height; }
  // Names shared by the device's profiles (macros, modes, areas, custom effects), as last read.
  LightConfigLists light_config() const override;

  // --- lighting state ---
  LightInfo GetLightInfo() const override;
  // Stores the record. Kinds with a profile store it there as well.
  void set_lighting_state(const LightInfo& info) override;
  void show_temporary_lighting(const LightInfo& info) override;
  void end_temporary_lighting() override;
  bool temporary_lighting() const override;
  void set_colour_pair(uint32_t first, uint32_t second, uint8_t selector) override;
  AudioLightInfo audio_light_info() const override { return {}; }
  bool paint_custom_keys(std::span<const int> keys, bool lit) override {
    (void)keys, (void)lit;
    return false;
  }
  // Reads the pair from the page's colour picker (kept values when it has none).
  virtual void get_colour_pair(uint32_t& first, uint32_t& second, uint8_t& selector);
  virtual void set_selection(int index) { selection_.store(index); }
  int selection() const { return selection_.load(); }

  // --- keys and macros (offered through key_assignments() and macro_list() by the kinds that
  // have them) ---
  std::vector<KeyAssignRecord> key_list() const override;
  void select_key(int key) override { set_selection(key); }
  int selected_key() const override { return selection(); }
  std::optional<KeyAssignRecord> selected_key_record() const override;
  void assign_selected_key(uint8_t type, uint8_t d1, uint8_t d2) override;
  void restore_selected_key_default() override;
  void store_key_list(std::vector<KeyAssignRecord> keys) override;
  void SendProfileKeys(int onboard_profile = 0) override;
  void CheckMacroKeys() override;
  std::vector<std::string> macro_names() const override { return light_config().macro_names; }
  std::string macro_folder() const override { return user_data_folder(); }
  void reload_macro_names() override;
  void send_macros() override;
  // Macro indices the keys use, in the order the key table numbers their slots.
  virtual std::vector<int> collect_key_items() const { return {}; }
  virtual void set_page_state(int value) { page_state_.store(value); }
  virtual int get_page_state() const { return page_state_.load(); }
  virtual void set_function_switch(int type);
  virtual int get_function_switch() const { return function_switch_.load(); }

  // --- host-side effects: each computes one frame of the LED frame ---
  virtual void effect_breathe_cycle();
  virtual void effect_breathe_four();
  virtual void effect_static();
  virtual void effect_spectrum();
  virtual void effect_blink_cycle();
  virtual void effect_blink_four();
  virtual void effect_off();
  static uint8_t effect_step(uint8_t direction, uint8_t limit, uint8_t phase, uint8_t step) {
    return lighting::effect_step(direction, limit, phase, step);
  }

  // --- reactive key glow and ring (the smaller kinds' reactive effects) ---
  virtual void decay_key_glow(size_t key, uint8_t curve);
  virtual void light_ring_keys();
  virtual void rotate_ring(uint8_t direction);
  virtual void clear_glow();
  lighting::KeyGlow key_glow() const;
  // The lighting program the light thread plays in modes without an effect of their own.
  lighting::LightProgram& lighting_program() { return program_; }

  // Music lighting (audio thread); only the keyboard takes it.
  void FeedSpectrum(const int32_t* bands, size_t count, int level) override {
    (void)bands, (void)count, (void)level;
  }
  void FeedLevels(const uint8_t* values, size_t count) override { (void)values, (void)count; }

  // --- page and device operations (UI thread; post to the executor) ---
  virtual void bind_page_controls();
  void on_connected();
  void refresh_from_device();
  // Posts a light frame to the executor, unless the frame is the one last posted, nothing went
  // wrong with it and it went less than kFrameRefreshMs - kStillFrameCheckMs ago: a still picture
  // wakes nobody.
  // Any thread: the light thread calls it for every frame it makes, the page's timer to
  // refresh a still frame and to send one owed.
  void send_light_frame();
  // The next send_light_frame posts whatever the frame holds (a page shown again needs it).
  void request_light_frame() {
    frame_owed_.store(true);
    poke_light_thread();
    // A still frame brings no step to carry it: it goes now, once the connect started the frames.
    if (light_thread_running()) send_light_frame();
  }
  void read_device_status();

  // --- the work itself (executor thread, tests) ---
  virtual int connect_now() { return protocol::kResultOk; }
  // What apply_selected_profile does; the macro upload's result, 0 where there is none.
  virtual int apply_profile_now();
  // The kind's settings record to the device.
  virtual int write_settings_now(const SettingsWrite& write = {}) {
    (void)write;
    return protocol::kResultOk;
  }
  int load_profile_now();
  int load_default_profile_now();
  bool save_profile_now();
  // The profile's lighting into the device's state and model.
  virtual int ApplyProfileLighting() { return protocol::kResultOk; }
  // The record into the kind's lighting model, nothing stored.
  virtual void run_lighting_now(const LightInfo& info) { (void)info; }
  // A temporary record shown on the page.
  virtual void show_temporary_now(const LightInfo& info);
  virtual void apply_profile_to_page_now();
  int LoadLightConfig();
  virtual int write_key_assignments_now(int onboard_profile, const std::vector<KeyAssignRecord>& keys) {
    (void)onboard_profile, (void)keys;
    return protocol::kResultOk;
  }
  // 0 sent or nothing to send, -1 out of memory or refused, n > 0 macros that do not fit.
  virtual int write_macros_now(const std::vector<int>& macro_indices) {
    (void)macro_indices;
    return 0;
  }
  // Keys of missing macros back to their default; true when any changed.
  bool check_macro_keys_now();
  // out_profile receives the onboard profile number.
  virtual int refresh_from_device_now(int* out_profile) {
    if (out_profile) *out_profile = 0;
    return protocol::kResultOk;
  }
  virtual void send_light_frame_now();
  virtual int read_device_status_now();

  // Device events of the secondary interface; shared by every kind.
  void dispatch_device_event(uint16_t code);

 protected:
  // Posts work; the result reaches the page as operation_done. False when not running.
  bool post_operation(DeviceOperation op, std::function<int()> work);
  bool post_task(std::function<void()> task) { return executor_.post(std::move(task)); }
  bool post_coalesced(const std::string& key, std::function<void()> task) {
    return executor_.post_coalesced(key, std::move(task));
  }
  // Stops the executor (running what is queued); subclasses call it first in their destructor
  // so no queued work runs against a half-destroyed object.
  void shutdown();

 public:
  // Stops the executor and every thread of the device. The most derived destructor must call it
  // first (classes deriving from a kind too): a thread still running while a base destructor
  // runs would call into a half-destroyed object.
  virtual void stop_device_threads() { shutdown(); }

 protected:

  // The profile object of kinds that keep one.
  virtual CBasicProfiledata* profile_data() { return nullptr; }
  // The kind's own records of a just-loaded profile, before its lighting is applied.
  virtual void take_profile_state() {}
  // The keyboard's catalogue carries the modes' device values.
  virtual bool reads_mode_values() const { return false; }
  virtual void stop_light_thread() {}
  virtual void name_light_thread(const std::string& name) { (void)name; }
  // What the light thread waits for changed (synchronised lighting, the page shown): look again.
  virtual void poke_light_thread() {}
  virtual bool light_thread_running() const { return false; }
  void set_key_list(std::vector<KeyAssignRecord> keys);
  // The key list with the selected key's current assignment replaced: profile, save, sent.
  int assign_key_now(int key, std::optional<KeyAssignment> assignment);

  // What the kinds do with their device's events.
  virtual void on_sync_request(uint16_t code) { (void)code; }
  virtual void on_device_key(uint8_t position, int state) { (void)position, (void)state; }

  // Sends data with CMD_LIGHT_STREAM unless the device is in receiver mode, pausing after a
  // failure or already showing it (FrameRepeatFilter); a failure starts a pause of
  // kFailurePauseMs.
  int stream_frame(const uint8_t* data, size_t length);
  // Grows whenever the device may have lost what it was shown: a (re)connection, host lighting
  // taken back. Frames of an older generation go again even when unchanged.
  uint64_t frame_generation() const { return frame_generation_.load(); }
  // Grows whenever the kind's frame may have changed; 0: unknown (every frame is posted).
  virtual uint64_t frame_version() const { return 0; }
  // False while the kind's frame only goes to the page (the keyboard outside its streamed modes).
  virtual bool frame_goes_to_device() const { return true; }
  // Shows the frame on the page without sending it: the calling thread's work when the frame
  // goes nowhere else, so it needs no turn on the executor (the kinds whose frames always go
  // to the device never call it).
  virtual void show_frame_on_page() {}
  // A frame did not reach the device (failed, or held back by the pause after a failure).
  void owe_light_frame() { frame_owed_.store(true); }
  // True once after send_light_frame posted a still frame's refresh: send it whatever the device
  // was last sent.
  bool take_frame_resend() { return frame_resend_.exchange(false); }
  bool in_failure_pause() const;
  void start_failure_pause();

  // Reads the information block between CMD_BEGIN and CMD_END and keeps it; the reading's
  // result (kResultNoReply with the primary channel closed).
  int read_info_block_now();
  // Information block as last read.
  std::array<uint8_t, kInfoBlockSize> info_block() const;
  void set_info_block(const std::array<uint8_t, kInfoBlockSize>& info);

  Clock& clock() { return clock_; }
  // Guards the plain state below that several threads read (light info, counts, strings).
  mutable std::mutex state_mutex_;
  LightInfo light_info_;
  // The user's record while a temporary one is shown.
  std::optional<LightInfo> user_light_;

 private:
  void end_temporary_record();
  void event_loop(StopEvent& stop);
  bool read_event_code(uint8_t* buffer, size_t size, uint16_t* code);

  DevicePage& page_;
  Clock& clock_;
  protocol::CommandChannel primary_;
  protocol::CommandChannel secondary_;
  SerialExecutor executor_;
  WorkerThread event_thread_;

  std::atomic<uint32_t> kind_{kKindNone};
  std::atomic<uint32_t> role_{0};
  std::atomic<bool> host_lighting_{true};
  std::atomic<bool> ui_flag_{true};
  std::atomic<int> power_mode_{0};
  std::atomic<int> function_switch_{1};
  std::atomic<int> selection_{-1};
  std::atomic<int> page_state_{0};
  std::atomic<uint64_t> pause_until_ms_{0};
  std::atomic<uint64_t> frame_generation_{1};
  FrameRepeatFilter stream_filter_;  // executor only
  std::atomic<bool> frame_owed_{false};
  // Set with the post of a still frame's refresh: the send must not be held back by the
  // executor's filters, whose clocks run from the later send.
  std::atomic<bool> frame_resend_{false};
  // The frame send_light_frame last posted; the light thread and the UI's refresh timer both call it.
  std::mutex posted_mutex_;
  uint64_t posted_version_ = 0;
  uint64_t posted_generation_ = 0;
  uint64_t posted_ms_ = 0;
  // The device went while it showed a temporary record: the user's goes to it first when it
  // comes back, before it is read.
  std::atomic<bool> restore_on_connect_{false};

  // Under state_mutex_.
  std::string profile_id_;
  LightConfigLists lists_;
  std::vector<KeyAssignRecord> keys_;
  hid::DeviceSlot slot_;
  std::array<uint8_t, kInfoBlockSize> info_{};
  size_t key_count_ = 0;
  std::string page_file_, description1_, description2_, model_folder_;
  uint32_t colour_first_ = 0, colour_second_ = 0;
  uint8_t colour_selector_ = 0;

  // The LED frame; the light thread composes it while send_light_frame reads it.
  mutable std::mutex frame_lock_;
  std::vector<LedRecord> led_frame_;
  std::vector<PerLedRecord> led_states_;
  lighting::BaseEffectState effect_state_;
  lighting::KeyGlow glow_;  // under frame_lock_
  lighting::LightProgram program_;
};

}  // namespace qxr::devices

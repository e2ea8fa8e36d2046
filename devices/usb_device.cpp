#include "devices/usb_device.h"

#include <algorithm>

#include "core/debug_line.h"
#include "core/thread_name.h"
#include "devices/function_switch.h"
#include "devices/keyboard/key_assignments.h"
#include "profile/data_paths.h"
#include "protocol/command_transaction.h"

namespace qxr::devices {

namespace {

constexpr IndicatorColour kWhite{255, 255, 255, 255};
constexpr size_t kMaxInputReport = 256;
constexpr uint16_t kStatusAddress = 0;
constexpr size_t kStatusReceiverByte = 3;
constexpr size_t kStatusOwnerByte = 4;
constexpr const char* kLightFrameTask = "light-frame";
constexpr const char* kStatusTask = "status";
constexpr int kCatalogueVariant = 0;

}  // namespace

CMarluneUSBDevice::CMarluneUSBDevice(DevicePage& page, Clock& clock) : page_(page), clock_(clock) {
  executor_.start();
}

CMarluneUSBDevice::~CMarluneUSBDevice() {
  shutdown();
  stop_event_thread();
  close_secondary();
  close_primary();
}

void CMarluneUSBDevice::shutdown() { executor_.stop(); }

// ---- kind and slot ----

void CMarluneUSBDevice::set_kind_and_role(uint32_t kind, uint32_t role) {
  kind_.store(kind);
  role_.store(role);
}

void CMarluneUSBDevice::attach_slot(const hid::DeviceSlot& slot) {
  {
    std::lock_guard lock(state_mutex_);
    slot_ = slot;
  }
  set_kind_and_role(slot.kind, slot.role);
}

hid::DeviceSlot CMarluneUSBDevice::slot() const {
  std::lock_guard lock(state_mutex_);
  return slot_;
}

// ---- opening and closing ----

bool CMarluneUSBDevice::open_primary(const std::string& path, bool receiver_mode) {
  if (!primary_.open(path)) return false;
  primary_.set_receiver_mode(receiver_mode);
  frame_generation_.fetch_add(1);
  return true;
}

bool CMarluneUSBDevice::open_primary(const hid::DeviceSlot& slot) {
  if (!open_primary(slot.path, slot.kind == kKindReceiverMouse)) return false;
  attach_slot(slot);
  return true;
}

void CMarluneUSBDevice::close_primary() { primary_.close(); }

bool CMarluneUSBDevice::open_secondary(const std::string& path) { return secondary_.open(path); }

void CMarluneUSBDevice::close_secondary() { secondary_.close(); }

// ---- event thread ----

bool CMarluneUSBDevice::start_event_thread() {
  return event_thread_.start([this](StopEvent& stop) { event_loop(stop); });
}

WorkerThread::StopOutcome CMarluneUSBDevice::stop_event_thread() {
  // The read waits on the stop event as well; the cancel covers a read already waiting.
  return event_thread_.stop([this] { secondary_.device().cancel(); });
}

bool CMarluneUSBDevice::read_event_code(uint8_t* buffer, size_t size, uint16_t* code) {
  hid::HidDevice& dev = secondary_.device();
  size_t n = 0;
  if (!dev.read(buffer, size, &n, kInfinite, event_thread_.stop_event()) || n == 0) return false;
  debug_line(kSyncReportLine);
  if (!dev.unpack_input_report(buffer, n)) return true;
  *code = 0;
  for (const hid::HidData& d : dev.input_data()) {
    if (d.report_id != buffer[0]) continue;
    if (d.is_button)
      *code = d.usages.empty() ? 0 : d.usages[0];
    else
      *code = static_cast<uint16_t>(d.raw_value);
    break;
  }
  return true;
}

void CMarluneUSBDevice::event_loop(StopEvent& stop) {
  std::array<uint8_t, kMaxInputReport> buffer{};
  while (!stop.is_set()) {
    if (!secondary_.opened()) {
      if (stop.wait(kEventRetryMs)) break;
      continue;
    }
    uint16_t code = 0;
    if (!read_event_code(buffer.data(), buffer.size(), &code)) {
      // Cancelled, stopped or unplugged: the removal that follows stops this thread.
      if (stop.wait(kEventRetryMs)) break;
      continue;
    }
    if (code != 0) dispatch_device_event(code);
  }
  debug_line(kEventThreadExitLine);
}

void CMarluneUSBDevice::dispatch_device_event(uint16_t code) {
  const uint16_t group = code & 0xFF00;
  const auto low = static_cast<uint8_t>(code & 0xFF);
  if (code == kEventSyncRequest) {
    debug_line(kSyncRequestLine);
    on_sync_request(code);
  } else if (code == kEventSettingsChanged) {
    on_sync_request(code);
  } else if (group == kEventKeyPressBase) {
    on_device_key(low, kKeyPressed);
  } else if (group == kEventKeyReleaseBase) {
    on_device_key(low, kKeyReleased);
  }
}

// ---- flags ----

void CMarluneUSBDevice::set_host_lighting(bool on) {
  host_lighting_.store(on);
  // The device ran its own lighting meanwhile: the next frame goes whatever it holds.
  if (on) frame_generation_.fetch_add(1);
  if (on && get_kind() == kKindKeyboard)
    post_operation(DeviceOperation::HostLighting, [this] { return primary_.host_lighting(); });
  // While the device runs its own lighting no frame is made: the light thread rests.
  poke_light_thread();
}

void CMarluneUSBDevice::set_thread_owner(const std::string& owner) {
  executor_.set_name(thread_name(owner, "exec"));
  event_thread_.set_name(thread_name(owner, "events"));
  primary_.device().set_writer_name(thread_name(owner, "writer"));
  secondary_.device().set_writer_name(thread_name(owner, "writer"));
  name_light_thread(thread_name(owner, "light"));
}

// ---- model data ----

void CMarluneUSBDevice::set_key_count(size_t n) {
  std::lock_guard lock(state_mutex_);
  key_count_ = n;
}

void CMarluneUSBDevice::set_led_count(size_t n) {
  std::lock_guard lock(frame_lock_);
  if (n != led_frame_.size()) {
    led_frame_.resize(n);
    led_states_.resize(n);
  }
  std::fill(led_frame_.begin(), led_frame_.end(), LedRecord{});
  std::fill(led_states_.begin(), led_states_.end(), PerLedRecord{});
}

size_t CMarluneUSBDevice::key_count() const {
  std::lock_guard lock(state_mutex_);
  return key_count_;
}

size_t CMarluneUSBDevice::led_count() const {
  std::lock_guard lock(frame_lock_);
  return led_frame_.size();
}

void CMarluneUSBDevice::set_page_file(const std::string& file) {
  std::lock_guard lock(state_mutex_);
  page_file_ = file;
}

std::string CMarluneUSBDevice::page_file() const {
  std::lock_guard lock(state_mutex_);
  return page_file_;
}

void CMarluneUSBDevice::set_descriptions(const std::string& first, const std::string& second) {
  std::lock_guard lock(state_mutex_);
  description1_ = first;
  description2_ = second;
}

std::pair<std::string, std::string> CMarluneUSBDevice::descriptions() const {
  std::lock_guard lock(state_mutex_);
  return {description1_, description2_};
}

void CMarluneUSBDevice::set_model_folder(const std::string& folder) {
  std::lock_guard lock(state_mutex_);
  model_folder_ = folder;
}

std::string CMarluneUSBDevice::model_folder() const {
  std::lock_guard lock(state_mutex_);
  return model_folder_;
}

// ---- paths ----

std::string CMarluneUSBDevice::default_data_folder() const { return DefaultDataFolder(); }

std::string CMarluneUSBDevice::default_profile_path() const { return DefaultProfilePath(model_folder()); }

std::string CMarluneUSBDevice::user_data_folder() const { return UserDataFolder(model_folder()); }

// ---- LED frame ----

void CMarluneUSBDevice::set_led(size_t index, const LedRecord& record) {
  std::lock_guard lock(frame_lock_);
  if (index < led_frame_.size()) led_frame_[index] = record;
}

void CMarluneUSBDevice::show_synchronised(const LedRecord& led) {
  std::lock_guard lock(frame_lock_);
  std::fill(led_frame_.begin(), led_frame_.end(), led);
}

int CMarluneUSBDevice::read_info_block_now() {
  protocol::CommandChannel& ch = primary_channel();
  if (!ch.opened()) return protocol::kResultNoReply;
  std::array<uint8_t, kInfoBlockSize> info{};
  protocol::CommandTransaction tx(ch);
  if (tx.run([&] { return ch.read_info(info.data()); }) == protocol::kResultOk) set_info_block(info);
  return tx.result();
}

LedRecord CMarluneUSBDevice::get_led(size_t index) const {
  std::lock_guard lock(frame_lock_);
  return index < led_frame_.size() ? led_frame_[index] : LedRecord{};
}

std::vector<LedRecord> CMarluneUSBDevice::led_frame() const {
  std::lock_guard lock(frame_lock_);
  return led_frame_;
}

// ---- host-side effects ----

void CMarluneUSBDevice::effect_breathe_cycle() {
  LightInfo info = GetLightInfo();
  std::lock_guard lock(frame_lock_);
  lighting::effect_breathe_cycle(led_frame_, info, effect_state_);
}

void CMarluneUSBDevice::effect_breathe_four() {
  LightInfo info = GetLightInfo();
  std::lock_guard lock(frame_lock_);
  lighting::effect_breathe_four(led_frame_, info, effect_state_);
}

void CMarluneUSBDevice::effect_static() {
  LightInfo info = GetLightInfo();
  std::lock_guard lock(frame_lock_);
  lighting::effect_static(led_frame_, info);
}

void CMarluneUSBDevice::effect_spectrum() {
  LightInfo info = GetLightInfo();
  std::lock_guard lock(frame_lock_);
  lighting::effect_spectrum(led_frame_, info, effect_state_);
}

void CMarluneUSBDevice::effect_blink_cycle() {
  LightInfo info = GetLightInfo();
  uint64_t now = clock_.now_ms();
  std::lock_guard lock(frame_lock_);
  lighting::effect_blink_cycle(led_frame_, info, effect_state_, now);
}

void CMarluneUSBDevice::effect_blink_four() {
  LightInfo info = GetLightInfo();
  uint64_t now = clock_.now_ms();
  std::lock_guard lock(frame_lock_);
  lighting::effect_blink_four(led_frame_, info, effect_state_, now);
}

void CMarluneUSBDevice::effect_off() {
  std::lock_guard lock(frame_lock_);
  lighting::effect_off(led_frame_);
}

void CMarluneUSBDevice::decay_key_glow(size_t key, uint8_t curve) {
  std::lock_guard lock(frame_lock_);
  glow_.decay_key_glow(key, curve);
}

void CMarluneUSBDevice::light_ring_keys() {
  std::lock_guard lock(frame_lock_);
  glow_.light_ring_keys();
}

void CMarluneUSBDevice::rotate_ring(uint8_t direction) {
  std::lock_guard lock(frame_lock_);
  glow_.rotate_ring(direction);
}

void CMarluneUSBDevice::clear_glow() {
  std::lock_guard lock(frame_lock_);
  glow_.clear_glow();
}

lighting::KeyGlow CMarluneUSBDevice::key_glow() const {
  std::lock_guard lock(frame_lock_);
  return glow_;
}

// ---- lighting state ----

LightInfo CMarluneUSBDevice::GetLightInfo() const {
  std::lock_guard lock(state_mutex_);
  return light_info_;
}

void CMarluneUSBDevice::set_lighting_state(const LightInfo& info) {
  std::lock_guard lock(state_mutex_);
  light_info_ = info;
  user_light_.reset();
}

void CMarluneUSBDevice::show_temporary_lighting(const LightInfo& info) {
  {
    std::lock_guard lock(state_mutex_);
    if (!user_light_) user_light_ = light_info_;
    light_info_ = info;
  }
  post_operation(DeviceOperation::WriteSettings, [this, info] {
    run_lighting_now(info);
    show_temporary_now(info);
    return write_settings_now();
  });
}

void CMarluneUSBDevice::end_temporary_lighting() {
  LightInfo user;
  {
    std::lock_guard lock(state_mutex_);
    if (!user_light_) return;
    user = *user_light_;
    user_light_.reset();
    light_info_ = user;
  }
  post_operation(DeviceOperation::WriteSettings, [this, user] {
    run_lighting_now(user);
    show_temporary_now(user);
    return write_settings_now();
  });
}

void CMarluneUSBDevice::end_temporary_record() {
  // A profile the user loads is the user's lighting from now on.
  std::lock_guard lock(state_mutex_);
  user_light_.reset();
}

bool CMarluneUSBDevice::temporary_lighting() const {
  std::lock_guard lock(state_mutex_);
  return user_light_.has_value();
}

void CMarluneUSBDevice::show_temporary_now(const LightInfo& info) { page_.show_lighting(info, audio_light_info()); }

void CMarluneUSBDevice::set_colour_pair(uint32_t first, uint32_t second, uint8_t selector) {
  {
    std::lock_guard lock(state_mutex_);
    colour_first_ = first;
    colour_second_ = second;
    colour_selector_ = selector;
  }
  page_.set_colour_picker(first, second, selector);
}

void CMarluneUSBDevice::get_colour_pair(uint32_t& first, uint32_t& second, uint8_t& selector) {
  uint32_t f = 0, s = 0;
  uint8_t sel = 0;
  bool from_picker = page_.read_colour_picker(f, s, sel);
  std::lock_guard lock(state_mutex_);
  if (from_picker) {
    colour_first_ = f;
    colour_second_ = s;
    colour_selector_ = sel;
  }
  first = colour_first_;
  second = colour_second_;
  selector = colour_selector_;
}

void CMarluneUSBDevice::set_function_switch(int type) {
  function_switch_.store(type);
  FunctionPages pages = function_pages_for(type, static_cast<int>(get_kind()));
  page_.select_function_pages(pages.function_page, pages.key_function_page);
}

// ---- page and device operations ----

void CMarluneUSBDevice::bind_page_controls() {
  if (page_file().empty()) {
    set_key_count(0);
    set_led_count(0);
    return;
  }
  // Every indicator starts white at full brightness until the first frame arrives.
  std::vector<IndicatorColour> white(led_count(), kWhite);
  page_.show_indicators(white);
}

void CMarluneUSBDevice::on_connected() {
  post_operation(DeviceOperation::Connect, [this] {
    // The device still holds what it was last sent, a temporary record: the user's first, so
    // that reading the device does not take the temporary one into the profile.
    if (restore_on_connect_.exchange(false)) write_settings_now();
    return connect_now();
  });
}

void CMarluneUSBDevice::refresh_from_device() {
  post_operation(DeviceOperation::RefreshFromDevice, [this] { return refresh_from_device_now(nullptr); });
}

void CMarluneUSBDevice::send_light_frame() {
  if (!get_host_lighting()) return;
  // A frame nobody sees or receives; the page asks for one when it is shown again.
  if (!frame_goes_to_device() && !page_.indicators_visible()) return;
  bool resend = false;
  {
    std::lock_guard lock(posted_mutex_);
    const uint64_t version = frame_version();
    const uint64_t generation = frame_generation();
    const uint64_t now = clock_.now_ms();
    const bool owed = frame_owed_.exchange(false);
    const bool same = version != 0 && version == posted_version_ && generation == posted_generation_;
    const bool aged = now < posted_ms_ || now - posted_ms_ + kStillFrameCheckMs >= kFrameRefreshMs;
    if (!owed && same && !aged) return;
    resend = same && aged;  // its refresh
    posted_version_ = version;
    posted_generation_ = generation;
    posted_ms_ = now;
  }
  if (!frame_goes_to_device()) {
    show_frame_on_page();
    return;
  }
  if (resend) frame_resend_.store(true);
  post_coalesced(kLightFrameTask, [this] { send_light_frame_now(); });
}

void CMarluneUSBDevice::read_device_status() {
  post_coalesced(kStatusTask, [this] {
    int r = read_device_status_now();
    page_.operation_done(DeviceOperation::ReadDeviceStatus, r);
  });
}

void CMarluneUSBDevice::send_light_frame_now() {
  if (!get_host_lighting()) return;
  std::vector<LedRecord> frame = led_frame();
  std::vector<IndicatorColour> shown(frame.size());
  std::array<uint8_t, kLightFrameBytes> buffer{};
  for (size_t i = 0; i < frame.size(); ++i) {
    const LedRecord& r = frame[i];
    shown[i] = {r.red, r.green, r.blue, r.brightness};
    if (i >= kLightFrameMaxLeds) continue;  // shown on the page, but beyond the stream
    buffer[i * kLedBytes] = static_cast<uint8_t>((r.red * r.brightness) >> 8);
    buffer[i * kLedBytes + 1] = static_cast<uint8_t>((r.green * r.brightness) >> 8);
    buffer[i * kLedBytes + 2] = static_cast<uint8_t>((r.blue * r.brightness) >> 8);
  }
  page_.show_indicators(shown);
  stream_frame(buffer.data(), std::min(frame.size(), kLightFrameMaxLeds) * kLedBytes);
}

int CMarluneUSBDevice::stream_frame(const uint8_t* data, size_t length) {
  if (primary_.receiver_mode()) return protocol::kResultOk;
  if (in_failure_pause()) {
    owe_light_frame();
    return protocol::kResultOk;
  }
  const std::span<const uint8_t> bytes(data, length);
  const uint64_t now = clock_.now_ms();
  const uint64_t gen = frame_generation();
  if (!take_frame_resend() && !stream_filter_.due(bytes, now, gen)) return protocol::kResultOk;
  int r = primary_.light_stream(data, length);
  stream_filter_.sent(bytes, r == protocol::kResultOk, now, gen);
  if (r != protocol::kResultOk) {
    start_failure_pause();
    owe_light_frame();
  }
  return r;
}

bool CMarluneUSBDevice::in_failure_pause() const { return clock_.now_ms() < pause_until_ms_.load(); }

void CMarluneUSBDevice::start_failure_pause() { pause_until_ms_.store(clock_.now_ms() + kFailurePauseMs); }

int CMarluneUSBDevice::read_device_status_now() {
  if (!primary_.opened()) return protocol::kResultNoReply;
  PowerStatus status{};
  int r = primary_.read_status(status.data(), status.size(), kStatusAddress);
  if (r != protocol::kResultOk) return r;
  status[kStatusReceiverByte] = primary_.receiver_mode() ? 1 : 0;
  page_.show_power_status(status);
  page_.post_owner_message(kMsgDeviceStatus, status[kStatusOwnerByte], 0);
  return r;
}

std::array<uint8_t, kInfoBlockSize> CMarluneUSBDevice::info_block() const {
  std::lock_guard lock(state_mutex_);
  return info_;
}

void CMarluneUSBDevice::set_info_block(const std::array<uint8_t, kInfoBlockSize>& info) {
  std::lock_guard lock(state_mutex_);
  info_ = info;
}

bool CMarluneUSBDevice::post_operation(DeviceOperation op, std::function<int()> work) {
  return executor_.post([this, op, work = std::move(work)] { page_.operation_done(op, work()); });
}

DeviceCapabilities CMarluneUSBDevice::capabilities() const {
  DeviceCapabilities c;
  c.power_status = power_mode() != 0;
  return c;
}

// ---- secondary interface and removal ----

bool CMarluneUSBDevice::StartSyncThread(const std::string& path) {
  if (!secondary_.opened() && !open_secondary(path)) return false;
  return start_event_thread();
}

WorkerThread::StopOutcome CMarluneUSBDevice::StopSyncThread() {
  const WorkerThread::StopOutcome outcome = stop_event_thread();
  close_secondary();
  return outcome;
}

void CMarluneUSBDevice::on_disconnected() {
  StopSyncThread();
  close_primary();
  stop_light_thread();
  std::optional<LightInfo> user;
  {
    std::lock_guard lock(state_mutex_);
    user.swap(user_light_);
    if (user) light_info_ = *user;
  }
  if (!user) return;
  restore_on_connect_.store(true);
  post_task([this, light = *user] { run_lighting_now(light); });
}

// ---- profile ----

void CMarluneUSBDevice::set_profile_id(const std::string& id) {
  std::lock_guard lock(state_mutex_);
  profile_id_ = id;
}

std::string CMarluneUSBDevice::profile_path() const {
  std::string id;
  {
    std::lock_guard lock(state_mutex_);
    id = profile_id_;
  }
  return user_data_folder() + id + kProfileFileExtension;
}

void CMarluneUSBDevice::apply_selected_profile() {
  post_operation(DeviceOperation::WriteMacros, [this] { return apply_profile_now(); });
}

int CMarluneUSBDevice::apply_profile_now() {
  load_profile_now();
  apply_profile_to_page_now();
  write_settings_now();
  return 0;
}

void CMarluneUSBDevice::load_profile() {
  post_task([this] { load_profile_now(); });
}

void CMarluneUSBDevice::load_default_profile() {
  post_task([this] { load_default_profile_now(); });
}

void CMarluneUSBDevice::apply_profile_to_page() {
  post_task([this] { apply_profile_to_page_now(); });
}

void CMarluneUSBDevice::SaveProfile() {
  post_task([this] { save_profile_now(); });
}

void CMarluneUSBDevice::write_settings(const SettingsWrite& write) {
  post_operation(DeviceOperation::WriteSettings, [this, write] { return write_settings_now(write); });
}

int CMarluneUSBDevice::load_profile_now() {
  CBasicProfiledata* profile = profile_data();
  if (profile == nullptr) return protocol::kResultNoReply;
  const std::string path = profile_path();
  profile->SetProfilePath(path);
  profile->SetConfigPath(CustomLightConfigPath(user_data_folder()));
  const bool loaded = profile->LoadProfile(path);
  end_temporary_record();
  take_profile_state();
  ApplyProfileLighting();
  return loaded ? protocol::kResultOk : protocol::kResultNoReply;
}

int CMarluneUSBDevice::load_default_profile_now() {
  CBasicProfiledata* profile = profile_data();
  if (profile == nullptr) return protocol::kResultNoReply;
  const bool loaded = profile->LoadProfile(default_profile_path());
  end_temporary_record();
  take_profile_state();
  ApplyProfileLighting();
  return loaded ? protocol::kResultOk : protocol::kResultNoReply;
}

bool CMarluneUSBDevice::save_profile_now() {
  CBasicProfiledata* profile = profile_data();
  return profile != nullptr && profile->Save();
}

void CMarluneUSBDevice::apply_profile_to_page_now() {
  LoadLightConfig();
  page().show_lighting(GetLightInfo(), audio_light_info());
}

int CMarluneUSBDevice::LoadLightConfig() {
  LightConfigLists lists = light_config();
  qxr::LoadLightConfig(lists, LightConfigFilesFor(capabilities().macros, user_data_folder()), kCatalogueVariant,
                       reads_mode_values());
  std::lock_guard lock(state_mutex_);
  lists_ = std::move(lists);
  return protocol::kResultOk;
}

LightConfigLists CMarluneUSBDevice::light_config() const {
  std::lock_guard lock(state_mutex_);
  return lists_;
}

// ---- keys and macros ----

std::vector<KeyAssignRecord> CMarluneUSBDevice::key_list() const {
  std::lock_guard lock(state_mutex_);
  return keys_;
}

void CMarluneUSBDevice::set_key_list(std::vector<KeyAssignRecord> keys) {
  std::lock_guard lock(state_mutex_);
  keys_ = std::move(keys);
}

std::optional<KeyAssignRecord> CMarluneUSBDevice::selected_key_record() const {
  const int key = selection();
  std::lock_guard lock(state_mutex_);
  if (key < 0 || static_cast<size_t>(key) >= keys_.size()) return std::nullopt;
  return keys_[static_cast<size_t>(key)];
}

void CMarluneUSBDevice::assign_selected_key(uint8_t type, uint8_t d1, uint8_t d2) {
  const int key = selection();
  const KeyAssignment assignment{static_cast<uint16_t>(key < 0 ? 0 : key), type, d1, d2};
  post_operation(DeviceOperation::WriteKeyAssignments, [this, key, assignment] { return assign_key_now(key, assignment); });
}

void CMarluneUSBDevice::restore_selected_key_default() {
  const int key = selection();
  post_operation(DeviceOperation::WriteKeyAssignments, [this, key] { return assign_key_now(key, std::nullopt); });
}

int CMarluneUSBDevice::assign_key_now(int key, std::optional<KeyAssignment> assignment) {
  CBasicProfiledata* profile = profile_data();
  std::vector<KeyAssignRecord> keys = key_list();
  if (profile == nullptr || key < 0 || static_cast<size_t>(key) >= keys.size()) return protocol::kResultBadRequest;
  KeyAssignRecord& record = keys[static_cast<size_t>(key)];
  record.assignment = assignment.value_or(record.default_assignment);
  record.assignment.key_index = record.default_assignment.key_index;
  profile->SetKeyList(keys);
  save_profile_now();
  set_key_list(keys);
  page().key_list_changed();
  return write_key_assignments_now(0, keys);
}

void CMarluneUSBDevice::store_key_list(std::vector<KeyAssignRecord> keys) {
  post_task([this, keys = std::move(keys)] {
    if (CBasicProfiledata* profile = profile_data()) profile->SetKeyList(keys);
    save_profile_now();
    set_key_list(keys);
  });
}

void CMarluneUSBDevice::SendProfileKeys(int onboard_profile) {
  post_operation(DeviceOperation::WriteKeyAssignments,
                 [this, onboard_profile] { return write_key_assignments_now(onboard_profile, key_list()); });
}

void CMarluneUSBDevice::CheckMacroKeys() {
  post_task([this] { check_macro_keys_now(); });
}

bool CMarluneUSBDevice::check_macro_keys_now() {
  // The cached list may predate "macro.config" (a profile applied before the page showed it,
  // macros made since): counting against it would revert every macro key.
  LoadLightConfig();
  const size_t macros = light_config().macro_names.size();
  std::vector<KeyAssignRecord> keys = key_list();
  if (!revert_missing_macros(keys, macros)) return false;
  if (CBasicProfiledata* profile = profile_data()) profile->SetKeyList(keys);
  set_key_list(keys);
  page().key_list_changed();
  return true;
}

void CMarluneUSBDevice::reload_macro_names() {
  post_task([this] {
    LoadLightConfig();
    page().key_list_changed();
  });
}

void CMarluneUSBDevice::send_macros() {
  post_operation(DeviceOperation::WriteMacros, [this] { return write_macros_now(collect_key_items()); });
}

}  // namespace qxr::devices

#include "devices/mouse/mouse_device.h"

#include <algorithm>

#include "devices/keyboard/key_assignments.h"
#include "devices/mouse/recoil_blob.h"
#include "profile/data_paths.h"
#include "profile/macro_files.h"
#include "protocol/command_transaction.h"

namespace qxr::devices {

namespace {
constexpr uint16_t kActiveProfileAddress = 0;
constexpr size_t kMaxMouseKeyTableBytes = protocol::kMaxDataLength;

uint16_t block_base(int onboard_profile) { return static_cast<uint16_t>(onboard_profile * kMouseBlockStride); }

}  // namespace

CMarluneMouseDevice::CMarluneMouseDevice(DevicePage& page, MousePage& mouse_page, Clock& clock)
    : CLoopLightingDevice(page, clock, kMouseModeTable), mouse_page_(mouse_page) {
  set_kind_and_role(kKindMouse, 0);
  set_model_folder(kMouseFolder);
  profile_.SetDefaultPath(default_profile_path());
  profile_.SetDeviceIndex(0);
  map_.fill(kNoMousePosition);
}

CMarluneMouseDevice::~CMarluneMouseDevice() { CLoopLightingDevice::stop_device_threads(); }

// ---- UI-thread operations ----

void CMarluneMouseDevice::bind_page_controls() {
  CLoopLightingDevice::bind_page_controls();
  SelectSettingsTab(0);
}

DeviceCapabilities CMarluneMouseDevice::capabilities() const {
  DeviceCapabilities c = CLoopLightingDevice::capabilities();
  c.keys = c.macros = c.recoil = c.pointer_settings = true;
  return c;
}

void CMarluneMouseDevice::set_screen_size(uint16_t width, uint16_t height) {
  const uint32_t size = uint32_t{width} | uint32_t{height} << 16;
  if (screen_size_.exchange(size) != size && primary_channel().opened()) write_settings();
}

void CMarluneMouseDevice::SendShootScripts(std::function<void(int)> done) {
  post_task([this, done = std::move(done)] {
    int r = send_shoot_scripts_now();
    if (done) done(r);
  });
}

// ---- state ----

MousePositionMap CMarluneMouseDevice::position_map() const {
  std::lock_guard lock(state_mutex_);
  return map_;
}

std::vector<DpiStage> CMarluneMouseDevice::dpi_stages() const {
  std::lock_guard lock(state_mutex_);
  return stages_;
}

int CMarluneMouseDevice::current_dpi_stage() const {
  std::lock_guard lock(state_mutex_);
  return current_stage_;
}

MouseSystemStages CMarluneMouseDevice::system_stages() const {
  std::lock_guard lock(state_mutex_);
  return system_;
}

DpiLimits CMarluneMouseDevice::dpi_limits() const { return dpi_limits_from_info(info_block()); }

MouseBlockRead CMarluneMouseDevice::last_settings_block() const {
  std::lock_guard lock(state_mutex_);
  return last_block_;
}

// ---- connect ----

bool CMarluneMouseDevice::link_ready() {
  protocol::CommandChannel& ch = primary_channel();
  return !ch.receiver_mode() || ch.link_up();
}

int CMarluneMouseDevice::read_tables() {
  protocol::CommandChannel& ch = primary_channel();
  if (!link_ready()) return protocol::kResultNoReply;
  std::array<uint8_t, kInfoBlockSize> info{};
  protocol::CommandTransaction tx(ch);
  if (tx.run([&] { return ch.read_info(info.data()); }) == protocol::kResultOk) {
    set_info_block(info);
    const size_t bytes = size_t{info[kInfoKeyCount]} * kMouseKeyCodeSize;
    std::vector<uint8_t> keys(bytes);
    if (bytes > kMaxMouseKeyTableBytes) {
      tx.fail(protocol::kResultBadRequest);
    } else if (bytes > 0) {
      ch.set_data_length(static_cast<uint16_t>(bytes));
      tx.run([&] { return ch.read_keys(keys.data()); });
    }
    if (tx.result() == protocol::kResultOk) {
      const MousePositionMap map = build_mouse_position_map(keys);
      std::lock_guard lock(state_mutex_);
      key_table_ = std::move(keys);
      map_ = map;
    }
  }
  const int read = tx.result();
  const int e = tx.finish();
  if (read != protocol::kResultOk) return read;
  const DpiLimits limits = dpi_limits();
  for (size_t i = 0; i < kMouseStageCount; ++i)
    mouse_page_.set_dpi_ranges(static_cast<int>(i), limits.slider_max, limits.slider_max * limits.step);
  return e;
}

int CMarluneMouseDevice::connect_now() {
  int r = protocol::kResultNoReply;
  if (primary_channel().opened()) r = read_tables();
  load_profile_now();
  apply_profile_to_page_now();
  start_light_thread();
  return r;
}

// ---- profile ----

void CMarluneMouseDevice::take_profile_state() {
  set_key_list(profile_.GetKeyList());
  std::vector<DpiStage> stages = profile_.GetDpiStages();
  const int current = profile_.GetActiveDpiStage();
  const MouseSystemStages system = profile_.GetMouseSystemStages();
  std::lock_guard lock(state_mutex_);
  stages_ = std::move(stages);
  current_stage_ = current;
  system_ = system;
}

LoopLightSettings CMarluneMouseDevice::run_settings_for(const LightInfo& light) { return loop_settings_of(light); }

void CMarluneMouseDevice::apply_profile_to_page_now() {
  CLoopLightingDevice::apply_profile_to_page_now();
  page().key_list_changed();
  const std::vector<DpiStage> stages = dpi_stages();
  const int current = current_dpi_stage();
  const DpiLimits limits = dpi_limits();
  for (size_t i = 0; i < stages.size() && i < kMouseStageCount; ++i) show_dpi_stage(i, stages, current, limits);
  show_dpi_checks(stages);
  const MouseSystemStages system = system_stages();
  mouse_page_.show_windows_settings(system);
  page().set_polling_option(polling_option(system.report_rate));
}

int CMarluneMouseDevice::apply_profile_now() {
  load_profile_now();
  check_macro_keys_now();
  apply_profile_to_page_now();
  write_settings_now();
  write_key_assignments_now(0, key_list());
  return 0;
}

// ---- refresh ----

int CMarluneMouseDevice::refresh_from_device_now(int* out_profile) {
  set_synchronised(false);
  protocol::CommandChannel& ch = primary_channel();
  if (!ch.opened() || !link_ready()) return protocol::kResultNoReply;
  uint8_t active = 0;
  MouseBlockRead block{};
  int r = ch.read_params(&active, 1, kActiveProfileAddress);
  if (r == protocol::kResultOk) r = ch.read_params(block.data(), block.size(), block_base(active));
  // A failed read keeps the previous block and leaves the lighting as it was.
  if (r != protocol::kResultOk) return r;
  block[kMouseBlockCleared] = 0;
  const LightInfo light = light_from_mouse_block(block, GetLightInfo());
  const int current = block[kMouseBlockCurrentStage];
  {
    std::lock_guard lock(state_mutex_);
    last_block_ = block;
    current_stage_ = current;
  }
  profile_.SetActiveDpiStage(current);
  // While a temporary record shows, the device reports that one, not the user's.
  if (!temporary_lighting()) profile_.SetLightInfo(light);
  save_profile_now();
  apply_lighting(light, true);
  page().show_lighting(light, AudioLightInfo{});
  if (out_profile) *out_profile = active;
  return r;
}

// ---- sends ----

int CMarluneMouseDevice::write_settings_now(const SettingsWrite& write) {
  const int onboard_profile = write.onboard_profile;
  MouseSettingsInputs in;
  in.stages = profile_.GetDpiStages();
  in.current_stage = profile_.GetActiveDpiStage();
  in.polling_option = profile_.GetMouseSystemStages().report_rate;
  in.light = profile_.GetLightInfo();
  in.corrections = profile_.GetCorrectInfo();
  in.profile_byte = static_cast<uint8_t>(write.profile_byte);
  in.third = static_cast<uint8_t>(write.third_value);
  const uint32_t screen = screen_size_.load();
  in.screen_width = static_cast<uint16_t>(screen & 0xFFFF);
  in.screen_height = static_cast<uint16_t>(screen >> 16);
  const MouseSettingsBlock block = encode_mouse_settings_block(in);

  protocol::CommandChannel& ch = primary_channel();
  if (!ch.opened()) return protocol::kResultNoReply;
  // Through the receiver each command waits for a ready answer; without one nothing more is sent.
  if (!link_ready()) return protocol::kResultNoReply;
  protocol::CommandTransaction tx(ch);
  if (!link_ready()) return tx.abandon(protocol::kResultNoReply);
  tx.run([&] { return ch.write_params(block.data(), block.size(), block_base(onboard_profile)); });
  if (!link_ready()) return tx.abandon(protocol::kResultNoReply);
  return tx.finish();
}

int CMarluneMouseDevice::write_key_assignments_now(int onboard_profile, const std::vector<KeyAssignRecord>& keys) {
  protocol::CommandChannel& ch = primary_channel();
  if (!ch.opened() || !link_ready()) return protocol::kResultNoReply;
  std::array<uint8_t, kInfoBlockSize> info{};
  if (int r = ch.read_info(info.data()); r != protocol::kResultOk) return r;
  set_info_block(info);
  std::vector<uint8_t> table;
  {
    std::lock_guard lock(state_mutex_);
    table = build_mouse_key_table(key_table_, keys, map_);
  }
  if (table.empty()) return protocol::kResultBadRequest;  // the key table was never read
  ch.set_data_length(static_cast<uint16_t>(table.size()));
  if (!link_ready()) return protocol::kResultNoReply;
  protocol::CommandTransaction tx(ch);
  tx.run([&] { return ch.write_keys(table.data(), onboard_profile); });
  return tx.finish();
}

int CMarluneMouseDevice::send_shoot_scripts_now() {
  protocol::CommandChannel& ch = primary_channel();
  if (!ch.opened() || !link_ready()) return protocol::kResultNoReply;
  std::array<uint8_t, kInfoBlockSize> info{};
  if (int r = ch.read_info(info.data()); r != protocol::kResultOk) return r;
  set_info_block(info);
  const std::vector<uint8_t> blob = build_recoil_blob(ReadRecoilScripts(user_data_folder()));
  if (blob.empty()) return protocol::kResultBadRequest;
  if (!link_ready()) return protocol::kResultNoReply;
  protocol::CommandTransaction tx(ch);
  tx.run([&] { return ch.write_recoil(blob.data(), blob.size()); });
  if (!link_ready()) return tx.abandon(protocol::kResultNoReply);
  return tx.finish();
}

// ---- light frame ----

void CMarluneMouseDevice::send_light_frame_now() {
  if (!get_host_lighting()) return;
  const LoopFrame frame = show_frame();
  std::array<IndicatorColour, kMaxLoopLeds> shown;
  for (size_t i = 0; i < frame.count; ++i) {
    const LedRecord& r = frame.leds[i];
    shown[i] = {r.red, r.green, r.blue, r.brightness};
  }
  mouse_page_.show_logo_lights(std::span<const IndicatorColour>(shown.data(), frame.count));
  if (get_ui_flag()) mouse_page_.redraw_key_panel();
  const int logo = selection();
  if (logo >= 0 && static_cast<size_t>(logo) < frame.count) mouse_page_.show_logo_button(shown[static_cast<size_t>(logo)]);
  stream_loop_frame(frame);
}

}  // namespace qxr::devices

#include "devices/keyboard/keyboard_device.h"

#include <algorithm>
#include <new>

#include "core/debug_line.h"
#include "devices/keyboard/key_assignments.h"
#include "devices/keyboard/macro_blob.h"
#include "profile/data_paths.h"
#include "profile/json_access.h"
#include "profile/json_file.h"
#include "protocol/command_transaction.h"

namespace qxr::devices {

namespace {

constexpr uint16_t kActiveProfileAddress = 0;
constexpr int kCatalogueVariant = 0;
constexpr const char* kMacroFileExtension = ".mac";

bool is_streamed_mode(uint8_t mode) { return mode == kMusicMode || mode == kFedColourMode; }

// A macro file stem that stays inside the device folder.
bool safe_file_stem(const std::string& stem) {
  return !stem.empty() && stem.find('/') == std::string::npos && stem != "." && stem != "..";
}

// 0xRRGGBB-style words of the colour pair: byte n of a 32-bit value.
uint8_t byte_of(uint32_t v, int n) { return static_cast<uint8_t>(v >> (8 * n)); }

}  // namespace

CMarluneKeyboardDevice::CMarluneKeyboardDevice(DevicePage& page, Clock& clock)
    : CMarluneUSBDevice(page, clock), light_thread_(lighting_, clock) {
  set_kind_and_role(kKindKeyboard, 0);
  set_model_folder(kKeyboardFolder);
  profile_.SetDefaultPath(default_profile_path());
  profile_.SetDeviceIndex(0);
  custom_colours_.assign(kLogicalKeyCount, CustomColour{});
}

CMarluneKeyboardDevice::~CMarluneKeyboardDevice() { CMarluneKeyboardDevice::stop_device_threads(); }

void CMarluneKeyboardDevice::stop_device_threads() {
  shutdown();
  light_thread_.stop();
  StopSyncThread();
}

// ---- UI-thread operations ----

void CMarluneKeyboardDevice::load_profile() {
  post_task([this] { load_profile_now(); });
}

void CMarluneKeyboardDevice::load_default_profile() {
  post_task([this] { load_default_profile_now(); });
}

void CMarluneKeyboardDevice::apply_profile_to_page() {
  post_task([this] { apply_profile_to_page_now(); });
}

void CMarluneKeyboardDevice::SaveProfile() {
  post_task([this] { save_profile_now(); });
}

void CMarluneKeyboardDevice::CheckMacroKeys() {
  post_task([this] { check_macro_keys_now(); });
}

void CMarluneKeyboardDevice::write_settings(int onboard_profile, int profile_byte) {
  post_operation(DeviceOperation::WriteSettings,
                 [=, this] { return write_settings_now(onboard_profile, profile_byte); });
}

void CMarluneKeyboardDevice::write_key_assignments(int onboard_profile, std::vector<KeyAssignRecord> keys) {
  post_operation(DeviceOperation::WriteKeyAssignments, [this, onboard_profile, keys = std::move(keys)] {
    return write_key_assignments_now(onboard_profile, keys);
  });
}

void CMarluneKeyboardDevice::SendProfileKeys(int onboard_profile) {
  post_operation(DeviceOperation::WriteKeyAssignments,
                 [this, onboard_profile] { return write_key_assignments_now(onboard_profile, key_list()); });
}

void CMarluneKeyboardDevice::write_macros(std::vector<int> macro_indices) {
  post_operation(DeviceOperation::WriteMacros,
                 [this, list = std::move(macro_indices)] { return write_macros_now(list); });
}

void CMarluneKeyboardDevice::SetCustomKeyColour(int key) {
  post_operation(DeviceOperation::SetCustomKeyColour, [this, key] { return set_custom_key_colour_now(key); });
}

void CMarluneKeyboardDevice::store_key_list(std::vector<KeyAssignRecord> keys) {
  post_task([this, keys = std::move(keys)] {
    profile_.SetKeyList(keys);
    save_profile_now();
    std::lock_guard lock(state_mutex_);
    keys_ = keys;
  });
}

void CMarluneKeyboardDevice::set_system_setting(SystemSetting setting, int value) {
  KeyboardSystemStages stages;
  {
    std::lock_guard lock(state_mutex_);
    apply_system_setting(stages_, setting, value);
    stages = stages_;
  }
  post_operation(DeviceOperation::WriteSettings, [this, stages] {
    profile_.SetSystemStages(stages);
    save_profile_now();
    return write_settings_now(0, 0);
  });
}

void CMarluneKeyboardDevice::set_profile_id(const std::string& id) {
  std::lock_guard lock(state_mutex_);
  profile_id_ = id;
}

std::string CMarluneKeyboardDevice::profile_path() const {
  std::string id;
  {
    std::lock_guard lock(state_mutex_);
    id = profile_id_;
  }
  return user_data_folder() + id + kProfileFileExtension;
}

void CMarluneKeyboardDevice::set_lighting_state(const LightInfo& info) {
  // Visible at once to the next GetLightInfo, so quick successive edits build on each other.
  CMarluneUSBDevice::set_lighting_state(info);
  post_task([this, info] { store_lighting_now(info); });
}

void CMarluneKeyboardDevice::store_lighting_now(const LightInfo& info) {
  profile_.SetLightInfo(info);
  save_profile_now();
  // The record itself stays as the UI last set it: a newer edit may already be waiting.
  apply_lighting(info, false);
}

void CMarluneKeyboardDevice::set_colour_pair(uint32_t first, uint32_t second, uint8_t selector) {
  CMarluneUSBDevice::set_colour_pair(first, second, selector);
  AudioLightInfo music;
  music.audio_mode = byte_of(first, 0);
  music.bk_red = byte_of(first, 1);
  music.bk_green = byte_of(first, 2);
  music.bk_blue = byte_of(first, 3);
  music.fg_red = byte_of(second, 0);
  music.fg_green = byte_of(second, 1);
  music.fg_blue = byte_of(second, 2);
  music.seven_color_flags = byte_of(second, 3) != 0;
  music.color_type_flags = 1;
  {
    std::lock_guard lock(state_mutex_);
    audio_ = music;
  }
  lighting_.set_music_style(lighting::music_style_from_audio(music));
  post_task([this, music] {
    profile_.SetAudioLightInfo(music);
    save_profile_now();
  });
}

std::vector<int> CMarluneKeyboardDevice::collect_key_items() const {
  size_t macros = macro_count_from_file();
  std::lock_guard lock(state_mutex_);
  return collect_macro_slots(keys_, maps_, macros);
}

void CMarluneKeyboardDevice::FeedSpectrum(const int32_t* bands, size_t count, int) {
  if (bands == nullptr) return;
  lighting_.FeedSpectrum(bands, std::min(count, lighting::kMusicBands));
}

void CMarluneKeyboardDevice::FeedLevels(const uint8_t* values, size_t count) {
  if (values == nullptr) return;
  lighting_.FeedLevels(values, std::min(count, lighting::kMusicLevels));
}

void CMarluneKeyboardDevice::OnKeyEvent(uint8_t position, int state) {
  int key;
  {
    std::lock_guard lock(state_mutex_);
    key = maps_.logical_key_at(position);
  }
  if (key < 0) return;
  StartReactive(static_cast<size_t>(key), state);
}

void CMarluneKeyboardDevice::StartReactive(size_t logical_key, int state) {
  lighting_.OnKeyEvent(logical_key, static_cast<uint8_t>(state));
}

bool CMarluneKeyboardDevice::StartSyncThread(const std::string& path) {
  if (!secondary_channel().opened() && !open_secondary(path)) return false;
  return start_event_thread();
}

WorkerThread::StopOutcome CMarluneKeyboardDevice::StopSyncThread() {
  WorkerThread::StopOutcome outcome = stop_event_thread();
  close_secondary();
  return outcome;
}

void CMarluneKeyboardDevice::on_disconnected() {
  StopSyncThread();
  close_primary();
  light_thread_.stop();
}

void CMarluneKeyboardDevice::on_sync_request(uint16_t) {
  // The keyboard changed its settings by itself; the owner's read timer re-reads them.
  page().request_refresh(kKeyboardSyncRefreshDelayMs);
}

void CMarluneKeyboardDevice::on_device_key(uint8_t position, int state) { OnKeyEvent(position, state); }

// ---- state for the page ----

KeyboardSystemStages CMarluneKeyboardDevice::system_stages() const {
  std::lock_guard lock(state_mutex_);
  return stages_;
}

std::vector<KeyAssignRecord> CMarluneKeyboardDevice::key_list() const {
  std::lock_guard lock(state_mutex_);
  return keys_;
}

KeyMaps CMarluneKeyboardDevice::key_maps() const {
  std::lock_guard lock(state_mutex_);
  return maps_;
}

AudioLightInfo CMarluneKeyboardDevice::audio_light_info() const {
  std::lock_guard lock(state_mutex_);
  return audio_;
}

CondensedSettings CMarluneKeyboardDevice::condensed_settings() const {
  std::lock_guard lock(state_mutex_);
  return condensed_;
}

LightConfigLists CMarluneKeyboardDevice::light_config() const {
  std::lock_guard lock(state_mutex_);
  return lists_;
}

KeyboardSettingsBlock CMarluneKeyboardDevice::last_settings_block() const {
  std::lock_guard lock(state_mutex_);
  return last_block_;
}

std::vector<CustomColour> CMarluneKeyboardDevice::custom_colours() const {
  std::lock_guard lock(state_mutex_);
  return custom_colours_;
}

std::vector<int> CMarluneKeyboardDevice::mode_table() const {
  std::lock_guard lock(state_mutex_);
  return lists_.mode_values;
}

// ---- connect ----

int CMarluneKeyboardDevice::read_key_tables() {
  protocol::CommandChannel& ch = primary_channel();
  std::array<uint8_t, kInfoBlockSize> info{};
  protocol::CommandTransaction tx(ch);
  if (tx.run([&] { return ch.read_info(info.data()); }) != protocol::kResultOk) return tx.result();
  set_info_block(info);
  const size_t count = info[kInfoKeyCount];
  const size_t bytes = count * kKeyCodeSize;
  if (bytes > kMaxKeyTableBytes) return tx.fail(protocol::kResultBadRequest);
  ch.set_data_length(static_cast<uint16_t>(bytes));
  std::vector<uint8_t> keys(bytes), leds(count);
  tx.run([&] { return ch.read_keys(keys.data()); });
  if (tx.run([&] { return ch.read_led_map(leds.data()); }) != protocol::kResultOk) return tx.result();
  KeyMaps maps = build_key_maps(keys, leds, count);
  std::lock_guard lock(state_mutex_);
  key_table_ = std::move(keys);
  led_table_ = std::move(leds);
  maps_ = maps;
  return tx.result();
}

int CMarluneKeyboardDevice::connect_now() {
  int r = protocol::kResultNoReply;
  if (primary_channel().opened()) {
    {
      std::lock_guard lock(state_mutex_);
      maps_.clear();
    }
    r = read_key_tables();
  }
  load_profile_now();
  int refreshed = refresh_from_device_now(nullptr);
  apply_profile_to_page_now();
  light_thread_.start([this] { return primary_channel().opened() && !primary_channel().synchronised(); });
  if (r == protocol::kResultOk) r = refreshed;
  return r;
}

// ---- profile ----

void CMarluneKeyboardDevice::take_profile_state() {
  std::vector<KeyAssignRecord> keys = profile_.GetKeyList();
  KeyboardSystemStages stages = profile_.GetSystemStages();
  std::lock_guard lock(state_mutex_);
  keys_ = std::move(keys);
  stages_ = stages;
}

int CMarluneKeyboardDevice::load_profile_now() {
  std::string path = profile_path();
  profile_.SetProfilePath(path);
  profile_.SetConfigPath(CustomLightConfigPath(user_data_folder()));
  Json::Value device = profile_.LoadProfile(path);
  take_profile_state();
  ApplyProfileLighting();
  return device.isNull() ? protocol::kResultNoReply : protocol::kResultOk;
}

int CMarluneKeyboardDevice::load_default_profile_now() {
  Json::Value device = profile_.LoadProfile(default_profile_path());
  take_profile_state();
  ApplyProfileLighting();
  return device.isNull() ? protocol::kResultNoReply : protocol::kResultOk;
}

bool CMarluneKeyboardDevice::save_profile_now() { return profile_.Save(); }

void CMarluneKeyboardDevice::run_settings(const CondensedSettings& c, bool prepare) {
  LightInfo run;
  run.select_item = c.mode;
  run.light = c.light;
  run.speed = c.speed;
  run.fx = c.fx;
  run.multi_color = c.multi_color;
  run.red = c.red;
  run.green = c.green;
  run.blue = c.blue;
  run.zzcc_led_mode = c.zzcc_led_mode;
  run.custom_group = c.custom_group;
  lighting_.set_light_info(run, prepare);
  light_thread_.poke();
}

void CMarluneKeyboardDevice::prepare_mode(const LightInfo& light) {
  CondensedSettings settings = condensed_from_light_info(light);
  if (light.select_item == kCustomMode) {
    std::vector<CustomColour> colours = profile_.GetCustomColours(light.custom_group, kLogicalKeyCount);
    colours.resize(kLogicalKeyCount);
    std::array<lighting::Rgb, kLogicalKeyCount> rgb;
    for (size_t i = 0; i < kLogicalKeyCount; ++i)
      rgb[i] = {colours[i].red, colours[i].green, colours[i].blue};
    {
      std::lock_guard lock(state_mutex_);
      custom_colours_ = colours;
    }
    lighting_.set_custom_colours(rgb);
    run_settings(settings, true);
    upload_custom_colours_now();
  } else {
    run_settings(settings, true);
  }
}

int CMarluneKeyboardDevice::ApplyProfileLighting() {
  apply_lighting(profile_.GetLightInfo(), true);
  return protocol::kResultOk;
}

void CMarluneKeyboardDevice::apply_lighting(const LightInfo& light, bool take_record) {
  AudioLightInfo music = profile_.GetAudioLightInfo();
  CondensedSettings settings = condensed_from_light_info(light);
  bool changed;
  {
    std::lock_guard lock(state_mutex_);
    changed = condensed_.mode != settings.mode;
    if (take_record) light_info_ = light;
    audio_ = music;
    condensed_ = settings;
  }
  lighting_.set_music_style(lighting::music_style_from_audio(music));
  if (changed || light.select_item == kCustomMode)
    prepare_mode(light);
  else
    run_settings(settings, false);
  // Counter from the start; in the falling-keys mode the key colours restart too.
  lighting_.restart_after_profile();
  profile_.LoadConfig(profile_.GetConfigPath());
  std::vector<lighting::LightProgramStep> steps;
  for (const LightEffectStep& e : profile_.GetLightEffectList())
    steps.push_back(lighting::program_step_from_effect(e));
  lighting_.program().set_steps(std::move(steps));
}

int CMarluneKeyboardDevice::LoadLightConfig() {
  LightConfigLists lists = light_config();
  qxr::LoadLightConfig(lists, LightConfigFilesFor(static_cast<int>(kKindKeyboard), user_data_folder()),
                       kCatalogueVariant, true);
  std::lock_guard lock(state_mutex_);
  lists_ = std::move(lists);
  return protocol::kResultOk;
}

void CMarluneKeyboardDevice::apply_profile_to_page_now() {
  LoadLightConfig();
  page().key_list_changed();
  LightInfo light = GetLightInfo();
  AudioLightInfo music = audio_light_info();
  page().show_lighting(light, music);
  page().select_custom_group(light.custom_group);
  profile_.SetCustomGroupIndex(light.custom_group);
  save_profile_now();
  show_system_settings(page(), system_stages());
}

bool CMarluneKeyboardDevice::check_macro_keys_now() {
  // The cached list may predate "macro.config" (a profile applied before the page showed it,
  // macros made since): counting against it would revert every macro key.
  LoadLightConfig();
  const size_t macros = light_config().macro_names.size();
  std::vector<KeyAssignRecord> keys = key_list();
  if (!revert_missing_macros(keys, macros)) return false;
  profile_.SetKeyList(keys);
  {
    std::lock_guard lock(state_mutex_);
    keys_ = keys;
  }
  page().key_list_changed();
  return true;
}

// ---- refresh ----

int CMarluneKeyboardDevice::refresh_from_device_now(int* out_profile) {
  protocol::CommandChannel& ch = primary_channel();
  if (!ch.opened()) return protocol::kResultNoReply;
  uint8_t active = 0;
  KeyboardSettingsBlock block{};
  int r = ch.read_params(&active, 1, kActiveProfileAddress);
  if (r == protocol::kResultOk)
    r = ch.read_params(block.data(), block.size(), static_cast<uint16_t>(active * kSettingsBlockStride));
  // A failed read leaves state and profile as they were: decoding a half-read block would
  // overwrite the user's lighting with zeros.
  if (r != protocol::kResultOk) return r;
  block[kBlockProfile] = active;
  block[kBlockCleared] = 0;

  LightInfo previous = GetLightInfo();
  DecodedSettings d = decode_settings_block(block, mode_table(), previous, system_stages());
  {
    std::lock_guard lock(state_mutex_);
    last_block_ = block;
    condensed_ = d.condensed;
    light_info_ = d.light;
    stages_ = d.stages;
  }
  if (d.mode_changed || d.light.select_item == kCustomMode)
    prepare_mode(d.light);
  else
    run_settings(d.condensed, false);
  profile_.SetSystemStages(d.stages);
  profile_.SetLightInfo(d.light);
  save_profile_now();
  AudioLightInfo music = audio_light_info();
  page().show_lighting(d.light, music);
  show_system_settings(page(), d.stages);
  if (out_profile) *out_profile = active;
  return protocol::kResultOk;
}

// ---- sends ----

int CMarluneKeyboardDevice::write_settings_now(int onboard_profile, int profile_byte) {
  protocol::CommandChannel& ch = primary_channel();
  KeyboardSettingsBlock block = encode_settings_block(GetLightInfo(), system_stages(), mode_table(),
                                                      static_cast<uint8_t>(profile_byte));
  if (!ch.opened()) return protocol::kResultNoReply;
  protocol::CommandTransaction tx(ch);
  tx.run([&] {
    return ch.write_params(block.data(), block.size(), static_cast<uint16_t>(onboard_profile * kSettingsBlockStride));
  });
  // A block the keyboard refused is not reported as sent.
  return tx.finish();
}

std::string CMarluneKeyboardDevice::macro_config_path() const {
  return user_data_folder() + kMacroConfigFile;
}

size_t CMarluneKeyboardDevice::macro_count_from_file() const {
  const Json::Value config = ReadJsonFile(macro_config_path());
  const Json::Value& list = Member(config, "MacroInfo");
  return list.isArray() ? list.size() : 0;
}

int CMarluneKeyboardDevice::write_key_assignments_now(int onboard_profile,
                                                      const std::vector<KeyAssignRecord>& keys) {
  protocol::CommandChannel& ch = primary_channel();
  if (!ch.opened()) return protocol::kResultNoReply;
  std::array<uint8_t, kInfoBlockSize> info{};
  if (ch.read_info(info.data()) == protocol::kResultOk) set_info_block(info);
  size_t macros = macro_count_from_file();
  std::vector<uint8_t> table;
  {
    std::lock_guard lock(state_mutex_);
    table = build_key_table(key_table_, keys, maps_, macros);
  }
  if (table.empty()) return protocol::kResultBadRequest;  // the key tables were never read
  ch.set_data_length(static_cast<uint16_t>(table.size()));
  protocol::CommandTransaction tx(ch);
  tx.run([&] { return ch.write_keys(table.data(), onboard_profile); });
  return tx.finish();
}

int CMarluneKeyboardDevice::write_macros_now(const std::vector<int>& macro_indices) {
  std::string folder = user_data_folder();
  Json::Value config = ReadJsonFile(folder + kMacroConfigFile);
  if (config.isNull() || macro_indices.empty()) return 0;
  const Json::Value& info_list = Member(config, "MacroInfo");
  std::vector<std::vector<MacroEvent>> macros;
  try {
    macros.reserve(macro_indices.size());
    for (int index : macro_indices) {
      const Json::Value& entry = index >= 0 ? Element(info_list, static_cast<Json::ArrayIndex>(index))
                                            : Json::Value::nullSingleton();
      std::string stem = ToString(Member(entry, "Guid"));
      // A missing or foreign entry keeps its slot, empty, so later slots keep their numbers.
      macros.push_back(safe_file_stem(stem)
                           ? macro_events_from_document(ReadJsonFile(folder + stem + kMacroFileExtension))
                           : std::vector<MacroEvent>{});
    }
  } catch (const std::bad_alloc&) {
    return -1;
  }
  size_t total = macro_blob_length(macros);
  size_t capacity = size_t{info_block()[kInfoMacroCapacity]} * kMacroCapacityUnit;
  if (int overflow = macro_overflow_count(total, capacity); overflow > 0) return overflow;
  std::vector<uint8_t> blob;
  try {
    blob = build_macro_blob(macros);
  } catch (const std::bad_alloc&) {
    return -1;
  }
  if (blob.empty()) return -1;

  protocol::CommandChannel& ch = primary_channel();
  if (!ch.opened()) return -1;
  protocol::CommandTransaction tx(ch);
  const int w = tx.run([&] { return ch.write_macros(blob.data(), blob.size()); });
  // A refused or lost image is a failure, not a success: -1 for no answer, else the status.
  if (w == protocol::kResultOk) return 0;
  return w < 0 ? w : -1;
}

int CMarluneKeyboardDevice::upload_custom_colours_now() {
  protocol::CommandChannel& ch = primary_channel();
  std::array<uint8_t, kLightFrameBytes> buffer{};
  size_t positions;
  uint8_t group;
  {
    std::lock_guard lock(state_mutex_);
    positions = key_table_.size() / kKeyCodeSize;
    group = light_info_.custom_group;
    for (size_t j = 0; j < kLogicalKeyCount; ++j) {
      uint8_t pos = maps_.position[j], led = maps_.led[j];
      if (pos == kNoPosition || pos >= positions || led == kNoLed) continue;
      size_t at = size_t{led} * kLedBytes;
      if (at + kLedBytes > buffer.size()) continue;
      buffer[at] = custom_colours_[j].red;
      buffer[at + 1] = custom_colours_[j].green;
      buffer[at + 2] = custom_colours_[j].blue;
    }
  }
  if (!ch.opened()) return protocol::kResultNoReply;
  int r = ch.write_key_colours(buffer.data(), positions * kLedBytes, group, kCustomColourSlotSize);
  if (r != protocol::kResultOk) start_failure_pause();
  return r;
}

int CMarluneKeyboardDevice::set_custom_key_colour_now(int key) {
  LightInfo light = GetLightInfo();
  if (light.select_item != kCustomMode || key < 0 || static_cast<size_t>(key) >= kLogicalKeyCount)
    return protocol::kResultNoReply;
  CustomColour colour{light.red, light.green, light.blue, 0};
  std::vector<CustomColour> colours;
  {
    std::lock_guard lock(state_mutex_);
    colour.alpha = custom_colours_[static_cast<size_t>(key)].alpha;
    custom_colours_[static_cast<size_t>(key)] = colour;
    colours = custom_colours_;
  }
  lighting_.SetCustomKeyColour(static_cast<size_t>(key), {colour.red, colour.green, colour.blue});
  profile_.SetCustomColours(colours, light.custom_group);
  save_profile_now();
  return upload_custom_colours_now();
}

// ---- light frame ----

void CMarluneKeyboardDevice::send_light_frame_now() {
  if (!get_host_lighting()) return;
  lighting::KeyFrame frame;
  lighting_.read_frame(frame);
  std::array<IndicatorColour, kLogicalKeyCount> shown;
  std::array<uint8_t, kLightFrameBytes> buffer{};
  size_t positions;
  uint8_t mode;
  {
    std::lock_guard lock(state_mutex_);
    positions = key_table_.size() / kKeyCodeSize;
    mode = light_info_.select_item;
    for (size_t i = 0; i < kLogicalKeyCount; ++i) {
      const lighting::LedRecord& e = frame[i];
      shown[i] = {e.red, e.green, e.blue, e.brightness};
      uint8_t led = maps_.led[i];
      size_t at = size_t{led} * kLedBytes;
      if (led == kNoLed || at + kLedBytes > buffer.size()) continue;
      buffer[at] = static_cast<uint8_t>((e.red * e.brightness) >> 8);
      buffer[at + 1] = static_cast<uint8_t>((e.green * e.brightness) >> 8);
      buffer[at + 2] = static_cast<uint8_t>((e.blue * e.brightness) >> 8);
    }
  }
  page().show_indicators(shown);
  if (is_streamed_mode(mode)) stream_frame(buffer.data(), positions * kLedBytes);
}

}  // namespace qxr::devices

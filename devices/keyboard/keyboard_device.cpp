#include "devices/keyboard/keyboard_device.h"

#include <algorithm>
#include <new>

#include "core/debug_line.h"
#include "devices/keyboard/key_assignments.h"
#include "devices/keyboard/macro_blob.h"
#include "profile/data_paths.h"
#include "profile/macro_files.h"
#include "protocol/command_transaction.h"

namespace qxr::devices {

namespace {

constexpr uint16_t kActiveProfileAddress = 0;

bool is_streamed_mode(uint8_t mode) { return mode == kMusicMode || mode == kFedColourMode; }

IndicatorColour indicator_colour(const lighting::LedRecord& e) { return {e.red, e.green, e.blue, e.brightness}; }

constexpr char kMusicFrameTask[] = "music frame";
// The light timer's period: a music frame sent within it makes the timer's own frame needless.
constexpr uint64_t kLightTimerMs = 50;

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
  light_thread_.set_music_frame_sender([this] {
    if (!get_host_lighting()) return;
    post_coalesced(kMusicFrameTask, [this] { send_frame_now(true); });
  });
  light_thread_.set_frame_hook([this] { send_light_frame(); });
}

CMarluneKeyboardDevice::~CMarluneKeyboardDevice() { CMarluneKeyboardDevice::stop_device_threads(); }

void CMarluneKeyboardDevice::stop_device_threads() {
  shutdown();
  light_thread_.stop();
  StopSyncThread();
}

// ---- UI-thread operations ----

void CMarluneKeyboardDevice::write_key_assignments(int onboard_profile, std::vector<KeyAssignRecord> keys) {
  post_operation(DeviceOperation::WriteKeyAssignments, [this, onboard_profile, keys = std::move(keys)] {
    return write_key_assignments_now(onboard_profile, keys);
  });
}

void CMarluneKeyboardDevice::write_macros(std::vector<int> macro_indices) {
  post_operation(DeviceOperation::WriteMacros,
                 [this, list = std::move(macro_indices)] { return write_macros_now(list); });
}

DeviceCapabilities CMarluneKeyboardDevice::capabilities() const {
  DeviceCapabilities c = CMarluneUSBDevice::capabilities();
  c.keys = c.macros = c.macro_upload = c.music = c.system_settings = true;
  return c;
}

bool CMarluneKeyboardDevice::paint_custom_keys(std::span<const int> keys, bool lit) {
  if (lit) {
    for (int key : keys) SetCustomKeyColour(key);
    return true;
  }
  // The keyboard paints a key with the record's colour as it stands when the paint runs on its
  // thread. For dark keys the record (and nothing else: the profile keeps the user's colour)
  // turns black until the profile's record is taken back after the paints, in the same order; a
  // settings block sent meanwhile is sent again with the colour back. The record comes from the
  // profile in memory, not the file: a save that failed must not lose the user's colours.
  LightInfo dark = GetLightInfo();
  dark.red = dark.green = dark.blue = 0;
  CMarluneUSBDevice::set_lighting_state(dark);
  for (int key : keys) SetCustomKeyColour(key);
  post_task([this] { ApplyProfileLighting(); });
  write_settings();
  return true;
}

void CMarluneKeyboardDevice::SetCustomKeyColour(int key) {
  post_operation(DeviceOperation::SetCustomKeyColour, [this, key] { return set_custom_key_colour_now(key); });
}

void CMarluneKeyboardDevice::set_system_setting(SystemSetting setting, int value) {
  KeyboardSystemStages stages;
  {
    std::lock_guard lock(state_mutex_);
    apply_system_setting(stages_, setting, value);
    stages = stages_;
  }
  post_operation(DeviceOperation::WriteSettings, [this, stages] { return store_system_stages_now(stages); });
}

int CMarluneKeyboardDevice::store_system_stages_now(const KeyboardSystemStages& stages) {
  profile_.SetSystemStages(stages);
  save_profile_now();
  return write_settings_now();
}

void CMarluneKeyboardDevice::reset_system_settings(bool repeat_only) {
  post_operation(DeviceOperation::WriteSettings, [this, repeat_only] {
    CKeyboardProfiledata factory;
    factory.LoadProfile(default_profile_path());
    const KeyboardSystemStages defaults = factory.GetSystemStages();
    KeyboardSystemStages stages;
    {
      std::lock_guard lock(state_mutex_);
      apply_system_setting(stages_, SystemSetting::RepeatRate, defaults.repeat);
      apply_system_setting(stages_, SystemSetting::RepeatDelay, defaults.repeat_delay);
      if (!repeat_only) {
        apply_system_setting(stages_, SystemSetting::PollingRate, defaults.polling_rate);
        apply_system_setting(stages_, SystemSetting::WinLock, defaults.win_flag);
        apply_system_setting(stages_, SystemSetting::W, defaults.w_flag);
        apply_system_setting(stages_, SystemSetting::Key6, defaults.key6_flag);
      }
      stages = stages_;
    }
    page().set_repeat_rate(stages.repeat);
    page().set_repeat_delay_option(stages.repeat_delay, repeat_delay_ms(stages.repeat_delay));
    if (!repeat_only) {
      page().set_polling_option(stages.polling_rate);
      page().set_system_flag(SystemFlag::WinLock, stages.win_flag != 0);
      page().set_system_flag(SystemFlag::W, stages.w_flag != 0);
      page().set_system_flag(SystemFlag::Key6, stages.key6_flag != 0);
    }
    return store_system_stages_now(stages);
  });
}

void CMarluneKeyboardDevice::set_lighting_state(const LightInfo& info) {
  // Visible at once to the next GetLightInfo, so quick successive edits build on each other.
  CMarluneUSBDevice::set_lighting_state(info);
  post_task([this, info] { store_lighting_now(info); });
}

void CMarluneKeyboardDevice::store_lighting_now(const LightInfo& info) {
  profile_.SetLightInfo(info);
  save_profile_now();
  run_lighting_now(info);
}

void CMarluneKeyboardDevice::run_lighting_now(const LightInfo& info) {
  // The record itself stays as the UI last set it: a newer edit may already be waiting.
  apply_lighting(info, false);
}

void CMarluneKeyboardDevice::show_temporary_now(const LightInfo& info) {
  CMarluneUSBDevice::show_temporary_now(info);
  page().select_custom_group(info.custom_group);
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
  const size_t macros = macro_count_from_file();
  const std::vector<KeyAssignRecord> keys = key_list();
  std::lock_guard lock(state_mutex_);
  return collect_macro_slots(keys, maps_, macros);
}

void CMarluneKeyboardDevice::FeedSpectrum(const int32_t* bands, size_t count, int) {
  if (bands == nullptr) return;
  lighting_.FeedSpectrum(bands, std::min(count, lighting::kMusicBands));
  if (lighting_.in_music_mode()) light_thread_.poke();
}

void CMarluneKeyboardDevice::FeedLevels(const uint8_t* values, size_t count) {
  if (values == nullptr) return;
  lighting_.FeedLevels(values, std::min(count, lighting::kMusicLevels));
  if (lighting_.in_music_mode()) light_thread_.poke();
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

KeyboardSettingsBlock CMarluneKeyboardDevice::last_settings_block() const {
  std::lock_guard lock(state_mutex_);
  return last_block_;
}

std::vector<CustomColour> CMarluneKeyboardDevice::custom_colours() const {
  std::lock_guard lock(state_mutex_);
  return custom_colours_;
}

std::vector<int> CMarluneKeyboardDevice::mode_table() const { return light_config().mode_values; }

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
  // Outside the streamed modes the frame only feeds the picture: nobody sees it, nothing is due.
  light_thread_.start([this] {
    return get_host_lighting() && primary_channel().opened() && !primary_channel().synchronised() &&
           (CMarluneKeyboardDevice::frame_goes_to_device() || page().indicators_visible());
  });
  if (r == protocol::kResultOk) r = refreshed;
  return r;
}

// ---- profile ----

void CMarluneKeyboardDevice::take_profile_state() {
  set_key_list(profile_.GetKeyList());
  const KeyboardSystemStages stages = profile_.GetSystemStages();
  std::lock_guard lock(state_mutex_);
  stages_ = stages;
}

int CMarluneKeyboardDevice::apply_profile_now() {
  load_profile_now();
  check_macro_keys_now();
  apply_profile_to_page_now();
  write_settings_now();
  const int macros = write_macros_now(collect_key_items());
  write_key_assignments_now(0, key_list());
  return macros;
}

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
  lighting_.set_program_steps(std::move(steps));
  light_thread_.poke();
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
  // While a temporary record shows, the device reports that one, not the user's.
  if (!temporary_lighting()) profile_.SetLightInfo(d.light);
  save_profile_now();
  AudioLightInfo music = audio_light_info();
  page().show_lighting(d.light, music);
  show_system_settings(page(), d.stages);
  if (out_profile) *out_profile = active;
  return protocol::kResultOk;
}

// ---- sends ----

int CMarluneKeyboardDevice::write_settings_now(const SettingsWrite& write) {
  protocol::CommandChannel& ch = primary_channel();
  const int onboard_profile = write.onboard_profile;
  KeyboardSettingsBlock block = encode_settings_block(GetLightInfo(), system_stages(), mode_table(),
                                                      static_cast<uint8_t>(write.profile_byte));
  if (!ch.opened()) return protocol::kResultNoReply;
  protocol::CommandTransaction tx(ch);
  tx.run([&] {
    return ch.write_params(block.data(), block.size(), static_cast<uint16_t>(onboard_profile * kSettingsBlockStride));
  });
  // A block the keyboard refused is not reported as sent.
  return tx.finish();
}

size_t CMarluneKeyboardDevice::macro_count_from_file() const {
  return ReadMacroList(user_data_folder() + kMacroConfigFile).value_or(std::vector<MacroEntry>{}).size();
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
  const std::string folder = user_data_folder();
  const std::optional<std::vector<MacroEntry>> list = ReadMacroList(folder + kMacroConfigFile);
  if (!list || macro_indices.empty()) return 0;
  std::vector<std::vector<MacroEvent>> macros;
  try {
    macros.reserve(macro_indices.size());
    for (int index : macro_indices) {
      // A missing or foreign entry keeps its slot, empty, so later slots keep their numbers.
      const bool listed = index >= 0 && static_cast<size_t>(index) < list->size();
      macros.push_back(listed ? ReadMacroEvents(MacroFilePath(folder, (*list)[static_cast<size_t>(index)]))
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

bool CMarluneKeyboardDevice::frame_goes_to_device() const {
  std::lock_guard lock(state_mutex_);
  return is_streamed_mode(light_info_.select_item);
}

void CMarluneKeyboardDevice::send_light_frame_now() { send_frame_now(false); }

void CMarluneKeyboardDevice::show_frame_on_page() {
  if (!get_host_lighting()) return;
  lighting::KeyFrame frame;
  lighting_.read_frame(frame);
  std::array<IndicatorColour, kLogicalKeyCount> shown;
  for (size_t i = 0; i < kLogicalKeyCount; ++i) shown[i] = indicator_colour(frame[i]);
  page().show_indicators(shown);
}

void CMarluneKeyboardDevice::send_frame_now(bool music_frame) {
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
      shown[i] = indicator_colour(e);
      uint8_t led = maps_.led[i];
      size_t at = size_t{led} * kLedBytes;
      if (led == kNoLed || at + kLedBytes > buffer.size()) continue;
      buffer[at] = static_cast<uint8_t>((e.red * e.brightness) >> 8);
      buffer[at + 1] = static_cast<uint8_t>((e.green * e.brightness) >> 8);
      buffer[at + 2] = static_cast<uint8_t>((e.blue * e.brightness) >> 8);
    }
  }
  // While the music frames flow the timer's frame adds nothing but traffic, and the picture
  // follows the frames the keyboard gets.
  const uint64_t last_music = light_thread_.last_music_frame_ms();
  const bool music_flowing = is_streamed_mode(mode) && !music_frame && last_music != kNoMusicFrame &&
                             clock().now_ms() < last_music + kLightTimerMs;
  if (music_flowing) return;
  page().show_indicators(shown);
  if (is_streamed_mode(mode)) stream_frame(buffer.data(), positions * kLedBytes);
}

}  // namespace qxr::devices

#include "devices/audio/headset_audio.h"

#include <algorithm>
#include <cmath>

#include "core/debug_line.h"
#include "devices/audio/endpoint_selection.h"
#include "devices/audio/property_names.h"
#include "devices/audio/property_text.h"

namespace qxr::audio {
namespace {

// Properties that a fresh chip may lack; each is read and, when unreadable, written with 0.
struct DefaultProperty {
  std::string_view name;
  bool render;  // else capture
  std::array<int32_t, 3> extra;
  size_t extra_count;
};

constexpr std::array kDefaults{
    DefaultProperty{PROP_VOLUME, false, {EXTRA_MIC_CHANNEL}, 1},
    DefaultProperty{PROP_AA_VOLUME, false, {EXTRA_MONITOR_CHANNEL}, 1},
    DefaultProperty{PROP_ENABLE_ENC_LFX, false, {}, 0},
    DefaultProperty{PROP_ENC_SELFCALIB, false, {}, 0},
    DefaultProperty{PROP_SURROUND, true,
                    {SURROUND_HP_ENABLE_SELECTOR, SURROUND_ALL_CHANNELS, SURROUND_RESERVED}, 3},
    DefaultProperty{PROP_ENABLE_EQ, true, {}, 0},
    DefaultProperty{"EQ_Slider1", true, {}, 0},
    DefaultProperty{"EQ_Slider2", true, {}, 0},
    DefaultProperty{"EQ_Slider3", true, {}, 0},
    DefaultProperty{"EQ_Slider4", true, {}, 0},
    DefaultProperty{"EQ_Slider5", true, {}, 0},
    DefaultProperty{"EQ_Slider6", true, {}, 0},
    DefaultProperty{"EQ_Slider7", true, {}, 0},
    DefaultProperty{"EQ_Slider8", true, {}, 0},
    DefaultProperty{"EQ_Slider9", true, {}, 0},
    DefaultProperty{"EQ_Slider10", true, {}, 0},
    DefaultProperty{PROP_ENABLE_RFX, true, {}, 0},
    DefaultProperty{PROP_RFX_ENVIRONMENT, true, {}, 0},
    DefaultProperty{PROP_RFX_ROOMSIZE, true, {}, 0},
};

constexpr int32_t kDefaultValue = 0;

// "GetSupportFeature" items kept with the endpoint.
constexpr size_t kFeatureMaskItem = 0;
constexpr size_t kFeatureItem4 = 4;
constexpr size_t kFeatureItem6 = 6;

int32_t as_int(double v) { return static_cast<int32_t>(std::lround(v)); }

EqGains to_gains(const std::vector<int>& values) {
  EqGains g{};
  for (size_t i = 0; i < g.size() && i < values.size(); ++i) g[i] = values[i];
  return g;
}

}  // namespace

const HeadsetAudio::LevelChannel HeadsetAudio::kMic{
    PROP_MAX_VOL,       PROP_MIN_VOL,
    PROP_VOL_STEP,      PROP_VOLUME,
    PROP_VOLUME_SCALAR, PROP_MUTE,
    {EXTRA_MIC_CHANNEL}, &HeadsetAudioPage::SetMicSwitch,
    &HeadsetAudioPage::SetMicSlider, &HeadsetAudioPage::ShowMicLevel};

const HeadsetAudio::LevelChannel HeadsetAudio::kMonitor{
    PROP_AA_MAX_VOL,       PROP_AA_MIN_VOL,
    PROP_AA_VOL_STEP,      PROP_AA_VOLUME,
    PROP_AA_VOLUME_SCALAR, PROP_AA_MUTE,
    {EXTRA_MONITOR_CHANNEL}, &HeadsetAudioPage::SetMonitorSwitch,
    &HeadsetAudioPage::SetMonitorSlider, &HeadsetAudioPage::ShowMonitorLevel};

HeadsetAudio::HeadsetAudio(AudioConfLib& lib, HeadsetAudioProfile& profile,
                           HeadsetAudioPage& page)
    : lib_(lib), profile_(profile), page_(page), io_(lib) {}

void HeadsetAudio::initialise() {
  if (const int rc = lib_.ConfLibInit(); rc != CONF_OK) {
    debug_fmt("ConfLibInit: {}", rc);
    page_.ShowMessage(MSG_CONF_LIB_INIT_FAILED);
  }
  refresh();
}

void HeadsetAudio::refresh() {
  select_endpoints();
  read_volumes();
  report_features();
}

FeatureState HeadsetAudio::probe(const std::optional<SelectedEndpoint>& endpoint, std::string_view name, Extra extra) {
  if (!endpoint) return FeatureState::NoDevice;
  io_.read_text(endpoint->info, name, extra);
  return io_.last_result() == CONF_ERR_UNSUPPORTED ? FeatureState::Unsupported : FeatureState::Available;
}

void HeadsetAudio::report_features() {
  page_.SetFeatureState(AudioFeature::Microphone, capture_ ? FeatureState::Available : FeatureState::NoDevice);
  page_.SetFeatureState(AudioFeature::Monitor, !capture_            ? FeatureState::NoDevice
                                               : monitor_available_ ? FeatureState::Available
                                                                    : FeatureState::Unsupported);
  page_.SetFeatureState(AudioFeature::Equaliser, probe(render_, PROP_ENABLE_EQ));
  // The feature list says whether the chip has a voice changer at all.
  const bool listed = capture_ && (capture_->feature_mask & FEATURE_VOICE_CHANGER) != 0;
  page_.SetFeatureState(AudioFeature::VoiceChanger, !capture_ ? FeatureState::NoDevice
                                                    : listed  ? probe(capture_, PROP_ENABLE_MAGICVOICE)
                                                              : FeatureState::Unsupported);
  page_.SetFeatureState(AudioFeature::Surround, probe(render_, PROP_SURROUND, SURROUND_HP_ENABLE_EXTRA));
}

void HeadsetAudio::select_endpoints() {
  render_.reset();
  capture_.reset();
  monitor_available_ = false;
  lib_.CreateDeviceList();
  const auto playback = list_endpoints(lib_, FLOW_PLAYBACK);
  if (playback.empty()) {
    debug_line("headset audio: no playback endpoint");
    return;
  }
  if (const auto r = select_render_endpoint(playback)) render_ = read_features(*r);
  const auto recording = list_endpoints(lib_, FLOW_RECORDING);
  if (const auto c = select_capture_endpoint(recording)) capture_ = read_features(*c);
  apply_defaults();
}

std::optional<SelectedEndpoint> HeadsetAudio::read_features(const AudioDeviceInfo& info) {
  SelectedEndpoint e{info, 0, 0, 0};
  const auto text = io_.read_text(info, PROP_SUPPORT_FEATURE);
  const auto items = text ? split_items(*text) : std::vector<std::string_view>{};
  if (items.size() < SUPPORT_FEATURE_ITEMS) {
    debug_fmt("GetSupportFeature on endpoint {}: {} items", info.id, items.size());
    page_.ShowMessage(MSG_APO_UNAVAILABLE);
    return e;  // the endpoint still works; it only offers no processing features
  }
  e.feature_mask = static_cast<uint32_t>(parse_integer_item(items[kFeatureMaskItem]).value_or(0));
  e.feature_item4 = parse_integer_item(items[kFeatureItem4]).value_or(0);
  e.feature_item6 = parse_integer_item(items[kFeatureItem6]).value_or(0);
  return e;
}

void HeadsetAudio::apply_defaults() {
  for (const auto& d : kDefaults) {
    const auto& endpoint = d.render ? render_ : capture_;
    if (!endpoint) continue;
    const Extra extra(d.extra.data(), d.extra_count);
    if (io_.read_text(endpoint->info, d.name, extra)) continue;
    debug_fmt("headset audio: {} unreadable, writing {}", d.name, kDefaultValue);
    io_.write_int(endpoint->info, d.name, kDefaultValue, extra);
  }
}

std::optional<double> HeadsetAudio::read_capture(std::string_view name, Extra extra) {
  if (!capture_) return std::nullopt;
  return io_.read_number(capture_->info, name, extra);
}

bool HeadsetAudio::write_capture(std::string_view name, int32_t value, Extra extra) {
  return capture_ && io_.write_int(capture_->info, name, value, extra);
}

bool HeadsetAudio::write_render(std::string_view name, int32_t value, Extra extra) {
  return render_ && io_.write_int(render_->info, name, value, extra);
}

void HeadsetAudio::read_range(const LevelChannel& channel, DbRange& range) {
  if (const auto v = read_capture(channel.max_vol)) range.max_db = *v;
  if (const auto v = read_capture(channel.min_vol)) range.min_db = *v;
  if (const auto v = read_capture(channel.vol_step)) range.step_db = *v;
}

void HeadsetAudio::read_level(const LevelChannel& channel, int32_t& select, int32_t& value) {
  if (const auto db = read_capture(channel.level_db, channel.extra)) {
    (page_.*channel.show_level)(format_db(*db));
  }
  if (const auto muted = read_capture(channel.mute)) select = as_int(*muted) == 0 ? 1 : 0;
  if (const auto scalar = read_capture(channel.level_scalar, channel.extra)) {
    value = scalar_to_percent(*scalar);
  }
}

void HeadsetAudio::read_volumes() {
  if (!capture_) return;
  read_range(kMic, mic_range_);
  read_level(kMic, stages_.mic_in_select, stages_.mic_in_value);

  // Without a monitoring maximum the chip has no monitoring path: leave it all alone.
  if (const auto max = read_capture(kMonitor.max_vol)) {
    monitor_available_ = true;
    monitor_range_.max_db = *max;
    if (const auto v = read_capture(kMonitor.min_vol)) monitor_range_.min_db = *v;
    if (const auto v = read_capture(kMonitor.vol_step)) monitor_range_.step_db = *v;
    read_level(kMonitor, stages_.mic_monitor_select, stages_.mic_monitor_value);
  } else {
    monitor_available_ = false;
  }

  if (capture_->feature_mask & FEATURE_VOICE_CHANGER) {
    if (const auto on = read_capture(PROP_ENABLE_MAGICVOICE)) {
      stages_.magic_enable = as_int(*on) != 0 ? 1 : 0;
    }
  }
  if (const auto selection = read_capture(PROP_MAGICVOICE_SELECTION)) {
    const int32_t s = as_int(*selection);
    if (s >= 0 && s <= VOICE_LAST - VOICE_FIRST) stages_.magic_type = s + VOICE_FIRST;
  }
  if (render_) {
    if (const auto surround = io_.read_number(render_->info, PROP_SURROUND, SURROUND_HP_ENABLE_EXTRA)) {
      stages_.virtual_surround = as_int(*surround) != 0 ? 1 : 0;
    }
  }

  profile_.SetSystemSetStages(stages_);
  page_.SetMicSwitch(stages_.mic_in_select != 0);
  page_.SetMicSlider(stages_.mic_in_value);
  page_.SetMonitorSwitch(stages_.mic_monitor_select != 0);
  page_.SetMonitorSlider(stages_.mic_monitor_value);
  page_.SetVoiceChangerSwitch(stages_.magic_enable != 0);
  page_.SelectVoiceOption(stages_.magic_type);
  page_.SetSurroundSwitch(stages_.virtual_surround != 0);
}

EqGains HeadsetAudio::custom_gains(int index) {
  return to_gains(profile_.GetCustomEqValues(index));
}

void HeadsetAudio::load_profile() {
  stages_ = profile_.GetSystemSetStages();
  custom_names_ = profile_.GetCustomEqNames();
  const int index = stages_.custom_eq_select_index;
  // A stale index (names edited elsewhere) selects nothing rather than a missing entry.
  selected_custom_ = index >= 0 && static_cast<size_t>(index) < custom_names_.size() ? index : -1;
  if (stages_.eq_type == EQ_TYPE_CUSTOM) {
    gains_ = selected_custom_ >= 0 ? custom_gains(selected_custom_) : EqGains{};
  } else {
    gains_ = to_gains(profile_.GetEqValues(stages_.eq_type));
  }
}

void HeadsetAudio::apply_profile_to_page() {
  page_.SetVoiceChangerSwitch(stages_.magic_enable != 0);
  page_.SelectVoiceOption(stages_.magic_type);
  page_.SetMicSwitch(stages_.mic_in_select != 0);
  page_.SetMicSlider(stages_.mic_in_value);
  page_.SetMonitorSwitch(stages_.mic_monitor_select != 0);
  page_.SetMonitorSlider(stages_.mic_monitor_value);
  page_.SelectEqPreset(stages_.eq_type);
  page_.ClearCustomNames();
  for (const auto& name : custom_names_) page_.AddCustomName(name);
  page_.SelectCustomName(selected_custom_);
  page_.ShowCustomEq(stages_.eq_type == EQ_TYPE_CUSTOM);
  for (int band = 0; band < EQ_BANDS; ++band) {
    page_.SetBandValue(band, gains_[static_cast<size_t>(band)]);
  }
  page_.SetSurroundSwitch(stages_.virtual_surround != 0);
}

void HeadsetAudio::commit() {
  profile_.SetSystemSetStages(stages_);
  profile_.Save();
}

bool same_name_ignoring_case(std::string_view a, std::string_view b) {
  auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::ranges::equal(a, b, [&](char x, char y) { return fold(x) == fold(y); });
}

}  // namespace qxr::audio

#include "devices/audio/alsa_audio_conf.h"

#include <array>
#include <cmath>

#include "core/debug_line.h"
#include "devices/audio/property_names.h"
#include "devices/audio/property_text.h"

namespace qxr::audio {
namespace {

// Mixer element names, best first. USB audio cards name the microphone's capture control
// "Mic" and the microphone's playback (monitoring) control "Mic" as well.
constexpr std::array<std::string_view, 4> kCaptureNames{"Mic", "Capture", "Headset",
                                                        "Microphone"};
constexpr std::array<std::string_view, 4> kMonitorNames{"Mic", "Sidetone", "Mic Playback",
                                                        "Monitor"};

constexpr double kCentiDbPerDb = 100.0;

const std::string& element_of(bool monitor, const std::string& capture,
                              const std::string& monitor_name) {
  return monitor ? monitor_name : capture;
}

}  // namespace

AlsaAudioConf::AlsaAudioConf(std::unique_ptr<MixerAccess> mixer, AlsaAudioConfOptions options)
    : mixer_(std::move(mixer)), options_(std::move(options)) {}

const AlsaAudioConf::Route* AlsaAudioConf::find_route(std::string_view property) {
  static constexpr std::array kRoutes{
      Route{PROP_MAX_VOL, Kind::MaxDb, false},
      Route{PROP_MIN_VOL, Kind::MinDb, false},
      Route{PROP_VOL_STEP, Kind::StepDb, false},
      Route{PROP_VOLUME, Kind::LevelDb, false},
      Route{PROP_VOLUME_SCALAR, Kind::LevelScalar, false},
      Route{PROP_MUTE, Kind::Mute, false},
      Route{PROP_AA_MAX_VOL, Kind::MaxDb, true},
      Route{PROP_AA_MIN_VOL, Kind::MinDb, true},
      Route{PROP_AA_VOL_STEP, Kind::StepDb, true},
      Route{PROP_AA_VOLUME, Kind::LevelDb, true},
      Route{PROP_AA_VOLUME_SCALAR, Kind::LevelScalar, true},
      Route{PROP_AA_MUTE, Kind::Mute, true},
  };
  for (const auto& r : kRoutes) {
    if (r.name == property) return &r;
  }
  return nullptr;
}

int AlsaAudioConf::ConfLibInit() {
  std::error_code ec;
  initialised_ = std::filesystem::is_directory(options_.asound_root, ec) && mixer_ != nullptr;
  if (!initialised_) debug_fmt("no ALSA at {}", options_.asound_root.string());
  return initialised_ ? CONF_OK : CONF_ERR_NOT_INITIALISED;
}

void AlsaAudioConf::choose_elements() {
  capture_element_.clear();
  monitor_element_.clear();
  const auto elements = mixer_->elements();
  auto pick = [&](const auto& names, auto has) -> std::string {
    for (std::string_view wanted : names) {
      for (const auto& e : elements) {
        if (e.name == wanted && has(e)) return e.name;
      }
    }
    return {};
  };
  capture_element_ = pick(kCaptureNames, [](const auto& e) { return e.capture_volume; });
  if (capture_element_.empty()) {
    for (const auto& e : elements) {
      if (e.capture_volume) {
        capture_element_ = e.name;
        break;
      }
    }
  }
  // Only a control meant for the microphone's playback is monitoring; the headphone level is not.
  monitor_element_ = pick(kMonitorNames, [](const auto& e) { return e.playback_volume; });
}

int AlsaAudioConf::CreateDeviceList() {
  playback_.clear();
  recording_.clear();
  card_.reset();
  if (!initialised_) return CONF_ERR_NOT_INITIALISED;
  card_ = find_usb_sound_card(options_.asound_root, options_.usb_id);
  if (!card_) {
    mixer_->close();
    debug_line("headset sound card not found");
    return CONF_OK;
  }
  if (!mixer_->open(*card_)) return CONF_ERR_NO_DEVICE;
  choose_elements();
  playback_.push_back({*card_, ENDPOINT_HEADPHONES, 0, ENDPOINT_STATE_ACTIVE});
  if (!capture_element_.empty()) {
    recording_.push_back({*card_, ENDPOINT_MICROPHONE, 0, ENDPOINT_STATE_ACTIVE});
  }
  return CONF_OK;
}

int AlsaAudioConf::GetDeviceCount(int flow, int* count) {
  if (count == nullptr || (flow != FLOW_PLAYBACK && flow != FLOW_RECORDING)) {
    return CONF_ERR_INVALID_ARGUMENT;
  }
  *count = static_cast<int>((flow == FLOW_PLAYBACK ? playback_ : recording_).size());
  return CONF_OK;
}

int AlsaAudioConf::GetDeviceById(int flow, int index, AudioDeviceInfo* info) {
  if (info == nullptr || (flow != FLOW_PLAYBACK && flow != FLOW_RECORDING)) {
    return CONF_ERR_INVALID_ARGUMENT;
  }
  const auto& list = flow == FLOW_PLAYBACK ? playback_ : recording_;
  if (index < 0 || static_cast<size_t>(index) >= list.size()) return CONF_ERR_INVALID_ARGUMENT;
  *info = list[static_cast<size_t>(index)];
  return CONF_OK;
}

int AlsaAudioConf::PropertyControl(AudioDeviceInfo device, std::string_view property,
                                   std::span<uint8_t> value, std::span<uint8_t> /*extra*/,
                                   int direction) {
  if (direction != PROPERTY_READ && direction != PROPERTY_WRITE) {
    return CONF_ERR_INVALID_ARGUMENT;
  }
  bool on_capture = false;
  if (!playback_.empty() && device == playback_.front()) {
    on_capture = false;
  } else if (!recording_.empty() && device == recording_.front()) {
    on_capture = true;
  } else {
    return CONF_ERR_NO_DEVICE;
  }
  if (property == PROP_SUPPORT_FEATURE) {
    if (direction != PROPERTY_READ) return CONF_ERR_UNSUPPORTED;
    return put_text(value, ALSA_FEATURE_TEXT) ? CONF_OK : CONF_ERR_INVALID_ARGUMENT;
  }
  const Route* route = find_route(property);
  if (route == nullptr || !on_capture) return CONF_ERR_UNSUPPORTED;
  if (route->monitor && monitor_element_.empty()) return CONF_ERR_UNSUPPORTED;
  mixer_->refresh();
  return direction == PROPERTY_READ ? read(*route, value) : write(*route, value);
}

int AlsaAudioConf::read(const Route& route, std::span<uint8_t> value) {
  const std::string& element = element_of(route.monitor, capture_element_, monitor_element_);
  const MixerSide side = route.monitor ? MixerSide::Playback : MixerSide::Capture;
  std::string text;
  switch (route.kind) {
    case Kind::MaxDb:
    case Kind::MinDb: {
      const auto r = mixer_->db_range(element, side);
      if (!r) return CONF_ERR_IO;
      text = format_decimal((route.kind == Kind::MaxDb ? r->max : r->min) / kCentiDbPerDb);
      break;
    }
    case Kind::StepDb: {
      const auto db = mixer_->db_range(element, side);
      const auto raw = mixer_->volume_range(element, side);
      if (!db || !raw) return CONF_ERR_IO;
      const long steps = raw->max - raw->min;
      text = format_decimal(steps > 0 ? (db->max - db->min) / kCentiDbPerDb / steps : 0.0);
      break;
    }
    case Kind::LevelDb: {
      const auto v = mixer_->volume_db(element, side);
      if (!v) return CONF_ERR_IO;
      text = format_decimal(*v / kCentiDbPerDb);
      break;
    }
    case Kind::LevelScalar: {
      const auto raw = mixer_->volume_range(element, side);
      const auto v = mixer_->volume(element, side);
      if (!raw || !v) return CONF_ERR_IO;
      const long span = raw->max - raw->min;
      text = format_decimal(span > 0 ? static_cast<double>(*v - raw->min) / span : 0.0);
      break;
    }
    case Kind::Mute: {
      const auto on = mixer_->switch_on(element, side);
      if (!on) return CONF_ERR_UNSUPPORTED;  // a level without a switch cannot be muted
      text = format_integer(*on ? 0 : 1);
      break;
    }
  }
  return put_text(value, text) ? CONF_OK : CONF_ERR_INVALID_ARGUMENT;
}

int AlsaAudioConf::write(const Route& route, std::span<const uint8_t> value) {
  if (value.size() < 4) return CONF_ERR_INVALID_ARGUMENT;
  const std::string& element = element_of(route.monitor, capture_element_, monitor_element_);
  const MixerSide side = route.monitor ? MixerSide::Playback : MixerSide::Capture;
  switch (route.kind) {
    case Kind::MaxDb:
    case Kind::MinDb:
    case Kind::StepDb:
      return CONF_ERR_UNSUPPORTED;
    case Kind::LevelDb: {
      const long centi = static_cast<long>(get_int32(value)) * static_cast<long>(kCentiDbPerDb);
      return mixer_->set_volume_db(element, side, centi) ? CONF_OK : CONF_ERR_IO;
    }
    case Kind::LevelScalar: {
      const float scalar = get_float(value);
      if (!std::isfinite(scalar) || scalar < 0.0f || scalar > 1.0f) {
        return CONF_ERR_INVALID_ARGUMENT;
      }
      const auto raw = mixer_->volume_range(element, side);
      if (!raw) return CONF_ERR_IO;
      const long target = raw->min + std::lround(scalar * static_cast<double>(raw->max - raw->min));
      return mixer_->set_volume(element, side, target) ? CONF_OK : CONF_ERR_IO;
    }
    case Kind::Mute: {
      const int32_t mute = get_int32(value);
      if (mute != 0 && mute != 1) return CONF_ERR_INVALID_ARGUMENT;
      if (!mixer_->switch_on(element, side)) return CONF_ERR_UNSUPPORTED;
      return mixer_->set_switch(element, side, mute == 0) ? CONF_OK : CONF_ERR_IO;
    }
  }
  return CONF_ERR_UNSUPPORTED;
}

}  // namespace qxr::audio

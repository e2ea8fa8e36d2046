#include "devices/audio/emulated_audio_chip.h"

#include <fmt/format.h>

#include <cmath>

#include "devices/audio/property_names.h"
#include "devices/audio/property_text.h"

namespace qxr::audio {
namespace {

// Endpoint ids of the default configuration.
constexpr int32_t kChipRenderId = 1;
constexpr int32_t kChipCaptureId = 2;
constexpr int32_t kForeignDigitalId = 100;

// Features of a fresh chip: the voice changer plus surround, equaliser, room effect and noise
// reduction in the low bits; items 4 and 6 are the chip's processing-object versions.
constexpr uint32_t kDefaultFeatureMask = FEATURE_VOICE_CHANGER | 0x1F;
constexpr int kFeatureItem4 = 3;
constexpr int kFeatureItem6 = 1;

constexpr DbRange kMicRange{-12.0, 30.0, 0.5};
constexpr DbRange kMonitorRange{-30.0, 0.0, 1.5};
constexpr double kMicScalar = 0.6;
constexpr double kMonitorScalar = 0.5;

bool extra_ok(ChipExtraRule rule, std::span<const uint8_t> extra) {
  switch (rule) {
    case ChipExtraRule::None:
      return true;
    case ChipExtraRule::MicChannel:
      return extra.size() >= 4 && get_int32(extra, 0) == EXTRA_MIC_CHANNEL;
    case ChipExtraRule::MonitorChannel:
      return extra.size() >= 4 && get_int32(extra, 0) == EXTRA_MONITOR_CHANNEL;
    case ChipExtraRule::SurroundSwitch:
      return extra.size() >= 12 && get_int32(extra, 0) == SURROUND_HP_ENABLE_SELECTOR &&
             get_int32(extra, 1) == SURROUND_ALL_CHANNELS &&
             get_int32(extra, 2) == SURROUND_RESERVED;
  }
  return false;
}

bool value_ok(ChipValueKind kind, int32_t v) {
  switch (kind) {
    case ChipValueKind::Switch:
      return v == 0 || v == 1;
    case ChipValueKind::Selection:
      return v >= 0 && v < CHIP_VOICE_COUNT;
    case ChipValueKind::Gain:
      return v >= CHIP_EQ_GAIN_MIN && v <= CHIP_EQ_GAIN_MAX;
    default:
      return true;
  }
}

}  // namespace

std::string chip_feature_text(uint32_t mask) {
  return fmt::format("{},0,0,0,{},0,{}", mask, kFeatureItem4, kFeatureItem6);
}

EmulatedChipConfig default_chip_config() {
  EmulatedChipConfig c;
  const std::string features = chip_feature_text(kDefaultFeatureMask);
  c.playback = {
      {{kForeignDigitalId, ENDPOINT_DIGITAL, 0, ENDPOINT_STATE_UNPLUGGED}, false, ""},
      {{kChipRenderId, ENDPOINT_HEADPHONES, 0, ENDPOINT_STATE_ACTIVE}, true, features},
  };
  c.recording = {
      {{kChipCaptureId, ENDPOINT_MICROPHONE, 0, ENDPOINT_STATE_ACTIVE}, true, features},
  };
  c.mic_range = kMicRange;
  c.monitor_range = kMonitorRange;
  c.mic_scalar = kMicScalar;
  c.monitor_scalar = kMonitorScalar;
  return c;
}

EmulatedAudioChip::EmulatedAudioChip(EmulatedChipConfig config) : config_(std::move(config)) {
  mic_ = {config_.mic_range, config_.mic_scalar};
  monitor_ = {config_.monitor_range, config_.monitor_scalar};
  values_[std::string(PROP_MUTE)] = config_.mic_muted ? 1 : 0;
  if (config_.has_monitor) values_[std::string(PROP_AA_MUTE)] = config_.monitor_muted ? 1 : 0;
}

int EmulatedAudioChip::ConfLibInit() {
  std::lock_guard lock(mutex_);
  initialised_ = config_.init_result == CONF_OK;
  return config_.init_result;
}

int EmulatedAudioChip::CreateDeviceList() {
  std::lock_guard lock(mutex_);
  if (!initialised_) return CONF_ERR_NOT_INITIALISED;
  listed_playback_ = config_.playback;
  listed_recording_ = config_.recording;
  listed_ = true;
  return CONF_OK;
}

int EmulatedAudioChip::GetDeviceCount(int flow, int* count) {
  std::lock_guard lock(mutex_);
  if (count == nullptr || (flow != FLOW_PLAYBACK && flow != FLOW_RECORDING)) {
    return CONF_ERR_INVALID_ARGUMENT;
  }
  *count = 0;
  if (!initialised_) return CONF_ERR_NOT_INITIALISED;
  const auto& list = flow == FLOW_PLAYBACK ? listed_playback_ : listed_recording_;
  *count = listed_ ? static_cast<int>(list.size()) : 0;
  return CONF_OK;
}

int EmulatedAudioChip::GetDeviceById(int flow, int index, AudioDeviceInfo* info) {
  std::lock_guard lock(mutex_);
  if (info == nullptr || (flow != FLOW_PLAYBACK && flow != FLOW_RECORDING)) {
    return CONF_ERR_INVALID_ARGUMENT;
  }
  if (!initialised_) return CONF_ERR_NOT_INITIALISED;
  const auto& list = flow == FLOW_PLAYBACK ? listed_playback_ : listed_recording_;
  if (index < 0 || static_cast<size_t>(index) >= list.size()) return CONF_ERR_INVALID_ARGUMENT;
  *info = list[static_cast<size_t>(index)].info;
  return CONF_OK;
}

const EmulatedEndpoint* EmulatedAudioChip::find_endpoint(const AudioDeviceInfo& device,
                                                         int* flow) const {
  for (const auto& e : listed_playback_) {
    if (e.info.id == device.id) {
      *flow = FLOW_PLAYBACK;
      return &e;
    }
  }
  for (const auto& e : listed_recording_) {
    if (e.info.id == device.id) {
      *flow = FLOW_RECORDING;
      return &e;
    }
  }
  return nullptr;
}

int EmulatedAudioChip::PropertyControl(AudioDeviceInfo device, std::string_view property,
                                       std::span<uint8_t> value, std::span<uint8_t> extra,
                                       int direction) {
  std::lock_guard lock(mutex_);
  ChipAccess access{device.id, std::string(property), direction, CONF_OK, 0, 0};
  if (direction == PROPERTY_WRITE) {
    access.written_int = get_int32(value);
    access.written_float = get_float(value);
  }
  int flow = FLOW_PLAYBACK;
  const EmulatedEndpoint* endpoint = nullptr;
  if (!initialised_) {
    access.result = CONF_ERR_NOT_INITIALISED;
  } else if (direction != PROPERTY_READ && direction != PROPERTY_WRITE) {
    access.result = CONF_ERR_INVALID_ARGUMENT;
  } else if ((endpoint = find_endpoint(device, &flow)) == nullptr) {
    access.result = CONF_ERR_NO_DEVICE;
  } else if (!endpoint->on_chip) {
    access.result = CONF_ERR_UNSUPPORTED;
  } else if (auto f = failures_.find({access.name, direction}); f != failures_.end()) {
    access.result = f->second;
  } else if (direction == PROPERTY_READ) {
    access.result = read(*endpoint, flow, property, value, extra);
  } else {
    access.result = write(flow, property, value, extra);
  }
  const int result = access.result;
  accesses_.push_back(std::move(access));
  return result;
}

bool EmulatedAudioChip::channel_present(ChipChannel channel) const {
  return channel != ChipChannel::Monitor || config_.has_monitor;
}

EmulatedAudioChip::Level* EmulatedAudioChip::level(ChipChannel channel) {
  return channel == ChipChannel::Monitor ? &monitor_ : &mic_;
}

const EmulatedAudioChip::Level* EmulatedAudioChip::level(ChipChannel channel) const {
  return channel == ChipChannel::Monitor ? &monitor_ : &mic_;
}

int EmulatedAudioChip::read(const EmulatedEndpoint& endpoint, int flow,
                            std::string_view property, std::span<uint8_t> value,
                            std::span<const uint8_t> extra) const {
  std::string text;
  if (property == PROP_SUPPORT_FEATURE) {
    text = endpoint.features;
  } else {
    const ChipProperty* p = find_chip_property(property);
    if (p == nullptr || p->flow != flow || !channel_present(p->channel)) {
      return CONF_ERR_UNSUPPORTED;
    }
    if (!extra_ok(p->extra, extra)) return CONF_ERR_INVALID_ARGUMENT;
    const Level* l = level(p->channel);
    switch (p->kind) {
      case ChipValueKind::RangeMax:
        text = format_decimal(l->range.max_db);
        break;
      case ChipValueKind::RangeMin:
        text = format_decimal(l->range.min_db);
        break;
      case ChipValueKind::RangeStep:
        text = format_decimal(l->range.step_db);
        break;
      case ChipValueKind::LevelDb:
        text = format_decimal(scalar_to_db(l->scalar, l->range));
        break;
      case ChipValueKind::LevelScalar:
        text = format_decimal(l->scalar);
        break;
      default: {
        const auto v = values_.find(property);
        if (v == values_.end()) return CONF_ERR_NOT_SET;
        text = format_integer(v->second);
      }
    }
  }
  return put_text(value, text) ? CONF_OK : CONF_ERR_INVALID_ARGUMENT;
}

int EmulatedAudioChip::write(int flow, std::string_view property,
                             std::span<const uint8_t> value, std::span<const uint8_t> extra) {
  const ChipProperty* p = find_chip_property(property);
  if (p == nullptr || p->flow != flow || !channel_present(p->channel)) {
    return CONF_ERR_UNSUPPORTED;
  }
  if (value.size() < 4 || !extra_ok(p->extra, extra)) return CONF_ERR_INVALID_ARGUMENT;
  switch (p->kind) {
    case ChipValueKind::RangeMax:
    case ChipValueKind::RangeMin:
    case ChipValueKind::RangeStep:
      return CONF_ERR_UNSUPPORTED;
    case ChipValueKind::LevelDb: {
      Level* l = level(p->channel);
      l->scalar = db_to_scalar(get_int32(value), l->range);
      return CONF_OK;
    }
    case ChipValueKind::LevelScalar: {
      const float scalar = get_float(value);
      if (!std::isfinite(scalar) || scalar < 0.0f || scalar > 1.0f) {
        return CONF_ERR_INVALID_ARGUMENT;
      }
      level(p->channel)->scalar = scalar;
      return CONF_OK;
    }
    default: {
      const int32_t v = get_int32(value);
      if (!value_ok(p->kind, v)) return CONF_ERR_INVALID_ARGUMENT;
      values_[std::string(property)] = v;
      return CONF_OK;
    }
  }
}

void EmulatedAudioChip::set_init_result(int result) {
  std::lock_guard lock(mutex_);
  config_.init_result = result;
}

void EmulatedAudioChip::set_endpoints(int flow, std::vector<EmulatedEndpoint> endpoints) {
  std::lock_guard lock(mutex_);
  (flow == FLOW_PLAYBACK ? config_.playback : config_.recording) = std::move(endpoints);
}

void EmulatedAudioChip::fail_property(std::string name, int direction, int result) {
  std::lock_guard lock(mutex_);
  failures_[{std::move(name), direction}] = result;
}

void EmulatedAudioChip::clear_failures() {
  std::lock_guard lock(mutex_);
  failures_.clear();
}

std::optional<int32_t> EmulatedAudioChip::stored(const std::string& name) const {
  std::lock_guard lock(mutex_);
  const auto v = values_.find(name);
  if (v == values_.end()) return std::nullopt;
  return v->second;
}

void EmulatedAudioChip::store(const std::string& name, int32_t value) {
  std::lock_guard lock(mutex_);
  values_[name] = value;
}

void EmulatedAudioChip::forget(const std::string& name) {
  std::lock_guard lock(mutex_);
  values_.erase(name);
}

double EmulatedAudioChip::level_scalar(ChipChannel channel) const {
  std::lock_guard lock(mutex_);
  return level(channel)->scalar;
}

void EmulatedAudioChip::set_level_scalar(ChipChannel channel, double scalar) {
  std::lock_guard lock(mutex_);
  level(channel)->scalar = scalar;
}

std::vector<ChipAccess> EmulatedAudioChip::accesses() const {
  std::lock_guard lock(mutex_);
  return accesses_;
}

std::vector<ChipAccess> EmulatedAudioChip::accesses_of(std::string_view name,
                                                       int direction) const {
  std::lock_guard lock(mutex_);
  std::vector<ChipAccess> out;
  for (const auto& a : accesses_) {
    if (a.name == name && (direction < 0 || a.direction == direction)) out.push_back(a);
  }
  return out;
}

void EmulatedAudioChip::clear_accesses() {
  std::lock_guard lock(mutex_);
  accesses_.clear();
}

}  // namespace qxr::audio

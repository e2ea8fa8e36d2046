#include "devices/audio/alsa_mixer.h"

#include <alloca.h>
#include <fmt/format.h>

#include <cstring>
#include <utility>

#include "core/debug_line.h"
#include "devices/audio/alsa_library.h"

namespace qxr::audio {
namespace {

// Mono elements keep their value in channel 0 too, so the first channel speaks for all.
constexpr snd_mixer_selem_channel_id_t kFirstChannel = SND_MIXER_SCHN_FRONT_LEFT;
constexpr unsigned kElementIndex = 0;
constexpr int kRoundNearest = 0;

bool capture(MixerSide side) { return side == MixerSide::Capture; }

}  // namespace

AlsaMixer::AlsaMixer() : AlsaMixer(system_alsa_library) {}

AlsaMixer::AlsaMixer(AlsaLibrarySource library) : source_(std::move(library)) {}

AlsaMixer::~AlsaMixer() { close(); }

bool AlsaMixer::open(int card) {
  close();
  if (alsa_ == nullptr && source_) alsa_ = source_();
  if (alsa_ == nullptr) {
    debug_line("snd_mixer_open: no ALSA library");
    return false;
  }
  snd_mixer_t* h = nullptr;
  if (const int rc = alsa_->snd_mixer_open(&h, 0); rc < 0) {
    debug_fmt("snd_mixer_open: {}", alsa_->snd_strerror(rc));
    return false;
  }
  const std::string device = fmt::format("hw:{}", card);
  int rc = alsa_->snd_mixer_attach(h, device.c_str());
  if (rc >= 0) rc = alsa_->snd_mixer_selem_register(h, nullptr, nullptr);
  if (rc >= 0) rc = alsa_->snd_mixer_load(h);
  if (rc < 0) {
    debug_fmt("mixer {}: {}", device, alsa_->snd_strerror(rc));
    alsa_->snd_mixer_close(h);
    return false;
  }
  handle_ = h;
  return true;
}

void AlsaMixer::close() {
  if (handle_ != nullptr) alsa_->snd_mixer_close(handle_);
  handle_ = nullptr;
}

void AlsaMixer::refresh() {
  if (handle_ != nullptr) alsa_->snd_mixer_handle_events(handle_);
}

snd_mixer_elem_t* AlsaMixer::find(const std::string& element) const {
  if (handle_ == nullptr) return nullptr;
  // What snd_mixer_selem_id_alloca does, with the size asked of the loaded library.
  const size_t size = alsa_->snd_mixer_selem_id_sizeof();
  auto* sid = static_cast<snd_mixer_selem_id_t*>(alloca(size));
  std::memset(sid, 0, size);
  alsa_->snd_mixer_selem_id_set_index(sid, kElementIndex);
  alsa_->snd_mixer_selem_id_set_name(sid, element.c_str());
  return alsa_->snd_mixer_find_selem(handle_, sid);
}

std::vector<MixerElementInfo> AlsaMixer::elements() {
  std::vector<MixerElementInfo> out;
  if (handle_ == nullptr) return out;
  const AlsaLibrary& alsa = *alsa_;
  for (auto* e = alsa.snd_mixer_first_elem(handle_); e != nullptr;
       e = alsa.snd_mixer_elem_next(e)) {
    if (!alsa.snd_mixer_selem_is_active(e) || alsa.snd_mixer_selem_get_index(e) != kElementIndex) {
      continue;
    }
    out.push_back({alsa.snd_mixer_selem_get_name(e),
                   alsa.snd_mixer_selem_has_capture_volume(e) != 0,
                   alsa.snd_mixer_selem_has_capture_switch(e) != 0,
                   alsa.snd_mixer_selem_has_playback_volume(e) != 0,
                   alsa.snd_mixer_selem_has_playback_switch(e) != 0});
  }
  return out;
}

std::optional<MixerVolumeRange> AlsaMixer::volume_range(const std::string& element,
                                                        MixerSide side) {
  auto* e = find(element);
  if (e == nullptr) return std::nullopt;
  long min = 0;
  long max = 0;
  const int rc = capture(side) ? alsa_->snd_mixer_selem_get_capture_volume_range(e, &min, &max)
                               : alsa_->snd_mixer_selem_get_playback_volume_range(e, &min, &max);
  if (rc < 0) return std::nullopt;
  return MixerVolumeRange{min, max};
}

std::optional<MixerDbRange> AlsaMixer::db_range(const std::string& element, MixerSide side) {
  auto* e = find(element);
  if (e == nullptr) return std::nullopt;
  long min = 0;
  long max = 0;
  const int rc = capture(side) ? alsa_->snd_mixer_selem_get_capture_dB_range(e, &min, &max)
                               : alsa_->snd_mixer_selem_get_playback_dB_range(e, &min, &max);
  if (rc < 0) return std::nullopt;
  return MixerDbRange{min, max};
}

std::optional<long> AlsaMixer::volume(const std::string& element, MixerSide side) {
  auto* e = find(element);
  if (e == nullptr) return std::nullopt;
  long v = 0;
  const int rc = capture(side) ? alsa_->snd_mixer_selem_get_capture_volume(e, kFirstChannel, &v)
                               : alsa_->snd_mixer_selem_get_playback_volume(e, kFirstChannel, &v);
  if (rc < 0) return std::nullopt;
  return v;
}

bool AlsaMixer::set_volume(const std::string& element, MixerSide side, long value) {
  auto* e = find(element);
  if (e == nullptr) return false;
  const int rc = capture(side) ? alsa_->snd_mixer_selem_set_capture_volume_all(e, value)
                               : alsa_->snd_mixer_selem_set_playback_volume_all(e, value);
  if (rc < 0) debug_fmt("mixer {} set volume: {}", element, alsa_->snd_strerror(rc));
  return rc >= 0;
}

std::optional<long> AlsaMixer::volume_db(const std::string& element, MixerSide side) {
  auto* e = find(element);
  if (e == nullptr) return std::nullopt;
  long v = 0;
  const int rc = capture(side) ? alsa_->snd_mixer_selem_get_capture_dB(e, kFirstChannel, &v)
                               : alsa_->snd_mixer_selem_get_playback_dB(e, kFirstChannel, &v);
  if (rc < 0) return std::nullopt;
  return v;
}

bool AlsaMixer::set_volume_db(const std::string& element, MixerSide side, long centi_db) {
  auto* e = find(element);
  if (e == nullptr) return false;
  const int rc = capture(side)
                     ? alsa_->snd_mixer_selem_set_capture_dB_all(e, centi_db, kRoundNearest)
                     : alsa_->snd_mixer_selem_set_playback_dB_all(e, centi_db, kRoundNearest);
  if (rc < 0) debug_fmt("mixer {} set dB: {}", element, alsa_->snd_strerror(rc));
  return rc >= 0;
}

std::optional<bool> AlsaMixer::switch_on(const std::string& element, MixerSide side) {
  auto* e = find(element);
  if (e == nullptr) return std::nullopt;
  int v = 0;
  const int rc = capture(side) ? alsa_->snd_mixer_selem_get_capture_switch(e, kFirstChannel, &v)
                               : alsa_->snd_mixer_selem_get_playback_switch(e, kFirstChannel, &v);
  if (rc < 0) return std::nullopt;
  return v != 0;
}

bool AlsaMixer::set_switch(const std::string& element, MixerSide side, bool on) {
  auto* e = find(element);
  if (e == nullptr) return false;
  const int rc = capture(side) ? alsa_->snd_mixer_selem_set_capture_switch_all(e, on ? 1 : 0)
                               : alsa_->snd_mixer_selem_set_playback_switch_all(e, on ? 1 : 0);
  if (rc < 0) debug_fmt("mixer {} set switch: {}", element, alsa_->snd_strerror(rc));
  return rc >= 0;
}

}  // namespace qxr::audio

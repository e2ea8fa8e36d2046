#pragma once
// libasound's mixer calls, bound at run time on first use: most sessions never touch the ALSA
// backend, so the program does not pay for loading libasound at start-up. The pointer types
// come from ALSA's own header, so a call cannot drift from the library's signature.
#include <alsa/asoundlib.h>

#include <memory>
#include <string>

namespace qxr::audio {

inline constexpr const char* ALSA_LIBRARY_SONAME = "libasound.so.2";

// Every libasound call the mixer makes, one line each.
#define QXR_ALSA_CALLS(X)                      \
  X(snd_strerror)                              \
  X(snd_mixer_open)                            \
  X(snd_mixer_attach)                          \
  X(snd_mixer_load)                            \
  X(snd_mixer_close)                           \
  X(snd_mixer_handle_events)                   \
  X(snd_mixer_first_elem)                      \
  X(snd_mixer_elem_next)                       \
  X(snd_mixer_find_selem)                      \
  X(snd_mixer_selem_register)                  \
  X(snd_mixer_selem_id_sizeof)                 \
  X(snd_mixer_selem_id_set_index)              \
  X(snd_mixer_selem_id_set_name)               \
  X(snd_mixer_selem_is_active)                 \
  X(snd_mixer_selem_get_index)                 \
  X(snd_mixer_selem_get_name)                  \
  X(snd_mixer_selem_has_capture_volume)        \
  X(snd_mixer_selem_has_capture_switch)        \
  X(snd_mixer_selem_has_playback_volume)       \
  X(snd_mixer_selem_has_playback_switch)       \
  X(snd_mixer_selem_get_capture_volume_range)  \
  X(snd_mixer_selem_get_playback_volume_range) \
  X(snd_mixer_selem_get_capture_dB_range)      \
  X(snd_mixer_selem_get_playback_dB_range)     \
  X(snd_mixer_selem_get_capture_volume)        \
  X(snd_mixer_selem_get_playback_volume)       \
  X(snd_mixer_selem_set_capture_volume_all)    \
  X(snd_mixer_selem_set_playback_volume_all)   \
  X(snd_mixer_selem_get_capture_dB)            \
  X(snd_mixer_selem_get_playback_dB)           \
  X(snd_mixer_selem_set_capture_dB_all)        \
  X(snd_mixer_selem_set_playback_dB_all)       \
  X(snd_mixer_selem_get_capture_switch)        \
  X(snd_mixer_selem_get_playback_switch)       \
  X(snd_mixer_selem_set_capture_switch_all)    \
  X(snd_mixer_selem_set_playback_switch_all)

// One loaded libasound: each member is named after the call it points to. A table that exists
// is complete; it keeps the library loaded while it lives.
class AlsaLibrary {
 public:
  // Null, with a debug line naming the library or the first missing call, when the library
  // cannot be loaded or lacks a call.
  static std::unique_ptr<AlsaLibrary> load(const std::string& soname);

  ~AlsaLibrary();
  AlsaLibrary(const AlsaLibrary&) = delete;
  AlsaLibrary& operator=(const AlsaLibrary&) = delete;

#define QXR_ALSA_MEMBER(name) decltype(&::name) name = nullptr;
  QXR_ALSA_CALLS(QXR_ALSA_MEMBER)
#undef QXR_ALSA_MEMBER

 private:
  explicit AlsaLibrary(void* handle) : handle_(handle) {}
  void* handle_;
};

// The system's libasound, loaded by the first caller from any thread and kept until the
// process ends; null when ALSA is missing (asked again, it does not retry).
const AlsaLibrary* system_alsa_library();

}  // namespace qxr::audio

#pragma once
// Chooses the audio backend: the emulated chip when the program runs on the device emulator
// (demo, tests), the headset's ALSA card otherwise.
#include <memory>

#include "devices/audio/audio_conf.h"

namespace qxr::audio {

enum class AudioBackendKind { Emulated, Alsa };

AudioBackendKind audio_backend_for(bool on_emulator);
std::unique_ptr<AudioConfLib> create_audio_conf(AudioBackendKind kind);

}  // namespace qxr::audio

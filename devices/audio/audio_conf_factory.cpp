#include "devices/audio/audio_conf_factory.h"

#include "devices/audio/alsa_audio_conf.h"
#include "devices/audio/alsa_mixer.h"
#include "devices/audio/emulated_audio_chip.h"

namespace qxr::audio {

AudioBackendKind audio_backend_for(bool on_emulator) {
  return on_emulator ? AudioBackendKind::Emulated : AudioBackendKind::Alsa;
}

std::unique_ptr<AudioConfLib> create_audio_conf(AudioBackendKind kind) {
  switch (kind) {
    case AudioBackendKind::Emulated:
      return std::make_unique<EmulatedAudioChip>();
    case AudioBackendKind::Alsa:
      return std::make_unique<AlsaAudioConf>(std::make_unique<AlsaMixer>());
  }
  return nullptr;
}

}  // namespace qxr::audio

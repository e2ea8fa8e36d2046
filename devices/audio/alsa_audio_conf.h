#pragma once
// The audio-configuration interface on the headset's own ALSA card. The card's mixer holds the
// microphone level and switch, and usually a "Mic" playback control through which the
// microphone is heard in the headphones (monitoring). The chip's processing (equaliser, voice
// changer, surround, noise reduction) is not reachable through ALSA: those properties answer
// CONF_ERR_UNSUPPORTED, and the feature list reports no processing features.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "devices/audio/audio_conf.h"
#include "devices/audio/mixer_access.h"
#include "devices/audio/usb_sound_card.h"

namespace qxr::audio {

// What the ALSA card answers for "GetSupportFeature": seven items, no feature bits.
inline constexpr std::string_view ALSA_FEATURE_TEXT = "0,0,0,0,0,0,0";

struct AlsaAudioConfOptions {
  std::filesystem::path asound_root{ASOUND_ROOT};
  UsbId usb_id{HEADSET_USB_VENDOR, HEADSET_USB_PRODUCT};
};

class AlsaAudioConf : public AudioConfLib {
 public:
  explicit AlsaAudioConf(std::unique_ptr<MixerAccess> mixer, AlsaAudioConfOptions options = {});

  int ConfLibInit() override;
  int CreateDeviceList() override;
  int GetDeviceCount(int flow, int* count) override;
  int GetDeviceById(int flow, int index, AudioDeviceInfo* info) override;
  int PropertyControl(AudioDeviceInfo device, std::string_view property,
                      std::span<uint8_t> value, std::span<uint8_t> extra,
                      int direction) override;

  std::optional<int> card() const { return card_; }
  const std::string& capture_element() const { return capture_element_; }
  const std::string& monitor_element() const { return monitor_element_; }

 private:
  enum class Kind { MaxDb, MinDb, StepDb, LevelDb, LevelScalar, Mute };
  struct Route {
    std::string_view name;
    Kind kind;
    bool monitor;
  };
  static const Route* find_route(std::string_view property);

  int read(const Route& route, std::span<uint8_t> value);
  int write(const Route& route, std::span<const uint8_t> value);
  void choose_elements();

  std::unique_ptr<MixerAccess> mixer_;
  AlsaAudioConfOptions options_;
  bool initialised_ = false;
  std::optional<int> card_;
  std::vector<AudioDeviceInfo> playback_;
  std::vector<AudioDeviceInfo> recording_;
  std::string capture_element_;
  std::string monitor_element_;
};

}  // namespace qxr::audio

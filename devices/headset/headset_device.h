#pragma once
// CMarluneZO6533Device: the headset built on the 6533 audio chip. Its lighting half works like
// the mouse pad's (the same settings block and lighting model), except that its LED colours go
// out in the chip's own output reports. Its audio half (microphone, monitoring, equaliser,
// voice changer) is HeadsetAudio on an audio-configuration backend; the headset runs it on its
// executor, where its profile lives, and keeps "SystemSetStages" in the same profile file.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "devices/audio/audio_conf.h"
#include "devices/audio/headset_audio_controls.h"
#include "devices/audio/headset_audio.h"
#include "devices/audio/zo6533_audio_profile.h"
#include "devices/headset/headset_led_reports.h"
#include "devices/pad/block_lighting_device.h"
#include "profile/headset_profile_data.h"

namespace qxr::devices {

inline constexpr const char* kHeadsetClassName = "MarluneZO6533Device";

class CMarluneZO6533Device : public CBlockLightingDevice, public audio::HeadsetAudioControls {
 public:
  // audio_page shows the audio panels; audio_lib is the chip's backend (emulated or ALSA).
  CMarluneZO6533Device(DevicePage& page, audio::HeadsetAudioPage& audio_page,
                       std::unique_ptr<audio::AudioConfLib> audio_lib, Clock& clock = system_clock());
  ~CMarluneZO6533Device() override;

  DeviceCapabilities capabilities() const override;
  audio::HeadsetAudioControls* audio_controls() override { return this; }

  // --- UI-thread operations ---
  // The base's binding, then the audio library is initialised (once per binding).
  void bind_page_controls() override;

  // Audio editor operations; each leaves "SystemSetStages" in the profile and saves it.
  void ToggleVoiceChanger(bool on) override;
  void SelectVoice(int voice) override;
  void ToggleMicMute() override;
  void SetMicVolume(int percent) override;
  void ToggleMonitorMute() override;
  void SetMonitorVolume(int percent) override;
  void SetEqBand(int band, int gain) override;
  void ApplyEqPreset(int preset) override;
  void ApplyCustomEq(int index) override;
  void SaveCustomEq(std::string name, std::function<void(int)> done = {}) override;
  void DeleteCustomEq() override;
  void SetVirtualSurround(bool on) override;

  // --- state for tests (read after drain(); the executor owns it) ---
  audio::HeadsetAudio& audio() { return audio_; }
  audio::AudioConfLib& audio_library() { return *audio_lib_; }
  // Reports the chip accepted when a frame was last sent (unchanged reports are not sent).
  size_t last_reports_sent() const { return last_reports_sent_.load(); }

  // --- the work itself (executor thread, tests) ---
  int connect_now() override;
  void send_light_frame_now() override;
  void apply_profile_to_page_now() override;
  void initialise_audio_now();

 protected:
  CBasicProfiledata* profile_data() override { return &profile_; }
  void take_profile_state() override;

 private:
  void post_audio(std::function<void()> work);

  CZo6533Profiledata profile_;
  audio::Zo6533AudioProfile audio_profile_;
  std::unique_ptr<audio::AudioConfLib> audio_lib_;
  audio::HeadsetAudio audio_;
  std::atomic<size_t> last_reports_sent_{0};
  std::array<FrameRepeatFilter, kHeadsetReportsPerFrame> report_filters_;  // executor only
  bool audio_initialised_ = false;  // executor only
};

}  // namespace qxr::devices

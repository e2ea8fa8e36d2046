#include "devices/headset/headset_device.h"

#include "profile/data_paths.h"

namespace qxr::devices {

CMarluneZO6533Device::CMarluneZO6533Device(DevicePage& page, audio::HeadsetAudioPage& audio_page,
                                           std::unique_ptr<audio::AudioConfLib> audio_lib, Clock& clock)
    : CBlockLightingDevice(page, clock, kPadModeTable),
      audio_profile_(profile_),
      audio_lib_(std::move(audio_lib)),
      audio_(*audio_lib_, audio_profile_, audio_page) {
  set_kind_and_role(kKindHeadset, 0);
  set_model_folder(kHeadsetFolder);
  profile_.SetDefaultPath(default_profile_path());
  profile_.SetDeviceIndex(0);
}

CMarluneZO6533Device::~CMarluneZO6533Device() { CLoopLightingDevice::stop_device_threads(); }

// ---- UI-thread operations ----

void CMarluneZO6533Device::bind_page_controls() {
  CLoopLightingDevice::bind_page_controls();
  post_task([this] { initialise_audio_now(); });
}

DeviceCapabilities CMarluneZO6533Device::capabilities() const {
  DeviceCapabilities c = CBlockLightingDevice::capabilities();
  c.audio = true;
  return c;
}

void CMarluneZO6533Device::post_audio(std::function<void()> work) { post_task(std::move(work)); }

void CMarluneZO6533Device::ToggleVoiceChanger(bool on) {
  post_audio([this, on] { audio_.ToggleVoiceChanger(on); });
}
void CMarluneZO6533Device::SelectVoice(int voice) {
  post_audio([this, voice] { audio_.SelectVoice(voice); });
}
void CMarluneZO6533Device::ToggleMicMute() {
  post_audio([this] { audio_.ToggleMicMute(); });
}
void CMarluneZO6533Device::SetMicVolume(int percent) {
  post_audio([this, percent] { audio_.SetMicVolume(percent); });
}
void CMarluneZO6533Device::ToggleMonitorMute() {
  post_audio([this] { audio_.ToggleMonitorMute(); });
}
void CMarluneZO6533Device::SetMonitorVolume(int percent) {
  post_audio([this, percent] { audio_.SetMonitorVolume(percent); });
}
void CMarluneZO6533Device::SetEqBand(int band, int gain) {
  post_audio([this, band, gain] { audio_.SetEqBand(band, gain); });
}
void CMarluneZO6533Device::ApplyEqPreset(int preset) {
  post_audio([this, preset] { audio_.ApplyEqPreset(preset); });
}
void CMarluneZO6533Device::ApplyCustomEq(int index) {
  post_audio([this, index] { audio_.ApplyCustomEq(index); });
}
void CMarluneZO6533Device::SaveCustomEq(std::string name, std::function<void(int)> done) {
  post_audio([this, name = std::move(name), done = std::move(done)] {
    const int r = audio_.SaveCustomEq(name);
    if (done) done(r);
  });
}
void CMarluneZO6533Device::SetVirtualSurround(bool on) {
  post_audio([this, on] { audio_.SetVirtualSurround(on); });
}
void CMarluneZO6533Device::DeleteCustomEq() {
  post_audio([this] { audio_.DeleteCustomEq(); });
}

// ---- the work ----

void CMarluneZO6533Device::initialise_audio_now() {
  audio_.initialise();
  audio_initialised_ = true;
}

int CMarluneZO6533Device::connect_now() {
  const int r = read_info_block_now();
  load_profile_now();
  if (!audio_initialised_) {
    initialise_audio_now();
  } else {
    // The card may have come (back) after the page was bound: choose the endpoints again.
    audio_.refresh();
  }
  apply_profile_to_page_now();
  start_light_thread();
  return r;
}

void CMarluneZO6533Device::take_profile_state() { audio_.load_profile(); }

void CMarluneZO6533Device::apply_profile_to_page_now() {
  CLoopLightingDevice::apply_profile_to_page_now();
  audio_.apply_profile_to_page();
}

void CMarluneZO6533Device::send_light_frame_now() {
  if (!get_host_lighting()) return;
  const LoopFrame frame = show_frame();
  protocol::CommandChannel& ch = primary_channel();
  if (!ch.opened()) return;
  size_t sent = 0;
  const uint64_t now = clock().now_ms();
  const uint64_t gen = frame_generation();
  const auto reports = build_headset_led_reports(frame.view());
  const bool resend = take_frame_resend();
  // A report the chip refuses does not keep the others from it; one that did not change since
  // the chip took it stays home, but for a still frame's refresh.
  for (size_t n = 0; n < reports.size(); ++n) {
    FrameRepeatFilter& filter = report_filters_[n];
    if (!resend && !filter.due(reports[n], now, gen)) continue;
    const bool ok = ch.device().set_output_report(reports[n].data(), reports[n].size());
    filter.sent(reports[n], ok, now, gen);
    if (ok)
      ++sent;
    else
      owe_light_frame();
  }
  last_reports_sent_.store(sent);
}

}  // namespace qxr::devices

// Whole-process CPU with all four emulated devices (keyboard, mouse, mouse pad, headset)
// connected to their device objects and animated, measured over a fixed wall time
// (QXR_BENCH_SECONDS, default 30): every light thread steps its effect at full speed, and every
// 50 ms the owner's light timer sends each device its frame (streamed to the mouse and the pad,
// twelve LED reports to the headset, shown for the keyboard). The emulator runs in the same
// process, so its share is included. Target: at most 2 % of one core in total.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "devices/audio/emulated_audio_chip.h"
#include "devices/audio/headset_audio_page.h"
#include "devices/headset/headset_device.h"
#include "devices/keyboard/keyboard_device.h"
#include "devices/lighting/keyboard_modes.h"
#include "devices/mouse/mouse_device.h"
#include "devices/pad/pad_device.h"
#include "emulator/emulator.h"
#include "profile/data_paths.h"

namespace {

using namespace qxr;
using namespace qxr::devices;
using emu::DeviceType;
using Steady = std::chrono::steady_clock;

constexpr int kFrameIntervalMs = 50;
constexpr int kStatusIntervalMs = 5000;
constexpr int kVendorCollection = 4;
constexpr int kHeadsetCollection = 0;
constexpr int kDefaultSeconds = 30;
constexpr uint8_t kFastest = 4;
// LED counts of the model table.
constexpr size_t kMouseLeds = 6, kPadLeds = 15, kHeadsetLeds = 13, kKeyboardLeds = 170;

int run_seconds() {
  const char* s = std::getenv("QXR_BENCH_SECONDS");
  int v = s ? std::atoi(s) : kDefaultSeconds;
  return v > 0 ? v : kDefaultSeconds;
}

double cpu_seconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

class NullMousePage : public MousePage {
 public:
  void set_dpi_ranges(int, int, int) override {}
  void show_dpi_stage_enabled(int, bool) override {}
  void set_dpi_check_clickable(int, bool) override {}
  void show_dpi_value(int, int, const std::string&, bool) override {}
  void show_windows_settings(const MouseSystemStages&) override {}
  int settings_tab_count() const override { return 1; }
  void select_settings_tab(int) override {}
  void show_logo_lights(std::span<const IndicatorColour>) override {}
  void show_logo_button(IndicatorColour) override {}
  void redraw_key_panel() override {}
  void show_tip(bool) override {}
};

class NullAudioPage : public audio::HeadsetAudioPage {
 public:
  void ShowMessage(std::string_view) override {}
  void SetVoiceChangerSwitch(bool) override {}
  void SelectVoiceOption(int) override {}
  void SelectEqPreset(int) override {}
  void ShowCustomEq(bool) override {}
  void SetBandValue(int, int) override {}
  void SetMicSwitch(bool) override {}
  void SetMonitorSwitch(bool) override {}
  void SetMicSlider(int) override {}
  void SetMonitorSlider(int) override {}
  void ShowMicLevel(const std::string&) override {}
  void ShowMonitorLevel(const std::string&) override {}
  void SetCustomNameText(const std::string&) override {}
  void AddCustomName(const std::string&) override {}
  void SelectCustomName(int) override {}
  void RemoveCustom(int) override {}
  void ClearCustomNames() override {}
  void SetSurroundSwitch(bool) override {}
  void SetFeatureState(audio::AudioFeature, audio::FeatureState) override {}
};

LightInfo animated(LightInfo l, uint8_t mode) {
  l.select_item = mode;
  l.speed = kFastest;
  l.light = kFastest;
  l.multi_color = 1;
  return l;
}

struct AllDevices {
  std::string dir;
  std::unique_ptr<emu::Emulator> emu;
  NullPage page;
  NullMousePage mouse_page;
  NullAudioPage audio_page;
  std::unique_ptr<CMarluneKeyboardDevice> kb;
  std::unique_ptr<CMarluneMouseDevice> mouse;
  std::unique_ptr<CMarluneMousePadDevice> pad;
  std::unique_ptr<CMarluneZO6533Device> headset;

  bool connect() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qxr-bench-kinds-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return false;
    dir = pattern;
    SetUserDataRoot(dir + "/user/");
    emu = std::make_unique<emu::Emulator>(dir + "/emu");
    if (!emu->start({DeviceType::Keyboard, DeviceType::Mouse, DeviceType::Pad, DeviceType::Headset})) return false;

    kb = std::make_unique<CMarluneKeyboardDevice>(page);
    mouse = std::make_unique<CMarluneMouseDevice>(page, mouse_page);
    pad = std::make_unique<CMarluneMousePadDevice>(page);
    headset = std::make_unique<CMarluneZO6533Device>(page, audio_page, std::make_unique<audio::EmulatedAudioChip>());
    kb->set_led_count(kKeyboardLeds);
    mouse->set_led_count(kMouseLeds);
    pad->set_led_count(kPadLeds);
    headset->set_led_count(kHeadsetLeds);
    for (CMarluneUSBDevice* d : {static_cast<CMarluneUSBDevice*>(kb.get()), static_cast<CMarluneUSBDevice*>(mouse.get()),
                                 static_cast<CMarluneUSBDevice*>(pad.get()), static_cast<CMarluneUSBDevice*>(headset.get())})
      d->set_page_file("bench");
    kb->set_profile_id("bench");
    mouse->set_profile_id("bench");
    pad->set_profile_id("bench");
    headset->set_profile_id("bench");
    headset->bind_page_controls();

    return kb->open_primary(emu->hid_path(DeviceType::Keyboard, kVendorCollection), false) && kb->connect_now() == 1 &&
           mouse->open_primary(emu->hid_path(DeviceType::Mouse, kVendorCollection), false) && mouse->connect_now() == 1 &&
           pad->open_primary(emu->hid_path(DeviceType::Pad, kVendorCollection), false) && pad->connect_now() == 1 &&
           headset->open_primary(emu->hid_path(DeviceType::Headset, kHeadsetCollection), false) &&
           headset->connect_now() == 1;
  }

  void animate() {
    kb->set_lighting_state(animated(kb->GetLightInfo(), lighting::kModeColumnWave));
    mouse->set_lighting_state(animated(mouse->GetLightInfo(), 0));   // wave
    pad->set_lighting_state(animated(pad->GetLightInfo(), 7));       // pairs
    headset->set_lighting_state(animated(headset->GetLightInfo(), 2));  // breathing
    drain();
  }

  void send_frames() {
    kb->send_light_frame();
    mouse->send_light_frame();
    pad->send_light_frame();
    headset->send_light_frame();
  }

  void drain() {
    kb->drain();
    mouse->drain();
    pad->drain();
    headset->drain();
  }

  ~AllDevices() {
    headset.reset();
    pad.reset();
    mouse.reset();
    kb.reset();
    emu.reset();
    SetUserDataRoot("");
    std::error_code ec;
    if (!dir.empty()) std::filesystem::remove_all(dir, ec);
  }
};

void BM_AllDevicesAnimated(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    AllDevices d;
    if (!d.connect()) {
      state.SkipWithError("could not connect the four emulated devices");
      return;
    }
    d.animate();
    const auto mouse_frames0 = d.emu->counters(DeviceType::Mouse).light_frames;
    const auto pad_frames0 = d.emu->counters(DeviceType::Pad).light_frames;
    const auto reports0 = d.emu->counters(DeviceType::Headset).led_reports;
    state.ResumeTiming();

    const auto start = Steady::now();
    const auto end = start + std::chrono::seconds(run_seconds());
    const double cpu0 = cpu_seconds();
    int tick = 0;
    for (auto next = start; next < end; next += std::chrono::milliseconds(kFrameIntervalMs), ++tick) {
      std::this_thread::sleep_until(next);
      d.send_frames();
      if (tick % (kStatusIntervalMs / kFrameIntervalMs) == 0) d.pad->read_device_status();
    }
    const double cpu = cpu_seconds() - cpu0;
    const double wall = std::chrono::duration<double>(Steady::now() - start).count();

    state.PauseTiming();
    d.drain();
    const double percent = 100.0 * cpu / wall;
    state.counters["cpu_percent_of_core"] = percent;
    state.counters["mouse_frames"] = d.emu->counters(DeviceType::Mouse).light_frames - mouse_frames0;
    state.counters["pad_frames"] = d.emu->counters(DeviceType::Pad).light_frames - pad_frames0;
    state.counters["headset_reports"] = d.emu->counters(DeviceType::Headset).led_reports - reports0;
    state.counters["keyboard_steps"] = static_cast<double>(d.kb->light_thread().model_steps());
    state.counters["mouse_steps"] = static_cast<double>(d.mouse->light_thread().model_steps());
    state.counters["pad_steps"] = static_cast<double>(d.pad->light_thread().model_steps());
    state.counters["headset_steps"] = static_cast<double>(d.headset->light_thread().model_steps());
    std::printf("four devices animated, 20 frames/s each: %.3f %% of one core over %.1f s (target <= 2 %%)\n",
                percent, wall);
    state.ResumeTiming();
  }
}

BENCHMARK(BM_AllDevicesAnimated)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

// Whole-process CPU of one emulated keyboard connected to its device object, measured over a
// fixed wall time (QXR_BENCH_SECONDS, default 30):
//   animated: the music mode stepping on its light thread, fed a spectrum 20 times a second,
//             and a light frame sent every 50 ms (the owner's light timer), streamed to the
//             keyboard;
//   idle:     connected, static mode, no frames sent.
// The emulator runs in the same process, so its share is included. Target for the animated
// case: at most 1 % of one core.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "devices/keyboard/keyboard_device.h"
#include "emulator/emulator.h"
#include "profile/data_paths.h"

namespace {

using namespace qxr;
using namespace qxr::devices;
using Steady = std::chrono::steady_clock;

constexpr int kFrameIntervalMs = 50;
constexpr int kVendorCollection = 4;
constexpr int kConsumerCollection = 3;
constexpr int kDefaultSeconds = 30;

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

struct Setup {
  std::string dir;
  std::unique_ptr<emu::Emulator> emu;
  NullPage page;
  std::unique_ptr<CMarluneKeyboardDevice> kb;

  bool connect() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qxr-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return false;
    dir = pattern;
    SetUserDataRoot(dir + "/user/");
    emu = std::make_unique<emu::Emulator>(dir + "/emu");
    if (!emu->start({emu::DeviceType::Keyboard})) return false;
    kb = std::make_unique<CMarluneKeyboardDevice>(page);
    kb->set_profile_id("bench");
    if (!kb->open_primary(emu->hid_path(emu::DeviceType::Keyboard, kVendorCollection), false)) return false;
    if (kb->connect_now() != 1) return false;
    return kb->StartSyncThread(emu->hid_path(emu::DeviceType::Keyboard, kConsumerCollection));
  }
  void set_mode(uint8_t mode) {
    LightInfo l = kb->GetLightInfo();
    l.select_item = mode;
    l.speed = 4;
    kb->set_lighting_state(l);
    kb->drain();
  }
  ~Setup() {
    kb.reset();
    emu.reset();
    SetUserDataRoot("");
    std::error_code ec;
    if (!dir.empty()) std::filesystem::remove_all(dir, ec);
  }
};

void run_case(benchmark::State& state, bool animated) {
  for (auto _ : state) {
    state.PauseTiming();
    Setup s;
    if (!s.connect()) {
      state.SkipWithError("could not connect the emulated keyboard");
      return;
    }
    s.set_mode(animated ? kMusicMode : lighting::kModeStatic);
    uint32_t frames_before = s.emu->counters(emu::DeviceType::Keyboard).light_frames;
    uint64_t steps_before = s.kb->light_thread().model_steps();
    state.ResumeTiming();

    const auto start = Steady::now();
    const auto end = start + std::chrono::seconds(run_seconds());
    const double cpu0 = cpu_seconds();
    std::array<int32_t, lighting::kMusicBands> bands{};
    unsigned tick = 0;
    for (auto next = start; next < end; next += std::chrono::milliseconds(kFrameIntervalMs), ++tick) {
      std::this_thread::sleep_until(next);
      if (!animated) continue;
      // What the audio thread would feed: a moving spectrum.
      for (size_t b = 0; b < bands.size(); ++b)
        bands[b] = static_cast<int32_t>(((tick * 7 + b * 80) % 21) * 100);
      s.kb->FeedSpectrum(bands.data(), bands.size(), 0);
      s.kb->send_light_frame();
    }
    const double cpu = cpu_seconds() - cpu0;
    const double wall = std::chrono::duration<double>(Steady::now() - start).count();

    state.PauseTiming();
    s.kb->drain();
    state.counters["cpu_percent_of_core"] = 100.0 * cpu / wall;
    state.counters["frames_streamed"] =
        static_cast<double>(s.emu->counters(emu::DeviceType::Keyboard).light_frames - frames_before);
    state.counters["effect_steps"] = static_cast<double>(s.kb->light_thread().model_steps() - steps_before);
    state.counters["light_wakeups"] = static_cast<double>(s.kb->light_thread().runner().wakeups());
    std::printf("%s: %.3f %% of one core over %.1f s (target for the animated case: <= 1 %%)\n",
                animated ? "animated, 20 frames/s streamed" : "idle", 100.0 * cpu / wall, wall);
    state.ResumeTiming();
  }
}

void BM_KeyboardAnimatedStreaming(benchmark::State& state) { run_case(state, true); }
void BM_KeyboardIdle(benchmark::State& state) { run_case(state, false); }

BENCHMARK(BM_KeyboardAnimatedStreaming)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_KeyboardIdle)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

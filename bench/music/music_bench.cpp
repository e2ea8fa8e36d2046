// Music lighting, measured for real: a private PulseAudio server (null output), the real
// recorder started by the program, the program's window on an emulated keyboard in the music
// mode, offscreen.
//   BM_SoundToKeyboardFrame  tone bursts played into the output; for each, the time from the
//                            moment its first sample is written to the server to the first
//                            light frame the keyboard receives that differs from the frame of
//                            silence. Counters p50_ms, p95_ms, max_ms. Target: p95 <= 40 ms.
//   BM_MusicCpu              10 s each, the keyboard served by a separate emulator process:
//                            the program (this process) in the column wave (no frames streamed)
//                            and in the music mode with music playing, and the recorder while
//                            capturing; % of one core. Target: recorder <= 1 %. The player's
//                            buffer sets how often the output hands the recorder sound: 10 ms
//                            (a low-latency client: 2.5 ms chunks) and 50 ms (a media player).
// QXR470_BENCH_PULSE_SERVER=unix:<socket> measures on a running server (PipeWire) instead; its
// default output must be a null one.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <pulse/error.h>
#include <pulse/simple.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <dirent.h>
#include <fstream>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/pages/device_page_widget.h"
#include "app/startup/app_settings.h"
#include "app/startup/instance_server.h"
#include "app/window/light_panels.h"
#include "app/window/main_wnd.h"
#include "app/window/music_link.h"
#include "bench/support/process_cpu.h"
#include "bench/support/program_look.h"
#include "devices/lighting/keyboard_modes.h"
#include "emulator/emulator.h"
#include "hid/enumeration.h"
#include "profile/data_paths.h"

namespace {

using namespace qxr;
using Clock = std::chrono::steady_clock;
constexpr int kRate = 48000;

double ms_since(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

void spin_for(double ms) {
  const auto end = Clock::now() + std::chrono::duration<double, std::milli>(ms);
  while (Clock::now() < end) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

template <typename F>
bool spin_until(F done, double timeout_ms) {
  const auto end = Clock::now() + std::chrono::duration<double, std::milli>(timeout_ms);
  while (!done()) {
    if (Clock::now() > end) return false;
    spin_for(2);
  }
  return true;
}

// The sound server of the run: a null output in a folder of its own.
class SoundServer {
 public:
  bool start(const std::string& dir) {
    // Another server (PipeWire's pulse server, say): QXR470_BENCH_PULSE_SERVER=unix:/path
    if (const char* other = getenv("QXR470_BENCH_PULSE_SERVER"); other != nullptr && *other != '\0') {
      setenv("PULSE_SERVER", other, 1);
      return true;
    }
    socket_ = dir + "/native";
    pid_ = fork();
    if (pid_ == 0) {
      setenv("HOME", dir.c_str(), 1);
      setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
      setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
      unsetenv("PULSE_SERVER");
      const std::string load = "--load=module-native-protocol-unix socket=" + socket_ + " auth-anonymous=1";
      freopen("/dev/null", "w", stderr);
      execlp("pulseaudio", "pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
             "--use-pid-file=no", "--load=module-null-sink sink_name=qxr_bench rate=48000",
             load.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    setenv("PULSE_SERVER", ("unix:" + socket_).c_str(), 1);
    for (int i = 0; i < 100; ++i) {
      if (access(socket_.c_str(), F_OK) == 0) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  ~SoundServer() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }

 private:
  pid_t pid_ = -1;
  std::string socket_;
};

// Plays through the output from a thread of its own with a buffer of buffer_ms: silence, or
// the tone from the moment burst() is called; played_at is when its first sample is written
// (the server's monitor has it no sooner, so the latency measured from there is an upper
// bound). The output's chunks, and so the recorder's wakeups, follow the smallest buffer of
// its players: 10 ms is a low-latency client (a game, a call), 50 ms more like a media player.
class Player {
 public:
  bool start(int buffer_ms = 10) {
    // Something like music: a chord whose loudness moves four times a second. Whole-number
    // frequencies repeat every second, so it is worked out once: computed while playing, it
    // would be counted as the program's CPU (this process).
    music_table_.resize(kRate);
    for (int i = 0; i < kRate; ++i) {
      const double t = static_cast<double>(i) / kRate;
      music_table_[static_cast<size_t>(i)] = static_cast<float>(
          (0.3 + 0.25 * std::sin(2 * std::numbers::pi * 4 * t)) *
          (std::sin(2 * std::numbers::pi * 220 * t) + std::sin(2 * std::numbers::pi * 277 * t) +
           std::sin(2 * std::numbers::pi * 330 * t)) / 3);
    }
    pa_sample_spec spec{PA_SAMPLE_FLOAT32LE, kRate, 1};
    const auto buffer = static_cast<uint32_t>(kRate * sizeof(float) * buffer_ms / 1000);
    pa_buffer_attr attr{static_cast<uint32_t>(-1), buffer, static_cast<uint32_t>(-1), static_cast<uint32_t>(-1),
                        static_cast<uint32_t>(-1)};
    int error = 0;
    pa_ = pa_simple_new(nullptr, "qxr470 bench", PA_STREAM_PLAYBACK, nullptr, "tone", &spec, nullptr, &attr, &error);
    if (pa_ == nullptr) return false;
    thread_ = std::thread([this] { run(); });
    return true;
  }
  ~Player() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (pa_ != nullptr) pa_simple_free(pa_);
  }
  // Starts a burst of ms on the player's thread.
  void burst(int ms) { burst_samples_ = kRate * ms / 1000; }
  Clock::time_point played_at() const { return Clock::time_point(Clock::duration(played_at_.load())); }
  bool burst_started() const { return started_.load(); }
  void reset() { started_ = false; }
  void set_music(bool on) { music_ = on; }

 private:
  void run() {
    constexpr int kChunk = kRate / 200;  // 5 ms
    std::vector<float> chunk(kChunk);
    uint64_t phase = 0;
    while (!stop_) {
      const int burst = burst_samples_.exchange(0);
      if (burst > 0) {
        played_at_ = Clock::now().time_since_epoch().count();
        started_ = true;
        remaining_ = burst;
      }
      for (int i = 0; i < kChunk; ++i, ++phase) {
        float s = 0;
        const double t = static_cast<double>(phase) / kRate;
        if (remaining_ > 0) {
          s = static_cast<float>(0.7 * std::sin(2 * std::numbers::pi * 880 * t));
          --remaining_;
        } else if (music_) {
          s = music_table_[phase % kRate];
        }
        chunk[static_cast<size_t>(i)] = s;
      }
      int error = 0;
      if (pa_simple_write(pa_, chunk.data(), chunk.size() * sizeof(float), &error) < 0) return;
    }
  }

  pa_simple* pa_ = nullptr;
  std::vector<float> music_table_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<int> burst_samples_{0};
  std::atomic<bool> started_{false};
  std::atomic<bool> music_{false};
  std::atomic<Clock::rep> played_at_{0};
  int remaining_ = 0;
};

// The program in this process, the keyboard in an emulator (here or in a process of its own).
struct Rig {
  QTemporaryDir dir;
  SoundServer sound;
  std::unique_ptr<emu::Emulator> emulator;  // in this process
  pid_t emulator_pid = -1;                  // or in its own
  std::unique_ptr<app::AppSettings> settings;
  std::unique_ptr<app::InstanceServer> server;
  std::unique_ptr<app::CMainWnd> window;

  ~Rig() {
    if (window) window->shutdown();
    window.reset();
    server.reset();
    emulator.reset();
    if (emulator_pid > 0) {
      kill(emulator_pid, SIGTERM);
      waitpid(emulator_pid, nullptr, 0);
    }
    hid::set_emulator_dir("");
  }

  std::string start(bool separate_emulator) {
    const std::string root = dir.path().toStdString();
    if (!sound.start(root)) return "no sound server (pulseaudio)";
    SetUserDataRoot(root + "/user/");
    hid::set_hidraw_enabled(false);
    const std::string emu_dir = root + "/emu";
    if (separate_emulator) {
      int pipe_fds[2];
      if (pipe(pipe_fds) != 0) return "pipe";
      emulator_pid = fork();
      if (emulator_pid == 0) {
        dup2(pipe_fds[0], STDIN_FILENO);
        freopen("/dev/null", "w", stderr);
        execl(QXR_EMULATOR_PATH, QXR_EMULATOR_PATH, "--dir", emu_dir.c_str(), "keyboard", static_cast<char*>(nullptr));
        _exit(127);
      }
      close(pipe_fds[0]);  // the write end stays open: the emulator runs until we end
    } else {
      emulator = std::make_unique<emu::Emulator>(emu_dir);
      if (!emulator->start({emu::DeviceType::Keyboard})) return "emulator";
    }
    hid::set_emulator_dir(emu_dir);
    settings = std::make_unique<app::AppSettings>(QString::fromStdString(root + "/settings.ini"));
    server = std::make_unique<app::InstanceServer>();
    if (!server->claim()) return "socket";
    window = std::make_unique<app::CMainWnd>(*settings, server.get());
    QObject::connect(server.get(), &app::InstanceServer::message_received, window.get(), &app::CMainWnd::handle_message);
    app::install_lighting_editor(*window);  // the page shows the lighting as the program's does
    window->initialise();
    window->show();
    if (!spin_until([&] { return keyboard() != nullptr && keyboard()->connected(); }, 15000)) return "keyboard";
    spin_for(1500);  // connected and its profile applied
    return {};
  }

  devices::DeviceOperations* keyboard() {
    for (const auto& m : window->devices().models()) {
      if (m.page != nullptr && m.page->device()->capabilities().music) return m.page->device();
    }
    return nullptr;
  }

  bool set_mode(uint8_t mode) {
    LightInfo light = keyboard()->GetLightInfo();
    light.select_item = mode;
    light.light = 4;
    keyboard()->set_lighting_state(light);
    window->music().update_need();
    if (mode != lighting::kModeMusic) return true;
    return spin_until([&] { return window->music().supervisor().last_state() == music::RecorderState::Capturing; }, 15000);
  }
};

double percentile(std::vector<double> v, double p) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  const size_t at = static_cast<size_t>(std::ceil(p * static_cast<double>(v.size()))) - 1;
  return v[std::min(at, v.size() - 1)];
}

void BM_SoundToKeyboardFrame(benchmark::State& state) {
  for (auto _ : state) {
    Rig rig;
    const std::string trouble = rig.start(false);
    if (!trouble.empty()) {
      state.SkipWithError(trouble.c_str());
      return;
    }
    if (!rig.set_mode(lighting::kModeMusic)) {
      state.SkipWithError("the recorder did not capture");
      return;
    }
    Player player;
    if (!player.start()) {
      state.SkipWithError("no playback stream");
      return;
    }
    // The keys in silence (the mode's background); a burst shows as any other frame.
    spin_for(1500);
    const std::vector<uint8_t> silent = rig.emulator->memory(emu::DeviceType::Keyboard, emu::Memory::kLightFrame);
    auto quiet = [&] { return rig.emulator->memory(emu::DeviceType::Keyboard, emu::Memory::kLightFrame) == silent; };
    // Frames as the keyboard receives them, timed by a watcher polling every 0.25 ms.
    std::atomic<bool> watching{true};
    std::atomic<Clock::rep> lit_at{0};
    std::atomic<bool> armed{false};
    std::thread watcher([&] {
      uint32_t seen = 0;
      while (watching) {
        const uint32_t frames = rig.emulator->counters(emu::DeviceType::Keyboard).light_frames;
        if (frames != seen) {
          seen = frames;
          const auto now = Clock::now();
          if (armed && lit_at == 0 && rig.emulator->memory(emu::DeviceType::Keyboard, emu::Memory::kLightFrame) != silent)
            lit_at = now.time_since_epoch().count();
        }
        std::this_thread::sleep_for(std::chrono::microseconds(250));
      }
    });
    std::vector<double> latencies;
    const int bursts = static_cast<int>(state.range(0));
    for (int i = 0; i < bursts; ++i) {
      // Silence until the keys are dark again, then a little more at a different phase each time.
      spin_until(quiet, 3000);
      spin_for(400 + 37 * (i % 7));
      lit_at = 0;
      player.reset();
      armed = true;
      player.burst(150);
      const bool started = spin_until([&] { return player.burst_started(); }, 1000);
      if (started && spin_until([&] { return lit_at != 0; }, 1000)) {
        const Clock::time_point lit{Clock::duration(lit_at.load())};
        latencies.push_back(ms_since(player.played_at(), lit));
      }
      armed = false;
    }
    watching = false;
    watcher.join();
    state.counters["bursts"] = bursts;
    state.counters["seen"] = static_cast<double>(latencies.size());
    state.counters["p50_ms"] = percentile(latencies, 0.5);
    state.counters["p95_ms"] = percentile(latencies, 0.95);
    state.counters["max_ms"] = percentile(latencies, 1.0);
  }
}
BENCHMARK(BM_SoundToKeyboardFrame)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

double self_cpu_seconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The recorder this process started: its CPU time in seconds, or -1.
double recorder_cpu_seconds() {
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return -1;
  double found = -1;
  while (dirent* e = readdir(proc)) {
    if (e->d_name[0] < '0' || e->d_name[0] > '9') continue;
    std::ifstream in(std::string("/proc/") + e->d_name + "/stat");
    std::string line;
    std::getline(in, line);
    const size_t close = line.rfind(')');
    if (close == std::string::npos || line.find("(qxr470-recorder)") == std::string::npos) continue;
    // After the name: the state, then the parent's id.
    std::istringstream rest(line.substr(close + 2));
    std::string state;
    pid_t parent = 0;
    if (!(rest >> state >> parent) || parent != getpid()) continue;
    found = qxr::bench::cpu_seconds(static_cast<pid_t>(std::stoi(e->d_name)));
  }
  closedir(proc);
  return found;
}

void BM_MusicCpu(benchmark::State& state) {
  constexpr double kSeconds = 10;
  for (auto _ : state) {
    Rig rig;
    const std::string trouble = rig.start(true);
    if (!trouble.empty()) {
      state.SkipWithError(trouble.c_str());
      return;
    }
    Player player;
    if (!player.start(static_cast<int>(state.range(0)))) {
      state.SkipWithError("no playback stream");
      return;
    }
    // The column wave: host-computed, shown on the page, nothing streamed.
    rig.set_mode(lighting::kModeColumnWave);
    spin_for(2000);
    double before = self_cpu_seconds();
    spin_for(kSeconds * 1000);
    const double wave = (self_cpu_seconds() - before) / kSeconds * 100;
    // The music mode with music playing.
    player.set_music(true);
    if (!rig.set_mode(lighting::kModeMusic)) {
      state.SkipWithError("the recorder did not capture");
      return;
    }
    spin_for(2000);
    before = self_cpu_seconds();
    const double recorder_before = recorder_cpu_seconds();
    spin_for(kSeconds * 1000);
    const double music = (self_cpu_seconds() - before) / kSeconds * 100;
    const double recorder = (recorder_cpu_seconds() - recorder_before) / kSeconds * 100;
    state.counters["program_wave_pct"] = wave;
    state.counters["program_music_pct"] = music;
    state.counters["program_extra_pct"] = music - wave;
    state.counters["recorder_pct"] = recorder_before < 0 ? -1 : recorder;
    state.counters["blocks_per_s"] = static_cast<double>(rig.window->music().spectrum_blocks()) / (kSeconds + 2);
  }
}
BENCHMARK(BM_MusicCpu)->ArgName("player_buffer_ms")->Arg(10)->Arg(50)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  qxr::bench::default_to_offscreen();
  QTemporaryDir runtime;
  if (!runtime.isValid()) return 1;
  qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", (runtime.path() + QStringLiteral("/config")).toUtf8());
  signal(SIGPIPE, SIG_IGN);
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  if (!qxr::bench::install_program_look()) return 1;
  return qxr::bench::run_benchmarks(argc, argv);
}

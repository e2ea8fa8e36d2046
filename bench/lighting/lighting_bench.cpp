// Time per effect step of every keyboard mode (target: a few microseconds for 170 keys),
// and proof that a step allocates nothing: every operator new of this program is counted,
// and a benchmark that allocated inside its timed loop fails.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "devices/lighting/keyboard_effects.h"
#include "devices/lighting/keyboard_lighting.h"
#include "devices/lighting/keyboard_modes.h"

namespace {
std::atomic<uint64_t> g_allocations{0};

// Kept out of line so that the compiler does not pair a visible new with a visible free.
[[gnu::noinline]] void* counted_alloc(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
[[gnu::noinline]] void counted_free(void* p) noexcept { std::free(p); }
}  // namespace

void* operator new(std::size_t size) { return counted_alloc(size); }
void* operator new[](std::size_t size) { return counted_alloc(size); }
void operator delete(void* p) noexcept { counted_free(p); }
void operator delete[](void* p) noexcept { counted_free(p); }
void operator delete(void* p, std::size_t) noexcept { counted_free(p); }
void operator delete[](void* p, std::size_t) noexcept { counted_free(p); }

using namespace qxr::lighting;

namespace {

constexpr uint64_t kStepMs = 2;
constexpr int kPressEvery = 16;  // steps between two key presses in the key-driven modes

LightInfo bench_info(uint8_t mode) {
  LightInfo info;
  info.select_item = mode;
  info.light = 4;
  info.speed = 4;
  info.fx = 1;
  info.multi_color = 1;
  info.red = 200;
  info.green = 100;
  info.blue = 50;
  return info;
}

std::vector<LightProgramStep> bench_program() {
  std::vector<LightProgramStep> steps(3);
  steps[0].type = static_cast<uint8_t>(ProgramStepType::kWave);
  steps[1].type = static_cast<uint8_t>(ProgramStepType::kBreathing);
  steps[2].type = static_cast<uint8_t>(ProgramStepType::kBlink);
  for (auto& s : steps) {
    s.level = 4;
    s.speed = 4;
    s.multi_color = 1;
    s.duration_ms = 500;
  }
  return steps;
}

bool key_driven(uint8_t mode) {
  return mode == kModeReactive || mode == kModeReactiveRipple || mode == kModeRipple || mode == kModeRowRipple;
}

// Reports allocations per step and fails the benchmark when a step allocated.
class AllocationWatch {
 public:
  explicit AllocationWatch(benchmark::State& state) : state_(state), start_(g_allocations.load()) {}
  ~AllocationWatch() {
    const uint64_t allocations = g_allocations.load() - start_;
    state_.counters["allocs_per_step"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
    if (allocations != 0) state_.SkipWithError("a step allocated memory");
  }

 private:
  benchmark::State& state_;
  uint64_t start_;
};

void run_effects(benchmark::State& state, uint8_t mode, uint8_t visual) {
  KeyboardEffects effects;
  LightProgram program;
  program.set_steps(bench_program());
  effects.set_music_style({visual, {0, 0, 40}, {255, 0, 0}, true});
  effects.set_light_info(bench_info(mode));
  effects.PrepareMode(mode);
  MusicFrame music;
  for (size_t b = 0; b < music.bands.size(); ++b) music.bands[b] = static_cast<int32_t>(b * 80);
  music.levels = {200, 100, 50, 0, 0, 0};
  uint64_t now = 1000;
  size_t key = 0;
  int n = 0;
  {
    AllocationWatch watch(state);
    for (auto _ : state) {
      if (key_driven(mode) && ++n % kPressEvery == 0) {
        effects.OnKeyEvent(key, kKeyPressed);
        effects.OnKeyEvent(key, kKeyReleased);
        key = (key + 37) % kKeyCount;
      }
      music.ripple = (n & 7) == 0;
      effects.step(now, music, program);
      now += kStepMs;
      benchmark::DoNotOptimize(effects.frame().data());
    }
  }
}

void BM_KeyboardModeStep(benchmark::State& state) {
  run_effects(state, static_cast<uint8_t>(state.range(0)), 0);
}
BENCHMARK(BM_KeyboardModeStep)->DenseRange(0, kLastKeyboardMode)->Unit(benchmark::kMicrosecond);

void BM_MusicVisualisationStep(benchmark::State& state) {
  run_effects(state, kModeMusic, static_cast<uint8_t>(state.range(0)));
}
BENCHMARK(BM_MusicVisualisationStep)->DenseRange(0, kMusicVisualCount - 1)->Unit(benchmark::kMicrosecond);

// What the light thread pays per step with the lock, the music input and the frame handed out.
void BM_SharedModelStep(benchmark::State& state) {
  const auto mode = static_cast<uint8_t>(state.range(0));
  KeyboardLighting lighting;
  lighting.set_light_info(bench_info(mode), true);
  lighting.program().set_steps(bench_program());
  const std::vector<int32_t> spectrum(500, 700);
  uint64_t now = 1000;
  AllocationWatch watch(state);
  for (auto _ : state) {
    if (mode == kModeMusic) lighting.FeedSpectrum(spectrum.data(), spectrum.size());
    lighting.step(now);
    now += kStepMs;
  }
}
BENCHMARK(BM_SharedModelStep)
    ->Arg(kModeColumnWave)
    ->Arg(kModeRipple)
    ->Arg(kModeMusic)
    ->Arg(kModeProgram)
    ->Unit(benchmark::kMicrosecond);

// What the UI thread pays every 50 ms to get the newest frame.
void BM_ReadFrame(benchmark::State& state) {
  KeyboardLighting lighting;
  lighting.set_light_info(bench_info(kModeColumnWave), true);
  KeyFrame frame{};
  AllocationWatch watch(state);
  uint64_t now = 0;
  for (auto _ : state) {
    lighting.step(now += kStepMs);
    benchmark::DoNotOptimize(lighting.read_frame(frame));
  }
}
BENCHMARK(BM_ReadFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

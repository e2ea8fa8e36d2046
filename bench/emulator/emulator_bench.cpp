// How fast the emulator answers, and what it costs while nothing happens.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <thread>

#include "emulator/emulator.h"
#include "emulator/firmware.h"
#include "raw_client.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace qxr::emu;
using namespace qxr::protocol;

double process_cpu_ms() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// The firmware alone: one key-table page read.
void BM_FirmwareReadPage(benchmark::State& state) {
  Firmware fw(firmware_layout(DeviceType::Keyboard));
  CommandReport request = testing::page(CMD_READ_KEYS, 56, 112);
  for (auto _ : state) {
    CommandReport reply = fw.handle_command(request.data(), request.size());
    benchmark::DoNotOptimize(reply);
  }
}
BENCHMARK(BM_FirmwareReadPage);

// One command exchange through the folder server's socket, as the program's channel does it.
void BM_SocketExchange(benchmark::State& state) {
  qxr::testing::TempFolder dir;
  Emulator emu(dir.path());
  if (!emu.start({DeviceType::Keyboard})) {
    state.SkipWithError("emulator did not start");
    return;
  }
  testing::RawClient client(emu.socket_path(DeviceType::Keyboard));
  CommandReport request = testing::page(CMD_READ_PARAMS, 26, 0);
  for (auto _ : state) {
    auto reply = client.exchange(request);
    if (!reply) {
      state.SkipWithError("no reply");
      break;
    }
  }
}
BENCHMARK(BM_SocketExchange)->UseRealTime();

// A whole keyboard light frame (7 pages) streamed and answered.
void BM_LightFrame(benchmark::State& state) {
  qxr::testing::TempFolder dir;
  Emulator emu(dir.path());
  if (!emu.start({DeviceType::Keyboard})) {
    state.SkipWithError("emulator did not start");
    return;
  }
  testing::RawClient client(emu.socket_path(DeviceType::Keyboard));
  const size_t frame = firmware_layout(DeviceType::Keyboard).light_stream_bytes;
  std::vector<uint8_t> colours(frame, 0x40);
  for (auto _ : state) {
    for (size_t pos = 0; pos < frame; pos += kPageSize) {
      auto len = static_cast<uint8_t>(std::min(kPageSize, frame - pos));
      client.exchange(testing::page(CMD_LIGHT_STREAM, len, static_cast<uint16_t>(pos), colours.data() + pos));
    }
  }
}
BENCHMARK(BM_LightFrame)->UseRealTime();

// Process CPU time spent while four devices are plugged, connected and idle.
void BM_IdleCpu(benchmark::State& state) {
  qxr::testing::TempFolder dir;
  Emulator emu(dir.path());
  if (!emu.start({DeviceType::Keyboard, DeviceType::Mouse, DeviceType::Pad, DeviceType::Headset})) {
    state.SkipWithError("emulator did not start");
    return;
  }
  testing::RawClient a(emu.socket_path(DeviceType::Keyboard));
  testing::RawClient b(emu.socket_path(DeviceType::Headset));
  double cpu = 0;
  double wall = 0;
  for (auto _ : state) {
    double c0 = process_cpu_ms();
    auto t0 = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    wall += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    cpu += process_cpu_ms() - c0;
  }
  state.counters["cpu_per_wall"] = wall > 0 ? cpu / wall : 0;
}
BENCHMARK(BM_IdleCpu)->Iterations(10)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

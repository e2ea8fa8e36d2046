// Idle cost of discovery: with devices present and nothing changing, the discovery thread
// should not wake up, rescan or use the CPU. Also the cost of one enumeration of the emulator
// folder, which every hot-plug event pays.
#include <benchmark/benchmark.h>
#include <fmt/format.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "devices/kinds/device_kinds.h"
#include "emulator/report_descriptors.h"
#include "hid/discovery.h"
#include "hid/enumeration.h"
#include "hid/hid_device.h"

namespace {

using namespace qxr;

// An emulator folder with the four devices' interfaces: listening sockets plus descriptions.
// Nobody accepts; the discovery's short probe connections just wait in the backlog.
class EmulatedFolder {
 public:
  EmulatedFolder() {
    char tmpl[] = "/tmp/qxrhid-bench-XXXXXX";
    dir_ = mkdtemp(tmpl);
    add("kb", 0x320F, 0x5055, 1, emu::keyboard_report_descriptor());
    add("ms", 0x0000, 0x0000, 1, emu::mouse_report_descriptor());
    add("mp", 0x320F, 0x1004, 1, emu::pad_report_descriptor());
    add("hd", 0x00C7, 0x1630, 3, emu::headset_report_descriptor());
  }
  ~EmulatedFolder() {
    for (int fd : fds_) ::close(fd);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  const std::string& dir() const { return dir_; }

 private:
  void add(const std::string& id, int vid, int pid, int iface, const std::vector<uint8_t>& desc) {
    int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s/%s.sock", dir_.c_str(), id.c_str());
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0 || ::listen(fd, 128) < 0)
      std::abort();
    fds_.push_back(fd);
    std::string hex;
    for (uint8_t b : desc) hex += fmt::format("{:02x} ", b);
    std::ofstream(dir_ + "/" + id + ".json")
        << fmt::format(R"({{"vendor_id": {}, "product_id": {}, "interface": {}, "report_descriptor": "{}"}})",
                       vid, pid, iface, hex);
  }
  std::string dir_;
  std::vector<int> fds_;
};

class CountingObserver final : public hid::DiscoveryObserver {
 public:
  void on_device_arrived(size_t) override { bump(); }
  void on_device_removed(size_t) override { bump(); }
  void on_first_pass() override { bump(); }
  void wait_for(int n) {
    std::unique_lock lock(mutex_);
    cv_.wait_for(lock, std::chrono::seconds(10), [&] { return events_ >= n; });
  }

 private:
  void bump() {
    std::lock_guard lock(mutex_);
    ++events_;
    cv_.notify_all();
  }
  std::mutex mutex_;
  std::condition_variable cv_;
  int events_ = 0;
};

double cpu_seconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

int idle_seconds() {
  const char* s = std::getenv("QXR470_BENCH_IDLE_S");
  return s ? std::max(1, std::atoi(s)) : 10;
}

void BM_DiscoveryIdle(benchmark::State& state) {
  EmulatedFolder folder;
  hid::set_hidraw_enabled(false);
  hid::set_emulator_dir(folder.dir());
  for (auto _ : state) {
    CountingObserver observer;
    hid::Discovery discovery(observer, devices::supported_interfaces());
    discovery.start();
    // All 7 slots (the emulated mouse carries ids 0/0 like its rows) and the first pass.
    observer.wait_for(8);
    const uint64_t wakeups = discovery.wakeups();
    const uint64_t passes = discovery.passes();
    const double cpu = cpu_seconds();
    const auto t0 = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(idle_seconds()));
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double used = cpu_seconds() - cpu;
    state.counters["idle_s"] = wall;
    state.counters["wakeups"] = static_cast<double>(discovery.wakeups() - wakeups);
    state.counters["rescans"] = static_cast<double>(discovery.passes() - passes);
    state.counters["cpu_pct"] = 100.0 * used / wall;
    state.counters["slots_connected"] = [&] {
      int n = 0;
      for (const auto& s : discovery.slots()) n += s.connected ? 1 : 0;
      return n;
    }();
    discovery.stop();
  }
  hid::use_emulator_dir_from_environment();
  hid::set_hidraw_enabled(true);
}
BENCHMARK(BM_DiscoveryIdle)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_EnumerateEmulatorFolder(benchmark::State& state) {
  EmulatedFolder folder;
  hid::set_hidraw_enabled(false);
  hid::set_emulator_dir(folder.dir());
  hid::HidDevice enumerator;
  for (auto _ : state) {
    if (!enumerator.enumerate()) state.SkipWithError("enumerate failed");
    benchmark::DoNotOptimize(enumerator.path_count());
  }
  state.counters["paths"] = static_cast<double>(enumerator.path_count());
  hid::use_emulator_dir_from_environment();
  hid::set_hidraw_enabled(true);
}
BENCHMARK(BM_EnumerateEmulatorFolder)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// (a) One logged exchange against a bare SOCK_SEQPACKET ping-pong of 64-byte packets, measured in
//     the same run; the ratio of the two is printed at the end (target: at most 1.5).
// (b) One full keyboard lighting frame (170 LEDs x 3 bytes = 10 pages) through light_stream.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <map>
#include <memory>
#include <thread>

#include "protocol/command_channel.h"
#include "tests/protocol/scripted_peer.h"

namespace {

using namespace qxr::protocol;
using qxr::testing::Packet;
using qxr::testing::ScriptedPeer;

constexpr size_t kFrameBytes = 170 * 3;

// The device side of both round trips: poll, receive, answer with the same 64 bytes but
// status 0. Identical for the bare socket pair and the emulated interface, so the ratio shows
// only what the channel and the transport add.
void echo_loop(int fd) {
  uint8_t buf[kReportSize];
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, -1) < 0) continue;
    ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n <= 0) return;
    buf[kOffStatus] = 0;
    send(fd, buf, static_cast<size_t>(n), MSG_NOSIGNAL);
  }
}

void BM_RawSeqpacketPingPong(benchmark::State& state) {
  int sv[2];
  if (socketpair(AF_UNIX, SOCK_SEQPACKET, 0, sv) != 0) {
    state.SkipWithError("socketpair failed");
    return;
  }
  std::thread echo(echo_loop, sv[1]);
  uint8_t out[kReportSize] = {kCommandReportId};
  uint8_t in[kReportSize];
  for (auto _ : state) {
    send(sv[0], out, sizeof out, MSG_NOSIGNAL);
    pollfd p{sv[0], POLLIN, 0};
    poll(&p, 1, 1000);
    benchmark::DoNotOptimize(recv(sv[0], in, sizeof in, 0));
  }
  shutdown(sv[0], SHUT_RDWR);
  echo.join();
  close(sv[0]);
  close(sv[1]);
}
BENCHMARK(BM_RawSeqpacketPingPong)->UseRealTime();

// A channel opened on an emulated interface whose one connection is answered by echo_loop.
struct OpenChannel {
  ScriptedPeer peer;  // only lends its folder, description and listening socket
  CommandChannel channel;
  std::thread echo;
  bool ok = false;
  OpenChannel() {
    peer.hand_over_connections(true);
    ok = channel.device().open(peer.path(), true, true, true, false);
    int fd = ok ? peer.take_connection(2000) : -1;
    ok = ok && fd >= 0;
    if (ok) echo = std::thread(echo_loop, fd);
    channel.set_opened(ok);
    connection = fd;
  }
  ~OpenChannel() {
    if (connection >= 0) shutdown(connection, SHUT_RDWR);
    if (echo.joinable()) echo.join();
    if (connection >= 0) close(connection);
  }
  int connection = -1;
};

void BM_LoggedExchange(benchmark::State& state) {
  OpenChannel c;
  if (!c.ok) {
    state.SkipWithError("cannot open the peer");
    return;
  }
  CommandReport request = make_request(CMD_BEGIN);
  set_checksum(request.data());
  uint8_t reply[kReportSize];
  size_t n = 0;
  for (auto _ : state) {
    if (c.channel.exchange(request.data(), request.size(), reply, sizeof reply, &n) != kResultOk) {
      state.SkipWithError("exchange failed");
      break;
    }
  }
}
BENCHMARK(BM_LoggedExchange)->UseRealTime();

void BM_LightStreamFrame(benchmark::State& state) {
  OpenChannel c;
  if (!c.ok) {
    state.SkipWithError("cannot open the peer");
    return;
  }
  std::vector<uint8_t> frame(kFrameBytes, 0x40);
  for (auto _ : state) {
    if (c.channel.light_stream(frame.data(), frame.size()) != kResultOk) {
      state.SkipWithError("light stream failed");
      break;
    }
  }
  state.counters["pages_per_frame"] = static_cast<double>((kFrameBytes + kPageSize - 1) / kPageSize);
}
BENCHMARK(BM_LightStreamFrame)->UseRealTime()->Unit(benchmark::kMicrosecond);

// Keeps the time of every repetition so the ratio is taken of medians, which a busy machine
// disturbs far less than single runs.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (!r.error_occurred && r.run_type == Run::RT_Iteration) times[r.run_name.function_name].push_back(r.GetAdjustedRealTime());
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double median(const std::string& name) {
    auto& v = times[name];
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  }
  std::map<std::string, std::vector<double>> times;
};

}  // namespace

int main(int argc, char** argv) {
  // Interleaved repetitions unless asked otherwise, so both round trips see the same load.
  std::vector<char*> args(argv, argv + argc);
  std::string reps = "--benchmark_repetitions=7";
  std::string interleave = "--benchmark_enable_random_interleaving=true";
  bool own = false;
  for (int i = 1; i < argc; ++i) own = own || std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0;
  if (!own) {
    args.push_back(reps.data());
    args.push_back(interleave.data());
  }
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double raw = reporter.median("BM_RawSeqpacketPingPong");
  const double logged = reporter.median("BM_LoggedExchange");
  if (raw > 0 && logged > 0) {
    std::printf("median logged exchange %.0f ns / raw ping-pong %.0f ns = %.2f (target <= 1.50)\n", logged, raw,
                logged / raw);
  }
  benchmark::Shutdown();
  return 0;
}

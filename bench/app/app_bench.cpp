// qxr470 as a whole, on its built-in emulated devices (--demo), offscreen:
//   BM_StartupToFirstPaint  time from starting the process to its first painted window, for the
//                           program and for a bare Qt window in the same run; ratio = program / bare
//                           (ratio_text: against the bare window showing one line of text)
//   BM_StartupToConnected   time from starting the process until the connect of each of the four
//                           devices (served by a separate emulator process, plugged before the
//                           start) has run and its last command been answered; 500 ms of it are
//                           the connect timer's
//   BM_Running/demo:0       the program on devices served by a separate emulator process (as on
//                           real hardware, the devices' work is not the program's): resident memory
//                           once settled, CPU (% of one core) with the window shown while all four
//                           devices animate at 20 frames/s, then hidden in the tray
//   BM_Running/demo:1       the same for --demo, whose built-in emulator runs in the program
//   BM_Running/.../xvfb:1   the same on a real X server (Xvfb, 1280x800) instead of the offscreen
//                           platform: x_*_pct is the X server's CPU, *_total_pct program + X server
//   .../own_lighting:1      the same once the program has let the devices run their own lighting
//                           ("light-control 1 0"): nothing is due, so nothing should wake
//   yardstick_total_pct     (xvfb:1) a bare Qt window that recolours a keyboard's worth of
//                           labelled keys 20 times a second, with the X server's CPU: what this
//                           machine charges any program for such a picture just now (its speed
//                           varies); shown_ratio = shown_total_pct / yardstick_total_pct
//   wakeups_hidden_per_s    how often the program's threads went to sleep and woke again while
//                           hidden (voluntary context switches); each thread's share goes to stderr
// QXR470_BENCH_BUILD=<build folder> and QXR470_BENCH_SOURCE=<source folder> measure another
// build's qxr470 and qxr470-emu (an older commit, for before-and-after figures).
// Targets: ratio <= 2, connected <= 700 ms, CPU shown <= 3 % (under Xvfb: program + X server),
// CPU hidden <= 1.0 %.
#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

#include "bench/support/process_cpu.h"

namespace {

std::string from_env(const char* name, const std::string& fallback, const char* suffix = "") {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' ? std::string(v) + suffix : fallback;
}
const std::string& program_path() {
  static const std::string path = from_env("QXR470_BENCH_BUILD", QXR_PROGRAM_PATH, "/app/qxr470");
  return path;
}
const std::string& emulator_path() {
  static const std::string path = from_env("QXR470_BENCH_BUILD", QXR_EMULATOR_PATH, "/emulator/qxr470-emu");
  return path;
}
const std::string& source_path() {
  static const std::string path = from_env("QXR470_BENCH_SOURCE", QXR_SOURCE_PATH);
  return path;
}

constexpr int kSettleSeconds = 4;
constexpr int kMeasureSeconds = 10;

long long now_ns() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// A private runtime, configuration and data folder, so a running qxr470 of the user is never
// met and every run starts from the default profiles.
class Sandbox {
 public:
  Sandbox() {
    char pattern[] = "/tmp/qxr470-bench-XXXXXX";
    const char* made = mkdtemp(pattern);
    dir_ = made ? made : "/tmp";
  }
  ~Sandbox() { std::system(("rm -rf '" + dir_ + "'").c_str()); }
  std::vector<std::string> environment(bool first_paint) const {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
      std::string v = *e;
      if (v.rfind("XDG_RUNTIME_DIR=", 0) == 0 || v.rfind("XDG_CONFIG_HOME=", 0) == 0 || v.rfind("XDG_DATA_HOME=", 0) == 0 ||
          v.rfind("QT_QPA_PLATFORM=", 0) == 0 || v.rfind("QXR470_", 0) == 0) {
        continue;
      }
      env.push_back(v);
    }
    env.push_back("XDG_RUNTIME_DIR=" + dir_);
    env.push_back("XDG_CONFIG_HOME=" + dir_ + "/config");
    env.push_back("XDG_DATA_HOME=" + dir_ + "/data");
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("QXR470_SOURCE_DIR=" + source_path());
    if (first_paint) env.push_back("QXR470_BENCH_FIRST_PAINT=1");
    return env;
  }
  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
};

struct Child {
  pid_t pid = -1;
  std::string err_file;
};

// stdin_fd: the child's standard input (-1: inherited); keep_fd: a descriptor the child keeps.
Child spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, const std::string& err_file,
            int stdin_fd = -1, int keep_fd = -1) {
  std::vector<char*> a, e;
  for (const auto& s : argv) a.push_back(const_cast<char*>(s.c_str()));
  a.push_back(nullptr);
  for (const auto& s : env) e.push_back(const_cast<char*>(s.c_str()));
  e.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  if (stdin_fd >= 0) posix_spawn_file_actions_adddup2(&actions, stdin_fd, STDIN_FILENO);
  // Duplicating a descriptor onto itself clears its close-on-exec flag.
  if (keep_fd >= 0) posix_spawn_file_actions_adddup2(&actions, keep_fd, keep_fd);
  Child c;
  c.err_file = err_file;
  if (posix_spawn(&c.pid, a[0], &actions, nullptr, a.data(), e.data()) != 0) c.pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return c;
}

int wait_exit(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The moment the child reported as "<name>-ns", or -1.
long long reported(const std::string& err_file, const std::string& name) {
  std::ifstream in(err_file);
  std::string word;
  long long value = -1;
  while (in >> word) {
    if (word == name + "-ns") in >> value;
  }
  return value;
}

// Start to the reported moment in milliseconds, or a negative number when the child failed.
double time_to(const std::string& name, const std::vector<std::string>& argv, const std::vector<std::string>& env,
               const Sandbox& box) {
  const std::string err = box.dir() + "/stderr.txt";
  const long long start = now_ns();
  Child c = spawn(argv, env, err);
  if (c.pid < 0) return -1;
  wait_exit(c.pid);
  const long long moment = reported(err, name);
  return moment < 0 ? -1 : static_cast<double>(moment - start) / 1e6;
}

double time_to_first_paint(const std::vector<std::string>& argv, const Sandbox& box) {
  return time_to("first-paint", argv, box.environment(true), box);
}

// The four devices served by a separate emulator process for as long as this lives.
class EmulatorProcess {
 public:
  explicit EmulatorProcess(const Sandbox& box) : dir_(box.dir() + "/emulator") {
    // The emulator reads commands from its input and ends with it: keep a pipe open.
    if (pipe(commands_) != 0) return;
    child_ = spawn({emulator_path(), "--dir", dir_, "keyboard", "mouse", "pad", "headset"}, box.environment(false),
                   box.dir() + "/emulator.txt", commands_[0]);
    close(commands_[0]);
    std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  ~EmulatorProcess() {
    if (commands_[1] >= 0) close(commands_[1]);
    if (child_.pid < 0) return;
    kill(child_.pid, SIGTERM);
    wait_exit(child_.pid);
  }
  bool running() const { return child_.pid >= 0; }
  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
  int commands_[2] = {-1, -1};
  Child child_;
};

void BM_StartupToFirstPaint(benchmark::State& state) {
  double bare_total = 0, bare_text_total = 0, app_total = 0;
  int runs = 0;
  for (auto _ : state) {
    Sandbox box;
    const double bare = time_to_first_paint({QXR_BARE_WINDOW_PATH}, box);
    const double bare_text = time_to_first_paint({QXR_BARE_WINDOW_PATH, "--text"}, box);
    const double app = time_to_first_paint({program_path(), "--demo"}, box);
    if (bare < 0 || bare_text < 0 || app < 0) {
      state.SkipWithError("a program did not paint");
      return;
    }
    bare_total += bare;
    bare_text_total += bare_text;
    app_total += app;
    ++runs;
    state.SetIterationTime(app / 1000.0);
  }
  state.counters["bare_ms"] = bare_total / runs;
  state.counters["qxr470_ms"] = app_total / runs;
  state.counters["ratio"] = app_total / bare_total;
  // For comparison only: the yardstick with one line of text.
  state.counters["bare_text_ms"] = bare_text_total / runs;
  state.counters["ratio_text"] = app_total / bare_text_total;
}
BENCHMARK(BM_StartupToFirstPaint)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

constexpr int kEmulatedDevices = 4;

void BM_StartupToConnected(benchmark::State& state) {
  Sandbox devices;
  EmulatorProcess emulator(devices);
  if (!emulator.running()) {
    state.SkipWithError("the emulator did not start");
    return;
  }
  double total = 0;
  int runs = 0;
  for (auto _ : state) {
    // Every start finds no profiles yet, as on a fresh account.
    Sandbox box;
    std::vector<std::string> env = box.environment(false);
    env.push_back("QXR470_EMULATOR_DIR=" + emulator.dir());
    env.push_back("QXR470_BENCH_CONNECTED=" + std::to_string(kEmulatedDevices));
    const double ms = time_to("connected", {program_path()}, env, box);
    if (ms < 0) {
      state.SkipWithError("the devices did not connect");
      return;
    }
    total += ms;
    ++runs;
    state.SetIterationTime(ms / 1000.0);
  }
  state.counters["connected_ms"] = total / runs;
}
BENCHMARK(BM_StartupToConnected)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

double rss_mb(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return -1;
}

// Voluntary context switches of each thread of a process, by thread id (with its name).
struct ThreadSwitches {
  std::string name;
  unsigned long long switches = 0;
};
std::map<std::string, ThreadSwitches> thread_switches(pid_t pid) {
  std::map<std::string, ThreadSwitches> out;
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  DIR* d = opendir(tasks.c_str());
  if (d == nullptr) return out;
  while (dirent* e = readdir(d)) {
    if (e->d_name[0] == '.') continue;
    ThreadSwitches t;
    std::ifstream comm(tasks + "/" + e->d_name + "/comm");
    std::getline(comm, t.name);
    std::ifstream status(tasks + "/" + e->d_name + "/status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.rfind("voluntary_ctxt_switches:", 0) == 0) t.switches = std::stoull(line.substr(24));
    }
    out[e->d_name] = t;
  }
  closedir(d);
  return out;
}

// One measurement window: the program's CPU, the X server's (pid -1: none) and the program's
// wakeups, each per second of wall time.
struct Window {
  double cpu_pct = 0;
  double x_pct = 0;
  double wakeups_per_s = 0;
};

Window measure(pid_t pid, pid_t x_server, int seconds, bool report_threads) {
  const double c0 = qxr::bench::cpu_seconds(pid);
  const double x0 = x_server > 0 ? qxr::bench::cpu_seconds(x_server) : 0;
  const auto s0 = thread_switches(pid);
  const auto t0 = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const double c1 = qxr::bench::cpu_seconds(pid);
  const double x1 = x_server > 0 ? qxr::bench::cpu_seconds(x_server) : 0;
  const auto s1 = thread_switches(pid);
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  Window w;
  w.cpu_pct = 100.0 * (c1 - c0) / wall;
  w.x_pct = 100.0 * (x1 - x0) / wall;
  for (const auto& [tid, after] : s1) {
    const auto before = s0.find(tid);
    const unsigned long long from = before == s0.end() ? 0 : before->second.switches;
    const double rate = static_cast<double>(after.switches - from) / wall;
    w.wakeups_per_s += rate;
    if (report_threads && rate > 0) std::fprintf(stderr, "  %-16s %7.1f wakeups/s\n", after.name.c_str(), rate);
  }
  return w;
}

// A private X server (Xvfb) for as long as this lives.
class XServer {
 public:
  XServer() {
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::string fd = std::to_string(fds[1]);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) env.push_back(*e);
    child_ = spawn({"/usr/bin/Xvfb", "-displayfd", fd, "-screen", "0", "1280x800x24", "-nolisten", "tcp"}, env,
                   "/dev/null", -1, fds[1]);
    close(fds[1]);
    // The server writes its display number once it accepts clients.
    char buffer[16] = {};
    ssize_t n = child_.pid < 0 ? -1 : read(fds[0], buffer, sizeof buffer - 1);
    close(fds[0]);
    if (n > 0) display_ = ":" + std::to_string(std::atoi(buffer));
  }
  ~XServer() {
    if (child_.pid < 0) return;
    kill(child_.pid, SIGTERM);
    wait_exit(child_.pid);
  }
  bool running() const { return !display_.empty(); }
  const std::string& display() const { return display_; }
  pid_t pid() const { return child_.pid; }

 private:
  Child child_;
  std::string display_;
};

// The machine's own price for an animated keyboard picture just now: the bare window's
// --animate run, in the given X server, with that server's CPU.
Window measure_yardstick(const std::vector<std::string>& env, pid_t x_server, const Sandbox& box) {
  Child bare = spawn({QXR_BARE_WINDOW_PATH, "--animate"}, env, box.dir() + "/bare.txt");
  std::this_thread::sleep_for(std::chrono::seconds(2));
  const Window w = measure(bare.pid, x_server, kMeasureSeconds, false);
  kill(bare.pid, SIGTERM);
  wait_exit(bare.pid);
  return w;
}

void BM_Running(benchmark::State& state) {
  const bool demo = state.range(0) != 0;
  const bool xvfb = state.range(1) != 0;
  const bool own_lighting = state.range(2) != 0;
  for (auto _ : state) {
    Sandbox box;
    std::vector<std::string> env = box.environment(false);
    std::unique_ptr<XServer> x;
    if (xvfb) {
      x = std::make_unique<XServer>();
      if (!x->running()) {
        state.SkipWithError("Xvfb did not start");
        return;
      }
      std::erase_if(env, [](const std::string& v) {
        return v.rfind("QT_QPA_PLATFORM=", 0) == 0 || v.rfind("DISPLAY=", 0) == 0 || v.rfind("WAYLAND_DISPLAY=", 0) == 0;
      });
      env.push_back("QT_QPA_PLATFORM=xcb");
      env.push_back("DISPLAY=" + x->display());
    }
    const pid_t x_pid = x ? x->pid() : -1;
    std::unique_ptr<EmulatorProcess> emulator;
    if (!demo) {
      emulator = std::make_unique<EmulatorProcess>(box);
      env.push_back("QXR470_EMULATOR_DIR=" + emulator->dir());
    }
    Child c = demo ? spawn({program_path(), "--demo"}, env, box.dir() + "/stderr.txt")
                   : spawn({program_path()}, env, box.dir() + "/stderr.txt");
    if (c.pid < 0 || (!demo && !emulator->running())) {
      state.SkipWithError("a program did not start");
      return;
    }
    std::this_thread::sleep_for(std::chrono::seconds(kSettleSeconds));
    int released = 0;
    if (own_lighting) {
      // The devices run their own lighting: nothing is due, nothing should wake.
      Child release = spawn({program_path(), "--send", "light-control", "1", "0"}, env, box.dir() + "/send.txt");
      released = release.pid < 0 ? -1 : wait_exit(release.pid);
      std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    state.counters["rss_MB"] = rss_mb(c.pid);
    const Window shown = measure(c.pid, x_pid, kMeasureSeconds, false);
    state.counters["cpu_shown_pct"] = shown.cpu_pct;
    // Hide to the tray the way another program would.
    Child hide = spawn({program_path(), "--send", "main-action", "1"}, env, box.dir() + "/send.txt");
    const int sent = hide.pid < 0 ? -1 : wait_exit(hide.pid);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    std::fprintf(stderr, "BM_Running demo:%d xvfb:%d own_lighting:%d, hidden:\n", demo ? 1 : 0, xvfb ? 1 : 0,
                 own_lighting ? 1 : 0);
    const Window hidden = measure(c.pid, x_pid, kMeasureSeconds, true);
    state.counters["cpu_hidden_pct"] = hidden.cpu_pct;
    state.counters["wakeups_hidden_per_s"] = hidden.wakeups_per_s;
    if (xvfb) {
      state.counters["x_shown_pct"] = shown.x_pct;
      state.counters["x_hidden_pct"] = hidden.x_pct;
      state.counters["shown_total_pct"] = shown.cpu_pct + shown.x_pct;
      state.counters["hidden_total_pct"] = hidden.cpu_pct + hidden.x_pct;
    }
    kill(c.pid, SIGTERM);
    const int code = wait_exit(c.pid);
    emulator.reset();
    if (xvfb) {
      // In the same X server, once the program is gone.
      const Window yardstick = measure_yardstick(env, x_pid, box);
      const double total = yardstick.cpu_pct + yardstick.x_pct;
      state.counters["yardstick_total_pct"] = total;
      if (total > 0) state.counters["shown_ratio"] = (shown.cpu_pct + shown.x_pct) / total;
    }
    if (sent != 0 || released != 0 || code != 0) state.SkipWithError("hiding, releasing or ending the program failed");
    state.SetIterationTime(2.0 * kMeasureSeconds);
  }
}
BENCHMARK(BM_Running)
    ->ArgNames({"demo", "xvfb", "own_lighting"})
    ->Args({0, 0, 0})
    ->Args({1, 0, 0})
    ->Args({0, 1, 0})
    ->Args({0, 1, 1})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();

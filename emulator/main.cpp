// qxr470-emu --dir DIR DEVICE...: serves the named devices in DIR and takes commands on
// standard input (see command_script.h). Ends on "quit", end of input, SIGINT or SIGTERM,
// unplugging every device so that no JSON or socket is left behind.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "emulator/command_script.h"
#include "emulator/emulator.h"

namespace {

constexpr int kExitUsage = 2;
constexpr size_t kReadChunk = 4096;

void usage() {
  std::fprintf(stderr,
               "usage: qxr470-emu --dir DIR DEVICE...\n"
               "  DEVICE: keyboard, mouse, pad, headset\n"
               "  commands on standard input: plug D, unplug D, press D K, release D K,\n"
               "  settings-changed D [CODE], profile D P, battery D LEVEL STATE, phone D TYPE,\n"
               "  link D up|down, fault D MODE [ARG], dump D MEMORY, status D, help, quit\n");
}

void print_lines(const std::vector<std::string>& lines) {
  for (const auto& line : lines) std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace qxr::emu;
  std::string dir;
  std::vector<DeviceType> devices;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--dir" && i + 1 < argc) {
      dir = argv[++i];
    } else if (arg == "--help" || arg == "-h") {
      usage();
      return 0;
    } else if (auto type = parse_device_type(arg)) {
      devices.push_back(*type);
    } else {
      std::fprintf(stderr, "qxr470-emu: unknown argument %s\n", arg.c_str());
      usage();
      return kExitUsage;
    }
  }
  if (dir.empty()) {
    usage();
    return kExitUsage;
  }

  // Signals arrive through a descriptor, so the server thread never sees them.
  sigset_t mask;
  sigemptyset(&mask);
  sigaddset(&mask, SIGINT);
  sigaddset(&mask, SIGTERM);
  sigaddset(&mask, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &mask, nullptr);
  int sig_fd = signalfd(-1, &mask, SFD_CLOEXEC);
  if (sig_fd < 0) {
    std::perror("qxr470-emu: signalfd");
    return 1;
  }

  struct stat st {};
  const bool created_dir = stat(dir.c_str(), &st) != 0;
  Emulator emulator(dir);
  if (!emulator.start(devices)) {
    std::fprintf(stderr, "qxr470-emu: cannot serve the devices in %s\n", dir.c_str());
    emulator.stop();
    return 1;
  }
  print_lines({"ready"});

  CommandScript script(emulator);
  std::string pending;
  bool quit = false;
  while (!quit) {
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {sig_fd, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[1].revents & POLLIN) break;
    if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR))) continue;
    char chunk[kReadChunk];
    ssize_t n = read(STDIN_FILENO, chunk, sizeof(chunk));
    if (n <= 0) {
      if (n < 0 && errno == EINTR) continue;
      if (!pending.empty()) print_lines(script.run(pending).lines);
      break;  // end of input
    }
    pending.append(chunk, static_cast<size_t>(n));
    size_t newline;
    while (!quit && (newline = pending.find('\n')) != std::string::npos) {
      ScriptOutcome out = script.run(std::string_view(pending).substr(0, newline));
      pending.erase(0, newline + 1);
      print_lines(out.lines);
      quit = out.quit;
    }
  }
  emulator.stop();
  if (created_dir) rmdir(dir.c_str());  // only when it is empty again
  close(sig_fd);
  return 0;
}

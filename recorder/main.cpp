// qxr470-recorder: captures what the computer plays and sends the music lighting's data blocks
// to the program over its local socket. The program starts it with the socket and the lock
// to use, and ends it with "recorder-cmd 5" (or by going away).
#include <pulse/mainloop-signal.h>
#include <pulse/mainloop.h>

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "core/file_lock.h"
#include "recorder/recorder.h"

namespace {

struct Options {
  std::string socket;
  std::string lock;
};

std::optional<Options> parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    if (key == "--socket") {
      o.socket = argv[i + 1];
    } else if (key == "--lock") {
      o.lock = argv[i + 1];
    } else {
      return std::nullopt;
    }
  }
  if (argc % 2 == 0 || o.socket.empty() || o.lock.empty()) return std::nullopt;
  return o;
}

void on_signal(pa_mainloop_api* api, pa_signal_event*, int, void*) { api->quit(api, 0); }

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = parse(argc, argv);
  if (!options) {
    std::fprintf(stderr, "usage: qxr470-recorder --socket <program socket> --lock <lock file>\n");
    return 2;
  }
  // One recorder per user: the lock says a recorder runs (the program's watcher looks at it).
  qxr::FileLock lock;
  if (!lock.try_lock(options->lock)) {
    std::fprintf(stderr, "qxr470-recorder: another recorder runs\n");
    return 0;
  }
  pa_mainloop* loop = pa_mainloop_new();
  pa_mainloop_api* api = pa_mainloop_get_api(loop);
  pa_signal_init(api);
  pa_signal_new(SIGTERM, &on_signal, nullptr);
  pa_signal_new(SIGINT, &on_signal, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  int result = 1;
  {
    qxr::recorder::Recorder recorder(api);
    recorder.pace(loop);
    if (recorder.connect(options->socket)) pa_mainloop_run(loop, &result);
  }
  pa_signal_done();
  pa_mainloop_free(loop);
  return result;
}

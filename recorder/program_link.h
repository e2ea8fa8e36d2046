#pragma once
// The recorder's connection to the program's local socket, driven by the libpulse main loop
// the recorder runs on: lines in (commands, colour), lines out (ready, state, data). The
// program not reading never makes the recorder wait or grow: past a limit data lines are
// dropped, the others kept.
#include <pulse/mainloop-api.h>

#include <functional>
#include <string>

#include "ipc/unix_socket.h"
#include "music/recorder_link.h"

namespace qxr::recorder {

class ProgramLink {
 public:
  using RequestHandler = std::function<void(const music::RecorderRequest&)>;
  using ClosedHandler = std::function<void()>;

  ProgramLink(pa_mainloop_api* api, RequestHandler on_request, ClosedHandler on_closed);
  ~ProgramLink();
  ProgramLink(const ProgramLink&) = delete;
  ProgramLink& operator=(const ProgramLink&) = delete;

  // Connects and says the recorder is ready. False when the program cannot be reached.
  bool connect(const std::string& socket_path);
  // droppable: a data line, given up when the program is this far behind.
  void send(const std::string& line, bool droppable);
  size_t dropped_lines() const { return dropped_; }
  int fd() const { return fd_.get(); }
  bool waiting_to_write() const { return waiting_to_write_; }

 private:
  static void on_io(pa_mainloop_api* api, pa_io_event* event, int fd, pa_io_event_flags_t flags, void* self);
  void read_lines();
  void flush();
  void close();

  pa_mainloop_api* api_;
  RequestHandler on_request_;
  ClosedHandler on_closed_;
  ipc::UniqueFd fd_;
  pa_io_event* io_ = nullptr;
  bool waiting_to_write_ = false;  // io_ also watches for room to write
  std::string input_;
  std::string output_;
  size_t dropped_ = 0;
};

}  // namespace qxr::recorder

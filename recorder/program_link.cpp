#include "recorder/program_link.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace qxr::recorder {

using ipc::connect_local;
using ipc::IoResult;
using ipc::receive_some;
using ipc::send_some;
using ipc::SocketResult;

namespace {
constexpr int kConnectTimeoutMs = 2000;
constexpr size_t kReadChunk = 16 * 1024;
// The program's lines to us are short; anything this long is not one of them.
constexpr size_t kMaxLine = 4096;
// About half a second of data blocks.
constexpr size_t kMaxUnsent = 128 * 1024;
}  // namespace

ProgramLink::ProgramLink(pa_mainloop_api* api, RequestHandler on_request, ClosedHandler on_closed)
    : api_(api), on_request_(std::move(on_request)), on_closed_(std::move(on_closed)) {}

ProgramLink::~ProgramLink() {
  if (io_ != nullptr) api_->io_free(io_);
}

bool ProgramLink::connect(const std::string& socket_path) {
  SocketResult connected = connect_local(socket_path, kConnectTimeoutMs);
  if (!connected.fd.valid()) {
    std::fprintf(stderr, "qxr470-recorder: %s: %s\n", socket_path.c_str(), std::strerror(connected.error));
    return false;
  }
  fd_ = std::move(connected.fd);
  io_ = api_->io_new(api_, fd_.get(), PA_IO_EVENT_INPUT, &ProgramLink::on_io, this);
  send(music::ready_line(getpid()), false);
  return true;
}

void ProgramLink::on_io(pa_mainloop_api*, pa_io_event*, int, pa_io_event_flags_t flags, void* self) {
  auto* link = static_cast<ProgramLink*>(self);
  if (flags & PA_IO_EVENT_OUTPUT) link->flush();
  if (link->fd_.valid() && (flags & (PA_IO_EVENT_INPUT | PA_IO_EVENT_HANGUP | PA_IO_EVENT_ERROR))) link->read_lines();
}

void ProgramLink::read_lines() {
  const IoResult got = receive_some(fd_.get(), input_, kReadChunk);
  if (got.error == EAGAIN) return;
  if (got.error != 0 || got.bytes == 0) {
    close();
    return;
  }
  size_t start = 0;
  for (size_t end; (end = input_.find('\n', start)) != std::string::npos; start = end + 1) {
    if (auto request = music::parse_request(std::string_view(input_).substr(start, end - start))) on_request_(*request);
    if (!fd_.valid()) return;  // a request closed the link
  }
  input_.erase(0, start);
  if (input_.size() > kMaxLine) close();
}

void ProgramLink::send(const std::string& line, bool droppable) {
  if (!fd_.valid()) return;
  if (droppable && output_.size() + line.size() > kMaxUnsent) {
    ++dropped_;
    return;
  }
  output_ += line;
  flush();
}

void ProgramLink::flush() {
  if (!fd_.valid()) return;
  if (!output_.empty()) {
    const IoResult sent = send_some(fd_.get(), output_);
    if (sent.error != 0 && sent.error != EAGAIN) {
      close();
      return;
    }
    output_.erase(0, sent.bytes);
  }
  // Only on a change: every io_enable makes the main loop rebuild its poll set.
  if (waiting_to_write_ == output_.empty()) {
    waiting_to_write_ = !output_.empty();
    api_->io_enable(io_, static_cast<pa_io_event_flags_t>(PA_IO_EVENT_INPUT | (waiting_to_write_ ? PA_IO_EVENT_OUTPUT : 0)));
  }
}

void ProgramLink::close() {
  if (!fd_.valid()) return;
  api_->io_free(io_);
  io_ = nullptr;
  waiting_to_write_ = false;
  fd_.reset();
  output_.clear();
  if (on_closed_) on_closed_();
}

}  // namespace qxr::recorder

#include "ipc/instance_client.h"

#include <poll.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "core/file_lock.h"
#include "ipc/instance_paths.h"
#include "ipc/unix_socket.h"

namespace qxr::ipc {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kConnectAttempt{100};
constexpr int kWriteTimeoutMs = 1000;
constexpr size_t kReadChunk = 64 * 1024;
constexpr std::chrono::milliseconds kEndPoll{20};

int remaining_ms(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left < 0 ? 0 : static_cast<int>(left);
}

// A connection to the running instance, retried while an instance holds the lock but does not
// serve yet.
struct Connection {
  SendResult result = SendResult::Failed;
  UniqueFd fd;
};

Connection connect_to_instance(Clock::time_point deadline) {
  const std::string path = instance_socket_path();
  for (;;) {
    SocketResult connected = connect_local(path, static_cast<int>(kConnectAttempt.count()));
    if (connected.fd.valid()) return {SendResult::Sent, std::move(connected.fd)};
    if (!instance_running()) return {SendResult::NoInstance, {}};
    if (path.size() > kMaxSocketPath || Clock::now() >= deadline) return {SendResult::Failed, {}};
    std::this_thread::sleep_for(kConnectAttempt);
  }
}

// The next full line, without its newline; nothing once the time is up or the peer is gone.
std::optional<std::string> read_line(int fd, std::string& buffer, Clock::time_point deadline) {
  for (;;) {
    const size_t end = buffer.find('\n');
    if (end != std::string::npos) {
      std::string line = buffer.substr(0, end);
      buffer.erase(0, end + 1);
      return line;
    }
    if (buffer.size() > kMaxMessageLine) return std::nullopt;
    pollfd p{fd, POLLIN, 0};
    int ready;
    do {
      ready = ::poll(&p, 1, remaining_ms(deadline));
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return std::nullopt;
    const IoResult got = receive_some(fd, buffer, kReadChunk);
    if (got.error == EAGAIN) continue;
    if (got.error != 0 || got.bytes == 0) return std::nullopt;
  }
}

}  // namespace

bool instance_running() { return FileLock::is_held(instance_lock_path()); }

bool wait_for_instance_end(int timeout_ms) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (instance_running()) {
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kEndPoll);
  }
  return true;
}

SendResult send_to_instance(const LocalMessage& message, int timeout_ms) {
  Connection c = connect_to_instance(Clock::now() + std::chrono::milliseconds(timeout_ms));
  if (c.result != SendResult::Sent) return c.result;
  return send_all(c.fd.get(), format_message(message), kWriteTimeoutMs) ? SendResult::Sent : SendResult::Failed;
}

Answer ask_instance(const LocalMessage& request, const std::function<bool(const LocalMessage&)>& is_reply,
                    int timeout_ms) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  Connection c = connect_to_instance(deadline);
  Answer answer;
  answer.result = c.result;
  if (c.result != SendResult::Sent) return answer;
  if (!send_all(c.fd.get(), format_message(request), kWriteTimeoutMs)) {
    answer.result = SendResult::Failed;
    return answer;
  }
  std::string buffer;
  while (std::optional<std::string> line = read_line(c.fd.get(), buffer, deadline)) {
    std::optional<LocalMessage> message = parse_message(*line);
    if (message && is_reply(*message)) {
      answer.reply = std::move(message);
      break;
    }
  }
  return answer;
}

}  // namespace qxr::ipc

#include "app/startup/instance_server.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/debug_line.h"

namespace qxr::app {
namespace {

using ipc::accept_local;
using ipc::IoResult;
using ipc::kMaxMessageLine;
using ipc::kMaxSocketPath;
using ipc::listen_local;
using ipc::receive_some;
using ipc::send_some;
using ipc::SocketResult;
using ipc::UniqueFd;

constexpr mode_t kUserOnly = 0600;
constexpr int kListenBacklog = 32;
constexpr size_t kReadChunk = 64 * 1024;
// Announcements are a few dozen bytes: a client this far behind has stopped reading.
constexpr size_t kMaxUnsentBytes = 64 * 1024;
constexpr int kAcceptRetryMs = 1000;
constexpr size_t kShownLineChars = 80;

bool socket_path_fits(const std::string& path) {
  if (path.size() <= kMaxSocketPath) return true;
  debug_fmt("local socket {}: path too long ({} bytes, at most {})", path, path.size(), kMaxSocketPath);
  return false;
}

// The full lines in buffer, without their newlines; the rest stays.
std::vector<std::string> take_lines(std::string& buffer) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = buffer.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.emplace_back(buffer, start, end - start);
  }
  buffer.erase(0, start);
  return lines;
}

// The notifier may be the sender of the signal being handled.
void retire(QSocketNotifier* notifier) {
  notifier->setEnabled(false);
  notifier->deleteLater();
}

}  // namespace

struct InstanceServer::Client {
  UniqueFd fd;
  QSocketNotifier* reader = nullptr;
  QSocketNotifier* writer = nullptr;
  std::string input;        // what follows the last full line
  std::string output;       // announcements the client has not taken yet
  bool can_write = true;    // false once the peer stopped reading for good
  ~Client() {
    retire(reader);
    retire(writer);
  }
};

InstanceServer::InstanceServer(QObject* parent) : QObject(parent) {}

InstanceServer::~InstanceServer() {
  clients_.clear();
  if (!listener_.valid()) return;
  accept_notifier_->setEnabled(false);
  listener_.reset();
  ::unlink(socket_path_.c_str());  // still under the lock, so it is ours
}

bool InstanceServer::claim() {
  if (lock_.locked()) return true;
  if (!lock_.try_lock(instance_lock_path())) return false;
  const std::string path = instance_socket_path();
  if (!socket_path_fits(path)) return true;
  // We hold the lock: a socket file left behind belongs to a process that ended.
  ::unlink(path.c_str());
  SocketResult listening = listen_local(path, kUserOnly, kListenBacklog);
  if (!listening.fd.valid()) {
    debug_fmt("local socket {}: {}", path, std::strerror(listening.error));
    return true;
  }
  listener_ = std::move(listening.fd);
  socket_path_ = path;
  accept_notifier_ = new QSocketNotifier(listener_.get(), QSocketNotifier::Read, this);
  connect(accept_notifier_, &QSocketNotifier::activated, this, &InstanceServer::accept_clients);
  return true;
}

void InstanceServer::accept_clients() {
  for (;;) {
    SocketResult accepted = accept_local(listener_.get());
    if (accepted.error == ECONNABORTED) continue;
    if (accepted.error == EAGAIN) return;
    if (!accepted.fd.valid()) {
      debug_fmt("local socket: accept: {}", std::strerror(accepted.error));
      // Out of descriptors: the waiting client would wake us again at once, forever.
      accept_notifier_->setEnabled(false);
      QTimer::singleShot(kAcceptRetryMs, this, [this] { accept_notifier_->setEnabled(true); });
      return;
    }
    const uint64_t id = next_id_++;
    auto client = std::make_unique<Client>();
    client->fd = std::move(accepted.fd);
    client->reader = new QSocketNotifier(client->fd.get(), QSocketNotifier::Read, this);
    client->writer = new QSocketNotifier(client->fd.get(), QSocketNotifier::Write, this);
    client->writer->setEnabled(false);
    connect(client->reader, &QSocketNotifier::activated, this, [this, id] { read_client(id); });
    connect(client->writer, &QSocketNotifier::activated, this, [this, id] { write_client(id); });
    Client& added = *clients_.emplace(id, std::move(client)).first->second;
    // Written before anything the client sends is read: its first line.
    if (greeting_ && deliver(added, format_message(*greeting_)) == Delivery::Overflow) drop(id);
  }
}

void InstanceServer::set_answer(MessageKind kind, std::function<LocalMessage()> answer) {
  answers_[kind] = std::move(answer);
}

void InstanceServer::read_client(uint64_t id) {
  const auto it = clients_.find(id);
  if (it == clients_.end()) return;
  Client& client = *it->second;
  const IoResult got = receive_some(client.fd.get(), client.input, kReadChunk);
  if (got.error == EAGAIN) return;
  const std::vector<std::string> lines = take_lines(client.input);
  if (client.input.size() > kMaxMessageLine) {
    debug_line("local socket: line too long, connection closed");
    drop(id);
  } else if (got.bytes == 0) {
    drop(id);  // hung up: the lines it wrote before still count
  }
  dispatch(id, lines);
}

void InstanceServer::dispatch(uint64_t id, const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  // A handler may run a nested event loop: this client's next lines wait until these are through.
  const auto set_reading = [this, id](bool on) {
    const auto it = clients_.find(id);
    if (it != clients_.end()) it->second->reader->setEnabled(on);
  };
  set_reading(false);
  const QPointer<InstanceServer> alive(this);
  for (const std::string& line : lines) {
    if (auto message = ipc::parse_message(line)) {
      if (const auto answer = answers_.find(message->kind); answer != answers_.end()) {
        const auto it = clients_.find(id);
        if (it != clients_.end() && deliver(*it->second, format_message(answer->second())) == Delivery::Overflow) {
          drop(id);
        }
        continue;
      }
      emit message_received(*message, id);
      if (!alive) return;
    } else {
      debug_fmt("local socket: unknown message '{}'", std::string_view(line).substr(0, kShownLineChars));
    }
  }
  set_reading(true);
}

int InstanceServer::announce(const LocalMessage& message) {
  const std::string line = ipc::format_message(message);
  int sent = 0;
  std::vector<uint64_t> stuck;
  for (auto& [id, client] : clients_) {
    switch (deliver(*client, line)) {
      case Delivery::Queued:
        ++sent;
        break;
      case Delivery::PeerGone:
        break;  // its hang-up reaches the reader, after what it wrote before
      case Delivery::Overflow:
        stuck.push_back(id);
        break;
    }
  }
  for (const uint64_t id : stuck) {
    debug_line("local socket: client does not read, connection closed");
    drop(id);
  }
  return sent;
}

InstanceServer::Delivery InstanceServer::deliver(Client& client, std::string_view bytes) {
  if (!client.can_write) return Delivery::PeerGone;
  if (client.output.empty()) {
    const IoResult sent = send_some(client.fd.get(), bytes);
    if (sent.error != 0 && sent.error != EAGAIN) {
      client.can_write = false;
      return Delivery::PeerGone;
    }
    bytes.remove_prefix(sent.bytes);
    if (bytes.empty()) return Delivery::Queued;
  }
  if (client.output.size() + bytes.size() > kMaxUnsentBytes) return Delivery::Overflow;
  client.output.append(bytes);
  client.writer->setEnabled(true);
  return Delivery::Queued;
}

void InstanceServer::write_client(uint64_t id) {
  const auto it = clients_.find(id);
  if (it == clients_.end()) return;
  Client& client = *it->second;
  const IoResult sent = send_some(client.fd.get(), client.output);
  if (sent.error == EAGAIN) return;
  if (sent.error != 0) {
    client.can_write = false;
    client.output.clear();
  } else {
    client.output.erase(0, sent.bytes);
  }
  if (client.output.empty()) client.writer->setEnabled(false);
}

void InstanceServer::drop(uint64_t id) {
  if (clients_.erase(id) != 0) emit client_closed(id);
}

bool InstanceServer::send_to(quint64 client, const LocalMessage& message) {
  const auto it = clients_.find(client);
  if (it == clients_.end()) return false;
  if (deliver(*it->second, format_message(message)) == Delivery::Overflow) {
    drop(client);
    return false;
  }
  return it->second->can_write;
}

}  // namespace qxr::app

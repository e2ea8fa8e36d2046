#pragma once
// One running instance per user: a lock file beside a local socket, both named from the
// application identity in $XDG_RUNTIME_DIR. The first start holds the lock and serves the
// socket; a later start finds the lock taken, sends its message to the socket and ends.
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_lock.h"
#include "ipc/instance_client.h"
#include "ipc/instance_paths.h"
#include "ipc/local_message.h"
#include "ipc/unix_socket.h"

class QSocketNotifier;

namespace qxr::app {

using ipc::instance_lock_path;
using ipc::instance_socket_path;
using ipc::is_game_event;
using ipc::LocalMessage;
using ipc::message_name;
using ipc::MessageKind;
using ipc::send_to_instance;
using ipc::SendResult;

class InstanceServer : public QObject {
  Q_OBJECT
 public:
  explicit InstanceServer(QObject* parent = nullptr);
  ~InstanceServer() override;

  // True when this process is the first instance; it then serves the socket. A process that
  // dies leaves no lock behind.
  bool claim();
  bool serving() const { return listener_.valid(); }

  // Sends the line to every client still connected (the announcements of the program). Never
  // waits: lines a client does not take yet are kept up to a limit, past it the client is dropped.
  int announce(const LocalMessage& message);
  // The line every client receives first when it connects (the program's current lighting
  // announcement); nothing: none.
  void set_greeting(std::optional<LocalMessage> greeting) { greeting_ = std::move(greeting); }
  // Requests of kind are answered to the asking client alone, with what answer returns; they
  // are not passed on as message_received.
  void set_answer(MessageKind kind, std::function<LocalMessage()> answer);
  int client_count() const { return static_cast<int>(clients_.size()); }
  // Sends the line to one client (the recorder); false when it is gone or stopped reading.
  bool send_to(quint64 client, const LocalMessage& message);

 signals:
  // client names the connection, for an answer with send_to.
  void message_received(const qxr::ipc::LocalMessage& message, quint64 client);
  void client_closed(quint64 client);

 private:
  struct Client;
  enum class Delivery { Queued, PeerGone, Overflow };

  void accept_clients();
  void read_client(uint64_t id);
  void write_client(uint64_t id);
  Delivery deliver(Client& client, std::string_view bytes);
  void drop(uint64_t id);
  void dispatch(uint64_t id, const std::vector<std::string>& lines);

  FileLock lock_;
  ipc::UniqueFd listener_;
  std::optional<LocalMessage> greeting_;
  std::map<MessageKind, std::function<LocalMessage()>> answers_;
  std::string socket_path_;  // the file this server bound, removed when it ends
  QSocketNotifier* accept_notifier_ = nullptr;
  std::map<uint64_t, std::unique_ptr<Client>> clients_;
  uint64_t next_id_ = 1;
};

}  // namespace qxr::app

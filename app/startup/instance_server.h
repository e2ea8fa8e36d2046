#pragma once
// One running instance per user: a lock file beside a local socket, both named from the
// application identity in $XDG_RUNTIME_DIR. The first start holds the lock and serves the
// socket; a later start finds the lock taken, sends its message to the socket and ends.
#include <QObject>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/socket/local_message.h"
#include "core/unix_socket.h"
#include "core/file_lock.h"

class QSocketNotifier;

namespace qxr::app {

// $XDG_RUNTIME_DIR (or the temporary folder) + "/QXR470 GAMING KEYBOARD".
QString instance_socket_path();
QString instance_lock_path();

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
  int client_count() const { return static_cast<int>(clients_.size()); }
  // Sends the line to one client (the recorder); false when it is gone or stopped reading.
  bool send_to(quint64 client, const LocalMessage& message);

 signals:
  // client names the connection, for an answer with send_to.
  void message_received(const qxr::app::LocalMessage& message, quint64 client);
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
  UniqueFd listener_;
  std::string socket_path_;  // the file this server bound, removed when it ends
  QSocketNotifier* accept_notifier_ = nullptr;
  std::map<uint64_t, std::unique_ptr<Client>> clients_;
  uint64_t next_id_ = 1;
};

enum class SendResult { Sent, NoInstance, Failed };

// Connects to the running instance and writes one message. Waits up to timeout_ms for an
// instance that holds the lock but does not serve yet.
SendResult send_to_instance(const LocalMessage& message, int timeout_ms = 2000);

}  // namespace qxr::app

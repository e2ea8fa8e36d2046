#pragma once
// One running instance per user: a lock file beside a local socket, both named from the
// application identity in $XDG_RUNTIME_DIR. The first start holds the lock and serves the
// socket; a later start finds the lock taken, sends its message to the socket and ends.
#include <QHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>

#include <memory>

#include "app/local_message.h"
#include "core/file_lock.h"

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
  bool serving() const { return server_ != nullptr && server_->isListening(); }

  // Sends the line to every client still connected (the announcements of the program).
  int announce(const LocalMessage& message);
  int client_count() const { return static_cast<int>(buffers_.size()); }

 signals:
  void message_received(const qxr::app::LocalMessage& message);

 private:
  void accept();
  void read_client(QLocalSocket* client);

  FileLock lock_;
  QLocalServer* server_ = nullptr;
  QHash<QLocalSocket*, QByteArray> buffers_;
};

enum class SendResult { Sent, NoInstance, Failed };

// Connects to the running instance and writes one message. Waits up to timeout_ms for an
// instance that holds the lock but does not serve yet.
SendResult send_to_instance(const LocalMessage& message, int timeout_ms = 2000);

}  // namespace qxr::app

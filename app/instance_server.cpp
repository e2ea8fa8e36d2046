#include "app/instance_server.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

#include <unistd.h>


#include "app/app_identity.h"
#include "core/debug_line.h"

namespace qxr::app {
namespace {

constexpr int kConnectAttemptMs = 100;
constexpr int kWriteTimeoutMs = 1000;

QString runtime_dir() {
  QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (dir.isEmpty() || !QDir(dir).exists()) dir = QDir::tempPath();
  return dir;
}

QString base_path() {
  QString name = QString::fromLatin1(kAppIdentity);
  // Without a private runtime folder the name must not collide with other users'.
  if (qEnvironmentVariable("XDG_RUNTIME_DIR").isEmpty()) name += QStringLiteral("-%1").arg(getuid());
  return QDir(runtime_dir()).filePath(name);
}

bool instance_running() { return FileLock::is_held(instance_lock_path().toStdString()); }

}  // namespace

QString instance_socket_path() { return base_path(); }
QString instance_lock_path() { return base_path() + QStringLiteral(".lock"); }

InstanceServer::InstanceServer(QObject* parent) : QObject(parent) {}

InstanceServer::~InstanceServer() {
  if (server_ != nullptr) server_->close();
}

bool InstanceServer::claim() {
  if (!lock_.try_lock(instance_lock_path().toStdString())) return false;
  // We hold the lock: a socket file left behind belongs to a process that ended.
  QLocalServer::removeServer(instance_socket_path());
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(instance_socket_path())) {
    debug_fmt("local socket {}: {}", instance_socket_path().toStdString(), server_->errorString().toStdString());
  }
  connect(server_, &QLocalServer::newConnection, this, &InstanceServer::accept);
  return true;
}

void InstanceServer::accept() {
  while (QLocalSocket* client = server_->nextPendingConnection()) {
    buffers_.insert(client, {});
    connect(client, &QLocalSocket::readyRead, this, [this, client] { read_client(client); });
    connect(client, &QLocalSocket::disconnected, this, [this, client] {
      // A client may write its line and hang up at once: take what it left first.
      read_client(client);
      buffers_.remove(client);
      client->deleteLater();
    });
    if (client->bytesAvailable() > 0) read_client(client);
  }
}

void InstanceServer::read_client(QLocalSocket* client) {
  auto it = buffers_.find(client);
  if (it == buffers_.end()) return;
  it->append(client->readAll());
  qsizetype newline;
  while ((newline = it->indexOf('\n')) >= 0) {
    const QByteArray line = it->left(newline);
    it->remove(0, newline + 1);
    if (auto message = parse_message(std::string_view(line.constData(), static_cast<size_t>(line.size())))) {
      emit message_received(*message);
    } else {
      debug_fmt("local socket: unknown message '{}'", line.left(80).toStdString());
    }
    it = buffers_.find(client);
    if (it == buffers_.end()) return;
  }
  if (static_cast<size_t>(it->size()) > kMaxMessageLine) {
    debug_line("local socket: line too long, connection closed");
    it->clear();
    client->abort();
  }
}

int InstanceServer::announce(const LocalMessage& message) {
  const std::string line = format_message(message);
  int sent = 0;
  for (auto it = buffers_.begin(); it != buffers_.end(); ++it) {
    QLocalSocket* client = it.key();
    if (client->state() != QLocalSocket::ConnectedState) continue;
    client->write(line.data(), static_cast<qint64>(line.size()));
    ++sent;
  }
  return sent;
}

SendResult send_to_instance(const LocalMessage& message, int timeout_ms) {
  QDeadlineTimer deadline(timeout_ms);
  QLocalSocket socket;
  for (;;) {
    socket.connectToServer(instance_socket_path());
    if (socket.waitForConnected(kConnectAttemptMs)) break;
    if (!instance_running()) return SendResult::NoInstance;
    if (deadline.hasExpired()) return SendResult::Failed;
    QThread::msleep(kConnectAttemptMs);
  }
  const std::string line = format_message(message);
  socket.write(line.data(), static_cast<qint64>(line.size()));
  if (!socket.waitForBytesWritten(kWriteTimeoutMs)) return SendResult::Failed;
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kWriteTimeoutMs);
  return SendResult::Sent;
}

}  // namespace qxr::app

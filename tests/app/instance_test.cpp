// One instance per user: the lock, the socket, messages in both directions, and the real
// program started a second time or asked to send.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>

#include <linux/sockios.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <cerrno>
#include <thread>

#include "app/startup/instance_server.h"
#include "core/unix_socket.h"
#include "core/debug_line.h"
#include "tests/app/app_test_support.h"
#include "tests/support/event_loop.h"

namespace qxr::app {
namespace {

using qxr::testing::qt::spin;
using qxr::testing::qt::wait_until;

TEST(Instance, TheSecondClaimFailsUntilTheFirstGoes) {
  auto first = std::make_unique<InstanceServer>();
  ASSERT_TRUE(first->claim());
  EXPECT_TRUE(first->serving());
  InstanceServer second;
  EXPECT_FALSE(second.claim());
  first.reset();
  InstanceServer third;
  EXPECT_TRUE(third.claim());
}

TEST(Instance, ALeftoverSocketFileDoesNotStopTheNextStart) {
  {
    QFile stale(instance_socket_path());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  }
  InstanceServer server;
  ASSERT_TRUE(server.claim());
  EXPECT_TRUE(server.serving());
}

TEST(Instance, MessagesArriveInOrder) {
  InstanceServer server;
  ASSERT_TRUE(server.claim());
  std::vector<LocalMessage> got;
  QObject::connect(&server, &InstanceServer::message_received, [&](const LocalMessage& m) { got.push_back(m); });
  SendResult r1 = SendResult::Failed, r2 = SendResult::Failed;
  std::thread sender([&] {
    r1 = send_to_instance({MessageKind::GameStart, 1, 7, {}});
    r2 = send_to_instance({MessageKind::Data, 2, 0, {1, 2, 3, 4, 5}});
  });
  ASSERT_TRUE(wait_until([&] { return got.size() == 2; }));
  sender.join();
  EXPECT_EQ(r1, SendResult::Sent);
  EXPECT_EQ(r2, SendResult::Sent);
  EXPECT_EQ(got[0], (LocalMessage{MessageKind::GameStart, 1, 7, {}}));
  EXPECT_EQ(got[1].data, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
}

TEST(Instance, GarbageIsDroppedAndTheConnectionKeepsWorking) {
  InstanceServer server;
  ASSERT_TRUE(server.claim());
  std::vector<LocalMessage> got;
  QObject::connect(&server, &InstanceServer::message_received, [&](const LocalMessage& m) { got.push_back(m); });
  QLocalSocket client;
  client.connectToServer(instance_socket_path());
  ASSERT_TRUE(client.waitForConnected(2000));
  client.write("no such message\nlight-control 1 0\n");
  client.flush();
  ASSERT_TRUE(wait_until([&] { return !got.empty(); }));
  EXPECT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].kind, MessageKind::LightControl);
}

TEST(Instance, AnnouncementsReachConnectedClients) {
  InstanceServer server;
  ASSERT_TRUE(server.claim());
  QLocalSocket client;
  client.connectToServer(instance_socket_path());
  ASSERT_TRUE(client.waitForConnected(2000));
  ASSERT_TRUE(wait_until([&] { return server.client_count() == 1; }));
  EXPECT_EQ(server.announce({MessageKind::LightAnnounce, 1, 0, {}}), 1);
  ASSERT_TRUE(wait_until([&] { return client.canReadLine(); }));
  const QByteArray line = client.readLine();
  auto m = parse_message(std::string_view(line.constData(), static_cast<size_t>(line.size())));
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(m->kind, MessageKind::LightAnnounce);
  EXPECT_EQ(m->lparam, 0);
}

TEST(Instance, SendingWithoutARunningProgramSaysSo) {
  EXPECT_EQ(send_to_instance({MessageKind::Identity, 0, 1, {}}, 500), SendResult::NoInstance);
}

TEST(Instance, TheSocketIsForTheUserOnlyAndGoesWithTheServer) {
  const std::string path = instance_socket_path().toStdString();
  {
    InstanceServer server;
    ASSERT_TRUE(server.claim());
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);
  }
  EXPECT_FALSE(QFile::exists(instance_socket_path()));
}

// Reads what the server sent until it closes the connection; false when it stays open.
bool reads_to_the_end(int fd) {
  std::string ignored;
  for (int polls = 0; polls < 100; ++polls) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 100) < 0) return false;
    const IoResult got = receive_some(fd, ignored, 64 * 1024);
    if (got.error == 0 && got.bytes == 0) return true;
    if (got.error != 0 && got.error != EAGAIN) return got.error == ECONNRESET;
    ignored.clear();
  }
  return false;
}

TEST(Instance, AClientThatNeverReadsIsDroppedAndTheOthersLoseNothing) {
  InstanceServer server;
  ASSERT_TRUE(server.claim());
  const SocketResult idle = connect_local(instance_socket_path().toStdString(), 1000);
  ASSERT_TRUE(idle.fd.valid());
  QLocalSocket reader;
  reader.connectToServer(instance_socket_path());
  ASSERT_TRUE(reader.waitForConnected(2000));
  ASSERT_TRUE(wait_until([&] { return server.client_count() == 2; }));

  DebugCapture debug;
  const LocalMessage announcement{MessageKind::LightAnnounce, 1, 1, {}};
  int announced = 0;
  int last_reach = 0;
  // The idle client fills its socket and then its backlog; announce() must neither wait for it
  // nor keep its lines without bound.
  while (server.client_count() == 2 && announced < 200000) {
    last_reach = server.announce(announcement);
    ++announced;
    QCoreApplication::processEvents();
  }
  EXPECT_EQ(server.client_count(), 1);
  EXPECT_EQ(last_reach, 1);
  EXPECT_EQ(debug.count("local socket: client does not read, connection closed"), 1);
  EXPECT_TRUE(reads_to_the_end(idle.fd.get()));

  const std::string line = format_message(announcement);
  const qint64 expected = static_cast<qint64>(line.size()) * announced;
  ASSERT_TRUE(wait_until([&] { return reader.bytesAvailable() >= expected; }));
  int lines = 0;
  while (reader.canReadLine()) {
    EXPECT_EQ(reader.readLine().toStdString(), line) << "line " << lines;
    ++lines;
  }
  EXPECT_EQ(lines, announced);
}

// Bytes sent on the connection that the server has not read yet.
int unread_by_server(const QLocalSocket& client) {
  int queued = -1;
  ::ioctl(static_cast<int>(client.socketDescriptor()), SIOCOUTQ, &queued);
  return queued;
}

TEST(Instance, AnOverlongLineClosesOnlyItsOwnConnection) {
  InstanceServer server;
  ASSERT_TRUE(server.claim());
  std::vector<LocalMessage> got;
  QObject::connect(&server, &InstanceServer::message_received, [&](const LocalMessage& m) { got.push_back(m); });
  QLocalSocket longest, overlong;
  longest.connectToServer(instance_socket_path());
  overlong.connectToServer(instance_socket_path());
  ASSERT_TRUE(longest.waitForConnected(2000));
  ASSERT_TRUE(overlong.waitForConnected(2000));
  ASSERT_TRUE(wait_until([&] { return server.client_count() == 2; }));

  DebugCapture debug;
  const auto filler = [](size_t n) { return QByteArray(static_cast<qsizetype>(n), 'x'); };
  // A line of the full length is still a line: the connection stays and goes on. The server
  // takes all of it before the newline follows, so it does hold the whole length at once.
  longest.write(filler(kMaxMessageLine));
  ASSERT_TRUE(wait_until([&] { return longest.bytesToWrite() == 0 && unread_by_server(longest) == 0; }));
  longest.write("\nmain-action 1\n");
  overlong.write(filler(kMaxMessageLine + 1));
  ASSERT_TRUE(wait_until([&] { return !got.empty() && overlong.state() == QLocalSocket::UnconnectedState; }));
  EXPECT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0], (LocalMessage{MessageKind::MainAction, 1, 0, {}}));
  EXPECT_EQ(server.client_count(), 1);
  EXPECT_EQ(longest.state(), QLocalSocket::ConnectedState);
  EXPECT_EQ(debug.count("local socket: line too long, connection closed"), 1);
}

TEST(Instance, AClientThatHangsUpWhileAnAnnouncementGoesOutIsStillHeard) {
  InstanceServer server;
  ASSERT_TRUE(server.claim());
  std::vector<LocalMessage> got;
  QObject::connect(&server, &InstanceServer::message_received, [&](const LocalMessage& m) { got.push_back(m); });
  SocketResult client = connect_local(instance_socket_path().toStdString(), 1000);
  ASSERT_TRUE(client.fd.valid());
  ASSERT_TRUE(wait_until([&] { return server.client_count() == 1; }));
  ASSERT_TRUE(send_all(client.fd.get(), "main-action 1\n", 1000));
  client.fd.reset();
  // Written to a peer that is gone, before its line is read.
  EXPECT_EQ(server.announce({MessageKind::LightAnnounce, 1, 1, {}}), 0);
  ASSERT_TRUE(wait_until([&] { return !got.empty() && server.client_count() == 0; }));
  EXPECT_EQ(got[0], (LocalMessage{MessageKind::MainAction, 1, 0, {}}));
}

// Points the runtime folder elsewhere for one test.
class RuntimeDirOverride {
 public:
  explicit RuntimeDirOverride(const QString& dir) : saved_(qgetenv("XDG_RUNTIME_DIR")) {
    qputenv("XDG_RUNTIME_DIR", dir.toUtf8());
  }
  ~RuntimeDirOverride() { qputenv("XDG_RUNTIME_DIR", saved_); }

 private:
  QByteArray saved_;
};

TEST(Instance, ASocketPathThatDoesNotFitIsRefusedNotCut) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString folder_name(static_cast<qsizetype>(kMaxSocketPath), QLatin1Char('d'));
  ASSERT_TRUE(QDir(dir.path()).mkdir(folder_name));
  const RuntimeDirOverride runtime(dir.filePath(folder_name));
  ASSERT_GT(instance_socket_path().toStdString().size(), kMaxSocketPath);

  DebugCapture debug;
  {
    InstanceServer server;
    // The lock alone still keeps this the only instance.
    EXPECT_TRUE(server.claim());
    EXPECT_FALSE(server.serving());
    EXPECT_EQ(debug.count("path too long", true), 1);
    // Nothing was bound under a shortened name beside the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
              QStringList{folder_name});
    EXPECT_EQ(send_to_instance({MessageKind::Identity, 0, 1, {}}, 500), SendResult::Failed);
  }
  EXPECT_EQ(send_to_instance({MessageKind::Identity, 0, 1, {}}, 500), SendResult::NoInstance);
}

int run_program(const QStringList& args, int timeout_ms = 20000) {
  QProcess p;
  p.start(QStringLiteral(QXR_PROGRAM_PATH), args);
  if (!p.waitForStarted(5000)) return -1;
  // Keep our own event loop turning: the program talks to the server in this process.
  if (!wait_until([&] { return p.state() == QProcess::NotRunning || p.waitForFinished(1); }, timeout_ms)) {
    p.kill();
    p.waitForFinished();
    return -2;
  }
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -3;
}

TEST(Instance, ASecondStartOfTheProgramSignalsTheFirstAndEndsWithZero) {
  QXR_SKIP_WHERE_FORK_CONFUSES_TSAN();
  InstanceServer server;
  ASSERT_TRUE(server.claim());
  std::vector<LocalMessage> got;
  QObject::connect(&server, &InstanceServer::message_received, [&](const LocalMessage& m) { got.push_back(m); });
  EXPECT_EQ(run_program({}), 0);
  ASSERT_TRUE(wait_until([&] { return !got.empty(); }));
  EXPECT_EQ(got[0].kind, MessageKind::Identity);
  EXPECT_EQ(got[0].lparam, 1);
}

TEST(Instance, SendFromTheCommandLine) {
  QXR_SKIP_WHERE_FORK_CONFUSES_TSAN();
  EXPECT_EQ(run_program({QStringLiteral("--send"), QStringLiteral("identity")}), 1);  // nobody runs
  InstanceServer server;
  ASSERT_TRUE(server.claim());
  std::vector<LocalMessage> got;
  QObject::connect(&server, &InstanceServer::message_received, [&](const LocalMessage& m) { got.push_back(m); });
  EXPECT_EQ(run_program({QStringLiteral("--send"), QStringLiteral("Game_Kill"), QStringLiteral("2"),
                         QStringLiteral("9")}),
            0);
  ASSERT_TRUE(wait_until([&] { return !got.empty(); }));
  EXPECT_EQ(got[0], (LocalMessage{MessageKind::GameKill, 2, 9, {}}));
  EXPECT_EQ(run_program({QStringLiteral("--send"), QStringLiteral("Game_Kill"), QStringLiteral("x")}), 1);
}

}  // namespace
}  // namespace qxr::app

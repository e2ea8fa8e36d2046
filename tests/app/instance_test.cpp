// One instance per user: the lock, the socket, messages in both directions, and the real
// program started a second time or asked to send.
#include <gtest/gtest.h>

#include <QFile>
#include <QLocalSocket>
#include <QProcess>

#include <thread>

#include "app/instance_server.h"
#include "tests/app/app_test_support.h"

namespace qxr::app {
namespace {

using testing::spin;
using testing::wait_until;

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

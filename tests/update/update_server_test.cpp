// The update request and the whole check against a local HTTPS server: what is sent, what the
// rows become, refused certificates, and replies that are too large, never end or say nothing
// usable.
#include <gtest/gtest.h>

#include <vector>

#include "core/worker_thread.h"
#include "profile/update_files.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"
#include "tests/update/update_test_support.h"

namespace qxr::update::testing {
namespace {

using Reply = TlsTestServer::Reply;
using Request = TlsTestServer::Request;
using Behaviour = TlsTestServer::Behaviour;

constexpr char kKeyboardKey[] = "KELTO_1_KB01_M1_1";
constexpr char kPadKey[] = "KELTO_2_PD01_M3_1";
constexpr char kProgramKey[] = "KELTO_0_ALL_M0_1";

std::vector<UpdateEntry> three_entries() {
  UpdateConfig config;
  config.model_code = "M0";
  config.firmware = {{1, "KB01", "M1", "Keyboard", 0x0104}, {2, "PD01", "M3", "Pad", 0x0200}};
  return UpdateEntries(config, "0.1.0");
}

Reply json(const std::string& body) { return {200, body, Behaviour::Reply}; }

TEST(UpdateServer, RepliesOfTheTrustedServerGiveTheRowsTheirStates) {
  auto server = start_server([](const Request& r) {
    const std::string key = app_key_of(r);
    if (key == kKeyboardKey) {
      return json(R"({"version":"0105","version_name":"1.05","name":"Keyboard FW","path":"https://dl.example/kb.bin",
                      "device_id":3})");
    }
    if (key == kPadKey) return json(R"({"version":"0200","version_name":"2.00","name":"Pad FW","path":"https://x"})");
    return json(R"({"version":"9","version_name":"0.0.9","name":"Program","path":"https://y"})");
  });
  qxr::testing::TempFolder folder;
  UpdateCheckSetup setup{update_server(*server), three_entries(), folder.file(kUpdateTimeFile)};
  StopEvent stop;
  RecordingSink sink;
  EXPECT_EQ(RunUpdateCheck(setup, stop, sink), PageStatus::HaveUpdate);

  EXPECT_EQ(sink.statuses(), (std::vector<PageStatus>{PageStatus::Checking, PageStatus::HaveUpdate}));
  const auto added = sink.added();
  ASSERT_EQ(added.size(), 3u);
  EXPECT_EQ(added[0].name, "Keyboard");
  EXPECT_EQ(added[0].installed, "V0104");
  EXPECT_EQ(added[1].installed, "V0200");
  EXPECT_EQ(added[2].name, "AP");
  EXPECT_EQ(added[2].installed, "V10");

  const auto rows = sink.checked();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].state, kUpdateNewer);
  EXPECT_EQ(rows[0].name, "Keyboard FW");
  EXPECT_EQ(rows[0].installed, "V0104");
  EXPECT_EQ(rows[0].offered, "V0105");
  EXPECT_EQ(rows[0].path, "https://dl.example/kb.bin");
  EXPECT_EQ(rows[1].state, kUpdateCurrent);
  EXPECT_EQ(rows[1].offered, "");
  EXPECT_EQ(rows[1].path, "");
  EXPECT_EQ(rows[2].state, kUpdateCurrent);  // 9 is older than the installed 10
  EXPECT_EQ(rows[2].installed, "V10");

  // What went over the wire, one request per product, as the server reads it.
  const auto requests = server->requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].target, "/api/updates");
  EXPECT_EQ(requests[0].body, std::string("app_key=KELTO_1_KB01_M1_1&version=104\0", 38));
  EXPECT_EQ(requests[1].body, std::string("app_key=KELTO_2_PD01_M3_1&version=200\0", 38));
  EXPECT_EQ(requests[2].body, std::string("app_key=KELTO_0_ALL_M0_1&version=10\0", 36));
  EXPECT_EQ(app_key_of(requests[2]), kProgramKey);
  EXPECT_EQ(requests[0].headers.at("content-type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(requests[0].headers.at("accept"), "application/prs.Kelto.v1+json");
  EXPECT_EQ(requests[0].headers.at("user-agent"), "WinHTTP Client/1.0");
  EXPECT_EQ(requests[0].headers.count("expect"), 0u);

  EXPECT_EQ(ReadUpdateTime(setup.update_time_path), FormatUpdateDate(TodayLocal()));
}

TEST(UpdateServer, HexadecimalVersionsCompareAsNumbersOfBase16) {
  auto server = start_server([](const Request&) { return json(R"({"version":"0105","version_name":"1.05"})"); });
  HttpSettings settings;
  UpdateServer update = update_server(*server);
  update.base_url.pop_back();  // ".../api": the slash is added
  const UpdateInfo info = RequestUpdateInfo(settings, update, kKeyboardKey, 0x0104, true);
  EXPECT_EQ(info.status, kUpdateNewer);
  EXPECT_EQ(info.local_version, "V0104");
  EXPECT_EQ(info.remote_version, "V0105");
  ASSERT_EQ(server->requests().size(), 1u);
  EXPECT_EQ(server->requests()[0].target, "/api/updates");
  EXPECT_EQ(server->requests()[0].body, std::string("app_key=KELTO_1_KB01_M1_1&version=104\0", 38));
}

TEST(UpdateServer, CertificatesTheCaDidNotIssueForThisHostAreRefused) {
  const auto& certs = certificates();
  const std::pair<std::string, std::string> refused[] = {{certs.self_signed_cert, certs.self_signed_key},
                                                         {certs.wrong_host_cert, certs.wrong_host_key}};
  for (const auto& [cert, key] : refused) {
    SCOPED_TRACE(cert);
    auto server = start_server([](const Request&) { return json(R"({"version":"9999"})"); }, cert, key);
    HttpSettings settings;
    const UpdateInfo info = RequestUpdateInfo(settings, update_server(*server), kKeyboardKey, 0x0104, true);
    EXPECT_EQ(info.status, kUpdateFailed);
    EXPECT_EQ(info.name, kNoLinkServer);
    EXPECT_EQ(settings.last_error, kErrorSecureFailure);
    EXPECT_GE(server->connections(), 1);
    EXPECT_TRUE(server->requests().empty());  // nothing was sent over the refused connection

    // A whole check where every product fails: rows without names, nothing recorded as checked.
    qxr::testing::TempFolder folder;
    UpdateCheckSetup setup{update_server(*server), three_entries(), folder.file(kUpdateTimeFile)};
    StopEvent stop;
    RecordingSink sink;
    EXPECT_EQ(RunUpdateCheck(setup, stop, sink), PageStatus::NoUpdateInfo);
    const auto rows = sink.checked();
    ASSERT_EQ(rows.size(), 3u);
    for (const UpdateRowResult& row : rows) {
      EXPECT_EQ(row.state, kUpdateFailed);
      EXPECT_EQ(row.name, "");
      EXPECT_EQ(row.offered, "");
    }
    EXPECT_EQ(rows[0].installed, "V0104");  // what the row showed stays
    EXPECT_EQ(ReadUpdateTime(setup.update_time_path), "");
  }
}

TEST(UpdateServer, RepliesThatAreTooLargeNeverEndOrSayNothingUsableEndCleanly) {
  struct Case {
    const char* what;
    Reply reply;
    int status;
    uint32_t error;
  };
  const std::string large = "{\"version\":\"9999\",\"name\":\"" + std::string(200 * 1024, 'x') + "\"}";
  const Case cases[] = {
      {"200 KB", json(large), kUpdateFailed, kErrorInsufficientBuffer},
      {"exactly the buffer", json(std::string(kUpdateReplyBytes, ' ')), kUpdateCurrent, kErrorNone},
      {"stalls half-way", {200, R"({"version":"9999","name":"stalled"})", Behaviour::Stall}, kUpdateFailed, kErrorTimeout},
      {"never ends", {200, "", Behaviour::Trickle}, kUpdateFailed, kErrorTimeout},
      {"not JSON", json("<html>maintenance</html>"), kUpdateCurrent, kErrorNone},
      {"empty", json(""), kUpdateCurrent, kErrorNone},
      {"bad version", json(R"({"version":"01x5","name":"n"})"), kUpdateCurrent, kErrorNone},
      {"version too large", json(R"({"version":"123456789abc"})"), kUpdateCurrent, kErrorNone},
      {"JSON but an array", json(R"([1,2,3])"), kUpdateCurrent, kErrorNone},
      {"server error", {500, R"({"version":"9999"})", Behaviour::Reply}, kUpdateFailed, kErrorNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto server = start_server([&c](const Request&) { return c.reply; });
    UpdateServer update = update_server(*server);
    HttpSettings settings;
    const auto deadline = std::chrono::steady_clock::now() + kTestDeadline;
    const UpdateInfo info = RequestUpdateInfo(settings, update, kKeyboardKey, 0x0104, true, {nullptr, deadline});
    EXPECT_EQ(info.status, c.status);
    EXPECT_EQ(settings.last_error, c.error);
    if (c.status == kUpdateFailed) {
      EXPECT_EQ(info.name, kNoLinkServer);
    }
  }
}

TEST(UpdateServer, AReplyThatTricklesForEverEndsAtTheCheckDeadline) {
  auto server = start_server([](const Request&) { return Reply{200, "", Behaviour::Trickle}; });
  UpdateServer update = update_server(*server);
  update.client.receive_timeout_ms = 0;  // only the deadline can end it
  qxr::testing::TempFolder folder;
  UpdateCheckSetup setup{update, three_entries(), folder.file(kUpdateTimeFile), kTestDeadline};
  StopEvent stop;
  RecordingSink sink;
  EXPECT_EQ(RunUpdateCheck(setup, stop, sink), PageStatus::NoUpdateInfo);
  // The first product used up the deadline; the others are not even sent.
  EXPECT_EQ(server->requests().size(), 1u);
  ASSERT_EQ(sink.checked().size(), 3u);
  for (const UpdateRowResult& row : sink.checked()) EXPECT_EQ(row.state, kUpdateFailed);
}

TEST(UpdateServer, StoppingEndsACheckWaitingForTheServer) {
  auto server = start_server([](const Request&) { return Reply{200, R"({"version":"1"})", Behaviour::Stall}; });
  UpdateServer update = update_server(*server);
  update.client.receive_timeout_ms = 0;
  UpdateCheckSetup setup{update, three_entries(), {}, std::chrono::minutes(10)};
  RecordingSink sink;
  WorkerThread worker;
  ASSERT_TRUE(worker.start([&](StopEvent& stop) { RunUpdateCheck(setup, stop, sink); }));
  ASSERT_TRUE(qxr::testing::wait_until([&] { return server->requests().size() == 1; }, 10000));
  EXPECT_EQ(worker.stop(), WorkerThread::StopOutcome::Ended);
  // Nothing is reported once stopped.
  EXPECT_TRUE(sink.checked().empty());
  EXPECT_EQ(sink.statuses(), std::vector<PageStatus>{PageStatus::Checking});
}

TEST(HttpRequest, MethodsUrlsAndUnreachableServers) {
  auto server = start_server([](const Request& r) { return json("{\"method\":\"" + r.method + "\"}"); });
  HttpSettings settings;
  settings.ca_file = certificates().ca;
  std::vector<char> buffer(256);

  // "get" is GET.
  const int64_t n = HttpRequest(settings, "get", server->url("/plain"), {}, buffer, false);
  EXPECT_EQ(std::string(buffer.data(), static_cast<size_t>(std::max<int64_t>(n, 0))), R"({"method":"GET"})");
  EXPECT_EQ(settings.last_error, kErrorNone);
  EXPECT_EQ(settings.last_status, 200);

  // PUT is refused before anything goes out.
  const int before = server->connections();
  EXPECT_EQ(HttpRequest(settings, "PUT", server->url("/plain"), {}, buffer, false), -1);
  EXPECT_EQ(settings.last_error, kErrorInvalidParameter);
  EXPECT_EQ(HttpRequest(settings, "POST", "", {}, buffer, false), -1);
  EXPECT_EQ(settings.last_error, kErrorPathNotFound);
  EXPECT_EQ(server->connections(), before);

  struct Unsent {
    std::string url;
    uint32_t error;
  };
  const Unsent unsent[] = {
      {"ftp://127.0.0.1/file", kErrorUnrecognizedScheme},
      {"file:///etc/passwd", kErrorUnrecognizedScheme},
      {"https://" + std::string(kMaxHostLength + 1, 'a') + "/", kErrorInvalidUrl},
      {server->url("/" + std::string(kMaxPathLength + 1, 'p')), kErrorInvalidUrl},
  };
  for (const Unsent& u : unsent) {
    SCOPED_TRACE(u.url.substr(0, 40));
    EXPECT_EQ(HttpRequest(settings, "GET", u.url, {}, buffer, false), 0);
    EXPECT_EQ(settings.last_error, u.error);
    EXPECT_EQ(std::string(buffer.data()), kNoLinkServer);
  }
  EXPECT_EQ(server->connections(), before);

  // Nobody listens on the port any more.
  const std::string gone = server->url("/plain");
  server.reset();
  EXPECT_EQ(HttpRequest(settings, "GET", gone, {}, buffer, false), 0);
  EXPECT_EQ(settings.last_error, kErrorCannotConnect);
  EXPECT_EQ(std::string(buffer.data()), kNoLinkServer);
}

}  // namespace
}  // namespace qxr::update::testing

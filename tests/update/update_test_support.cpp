#include "tests/update/update_test_support.h"

#include <cstdlib>

namespace qxr::update::testing {

const qxr::testing::TestCertificates& certificates() {
  static qxr::testing::TempFolder folder;
  static qxr::testing::TestCertificates certs;
  static const bool made = [] {
    // The local server must never be reached through a proxy of the environment.
    setenv("no_proxy", "127.0.0.1,localhost", 1);
    setenv("NO_PROXY", "127.0.0.1,localhost", 1);
    return qxr::testing::make_test_certificates(folder.path(), certs);
  }();
  EXPECT_TRUE(made) << "openssl could not make the test certificates";
  return certs;
}

std::unique_ptr<TlsTestServer> start_server(TlsTestServer::Handler handler, const std::string& cert,
                                            const std::string& key) {
  const auto& certs = certificates();
  auto server = std::make_unique<TlsTestServer>(cert.empty() ? certs.server_cert : cert,
                                                key.empty() ? certs.server_key : key, std::move(handler));
  EXPECT_TRUE(server->start());
  return server;
}

UpdateServer update_server(const TlsTestServer& server) {
  UpdateServer s;
  s.base_url = server.url("/api/");
  s.client.ca_file = certificates().ca;
  s.client.receive_timeout_ms = kTestReceiveTimeoutMs;
  s.client.send_timeout_ms = kTestReceiveTimeoutMs;
  s.client.connect_timeout_ms = 5000;
  return s;
}

std::string app_key_of(const TlsTestServer::Request& request) {
  const std::string prefix = "app_key=";
  if (request.body.rfind(prefix, 0) != 0) return {};
  return request.body.substr(prefix.size(), request.body.find('&') - prefix.size());
}

void RecordingSink::page_status(PageStatus status) {
  std::lock_guard lock(mutex_);
  statuses_.push_back(status);
}

void RecordingSink::row_added(size_t row, const std::string& name, const std::string& installed) {
  std::lock_guard lock(mutex_);
  EXPECT_EQ(row, added_.size());
  added_.push_back({name, installed});
}

void RecordingSink::row_checked(size_t row, const UpdateRowResult& result) {
  std::lock_guard lock(mutex_);
  EXPECT_EQ(row, checked_.size());
  checked_.push_back(result);
}

std::vector<PageStatus> RecordingSink::statuses() const {
  std::lock_guard lock(mutex_);
  return statuses_;
}

std::vector<RecordingSink::Added> RecordingSink::added() const {
  std::lock_guard lock(mutex_);
  return added_;
}

std::vector<UpdateRowResult> RecordingSink::checked() const {
  std::lock_guard lock(mutex_);
  return checked_;
}

}  // namespace qxr::update::testing

#pragma once
// The update tests' local HTTPS server: certificates made once per test program, a server per
// test, and the client settings that trust the test's CA and give up quickly.
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "tests/support/tls_test_server.h"
#include "update/update_check.h"

namespace qxr::update::testing {

using qxr::testing::TlsTestServer;

// Shortened limits: a stalled reply ends after this, a whole check after the deadline.
inline constexpr int kTestReceiveTimeoutMs = 300;
inline constexpr std::chrono::milliseconds kTestDeadline{1000};

// The certificates of this test program (made on first use; the test fails when openssl fails).
const qxr::testing::TestCertificates& certificates();

// Listens with the CA-signed certificate unless another pair is given.
std::unique_ptr<TlsTestServer> start_server(TlsTestServer::Handler handler, const std::string& cert = {},
                                            const std::string& key = {});

// The server at "<url>/api/" with the client trusting the test's CA.
UpdateServer update_server(const TlsTestServer& server);

// The body's "app_key" value.
std::string app_key_of(const TlsTestServer::Request& request);

// Keeps what a check reports, from any thread.
class RecordingSink : public UpdateCheckSink {
 public:
  struct Added {
    std::string name;
    std::string installed;
  };
  void page_status(PageStatus status) override;
  void row_added(size_t row, const std::string& name, const std::string& installed) override;
  void row_checked(size_t row, const UpdateRowResult& result) override;

  std::vector<PageStatus> statuses() const;
  std::vector<Added> added() const;
  std::vector<UpdateRowResult> checked() const;

 private:
  mutable std::mutex mutex_;
  std::vector<PageStatus> statuses_;
  std::vector<Added> added_;
  std::vector<UpdateRowResult> checked_;
};

}  // namespace qxr::update::testing

#pragma once
// A local HTTPS server for the update tests, on 127.0.0.1 and a free port, with certificates the
// test makes with the openssl program. One connection at a time; each request is answered as
// the test's handler says: a normal reply, a reply that stops half-way and never ends, or one
// that trickles out a byte at a time for ever.
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qxr::testing {

struct TestCertificates {
  std::string ca;  // the CA certificate: the client's CA file
  std::string server_cert, server_key;          // signed by the CA, for 127.0.0.1
  std::string self_signed_cert, self_signed_key;  // for 127.0.0.1, signed by itself
  std::string wrong_host_cert, wrong_host_key;    // signed by the CA, for another host name
};

// Makes the certificates below folder with the openssl program; false when it failed.
bool make_test_certificates(const std::string& folder, TestCertificates& out);

class TlsTestServer {
 public:
  struct Request {
    std::string method;
    std::string target;
    std::map<std::string, std::string> headers;  // names in lower case
    std::string body;
  };
  enum class Behaviour {
    Reply,    // status and body, then the connection closes
    Stall,    // the headers promise the body, half of it comes, then nothing more
    Trickle,  // no length, a byte every few ms until the client goes
  };
  struct Reply {
    int status = 200;
    std::string body;
    Behaviour behaviour = Behaviour::Reply;
  };
  using Handler = std::function<Reply(const Request&)>;

  TlsTestServer(std::string cert_file, std::string key_file, Handler handler);
  ~TlsTestServer();
  TlsTestServer(const TlsTestServer&) = delete;
  TlsTestServer& operator=(const TlsTestServer&) = delete;

  // Listens and serves on its own thread; false when the certificate or the socket failed.
  bool start();
  void stop();

  int port() const { return port_; }
  // "https://127.0.0.1:<port>" + path
  std::string url(const std::string& path) const;
  std::vector<Request> requests() const;
  // Connections accepted, whether or not their handshake succeeded.
  int connections() const { return connections_.load(); }

 private:
  void serve();
  void handle(int fd);

  std::string cert_file_;
  std::string key_file_;
  Handler handler_;
  void* ctx_ = nullptr;  // SSL_CTX
  int listen_fd_ = -1;
  int stop_fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<Request> requests_;
};

}  // namespace qxr::testing

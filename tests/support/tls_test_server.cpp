#include "tests/support/tls_test_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace qxr::testing {
namespace {

constexpr int kIoWaitMs = 5000;
constexpr int kTrickleEveryMs = 20;
constexpr size_t kMaxRequestBytes = 64 * 1024;

// Minimal settings for openssl: a CA and server certificates with the names the client checks.
constexpr char kOpensslConfig[] = R"(
[req]
distinguished_name = dn
prompt = no
[dn]
CN = qxr test
[ca]
basicConstraints = critical,CA:TRUE
keyUsage = critical,keyCertSign,cRLSign
subjectKeyIdentifier = hash
[server]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature,keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = IP:127.0.0.1
[wrong_host]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature,keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = DNS:other.invalid
)";

bool run(const std::string& command) {
  const std::string quiet = command + " >/dev/null 2>&1";
  if (std::system(quiet.c_str()) == 0) return true;
  std::fprintf(stderr, "failed: %s\n", command.c_str());
  return false;
}

std::string quoted(const std::string& s) { return "'" + s + "'"; }

// Waits until fd is ready for reading (or writing); false on stop or timeout.
bool wait_io(int fd, bool for_write, int stop_fd, int timeout_ms) {
  pollfd fds[2] = {{fd, static_cast<short>(for_write ? POLLOUT : POLLIN), 0}, {stop_fd, POLLIN, 0}};
  const int n = poll(fds, 2, timeout_ms);
  return n > 0 && (fds[1].revents & POLLIN) == 0;
}

// Runs an SSL call until it is done; the call's result, or -1 when waiting failed.
template <typename Call>
int ssl_io(SSL* ssl, int fd, int stop_fd, Call call, int timeout_ms = kIoWaitMs) {
  for (;;) {
    const int r = call();
    if (r > 0) return r;
    const int error = SSL_get_error(ssl, r);
    if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) {
      if (!wait_io(fd, error == SSL_ERROR_WANT_WRITE, stop_fd, timeout_ms)) return -1;
      continue;
    }
    return r == 0 ? 0 : -1;
  }
}

bool write_all(SSL* ssl, int fd, int stop_fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    const int n = ssl_io(ssl, fd, stop_fd, [&] {
      return SSL_write(ssl, data.data() + done, static_cast<int>(std::min<size_t>(data.size() - done, 16384)));
    });
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string status_text(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

}  // namespace

bool make_test_certificates(const std::string& folder, TestCertificates& out) {
  const std::string config = folder + "/openssl.cnf";
  std::ofstream(config) << kOpensslConfig;
  out.ca = folder + "/ca.pem";
  const std::string ca_key = folder + "/ca.key";
  out.server_cert = folder + "/server.pem";
  out.server_key = folder + "/server.key";
  out.self_signed_cert = folder + "/self.pem";
  out.self_signed_key = folder + "/self.key";
  out.wrong_host_cert = folder + "/wrong.pem";
  out.wrong_host_key = folder + "/wrong.key";
  const std::string newkey = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -config " + quoted(config);
  auto signed_by_ca = [&](const std::string& cert, const std::string& key, const char* section, const char* serial) {
    const std::string csr = cert + ".csr";
    return run("openssl req -new" + newkey + " -keyout " + quoted(key) + " -out " + quoted(csr)) &&
           run("openssl x509 -req -days 2 -in " + quoted(csr) + " -CA " + quoted(out.ca) + " -CAkey " +
               quoted(ca_key) + " -set_serial " + serial + " -extfile " + quoted(config) + " -extensions " + section +
               " -out " + quoted(cert));
  };
  return run("openssl req -x509 -days 2" + newkey + " -extensions ca -keyout " + quoted(ca_key) + " -out " +
             quoted(out.ca)) &&
         signed_by_ca(out.server_cert, out.server_key, "server", "1001") &&
         signed_by_ca(out.wrong_host_cert, out.wrong_host_key, "wrong_host", "1002") &&
         run("openssl req -x509 -days 2" + newkey + " -extensions server -keyout " + quoted(out.self_signed_key) +
             " -out " + quoted(out.self_signed_cert));
}

TlsTestServer::TlsTestServer(std::string cert_file, std::string key_file, Handler handler)
    : cert_file_(std::move(cert_file)), key_file_(std::move(key_file)), handler_(std::move(handler)) {}

TlsTestServer::~TlsTestServer() {
  stop();
  if (ctx_ != nullptr) SSL_CTX_free(static_cast<SSL_CTX*>(ctx_));
  if (listen_fd_ >= 0) close(listen_fd_);
  if (stop_fd_ >= 0) close(stop_fd_);
}

bool TlsTestServer::start() {
  // OpenSSL writes with write(): a client that hung up must not end the test program.
  signal(SIGPIPE, SIG_IGN);
  SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
  if (ctx == nullptr) return false;
  ctx_ = ctx;
  if (SSL_CTX_use_certificate_chain_file(ctx, cert_file_.c_str()) != 1 ||
      SSL_CTX_use_PrivateKey_file(ctx, key_file_.c_str(), SSL_FILETYPE_PEM) != 1) {
    return false;
  }
  stop_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  listen_fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (stop_fd_ < 0 || listen_fd_ < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listen_fd_, 8) != 0 ||
      getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return false;
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { serve(); });
  return true;
}

void TlsTestServer::stop() {
  if (!thread_.joinable()) return;
  stopping_ = true;
  const uint64_t one = 1;
  if (write(stop_fd_, &one, sizeof one) < 0) std::perror("eventfd");
  thread_.join();
}

std::string TlsTestServer::url(const std::string& path) const {
  return "https://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<TlsTestServer::Request> TlsTestServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void TlsTestServer::serve() {
  while (!stopping_) {
    pollfd fds[2] = {{listen_fd_, POLLIN, 0}, {stop_fd_, POLLIN, 0}};
    if (poll(fds, 2, -1) <= 0 || (fds[1].revents & POLLIN) != 0) break;
    const int fd = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) continue;
    ++connections_;
    handle(fd);
    close(fd);
  }
}

void TlsTestServer::handle(int fd) {
  SSL* ssl = SSL_new(static_cast<SSL_CTX*>(ctx_));
  if (ssl == nullptr) return;
  SSL_set_fd(ssl, fd);
  auto finish = [&] {
    SSL_shutdown(ssl);
    SSL_free(ssl);
  };
  if (ssl_io(ssl, fd, stop_fd_, [&] { return SSL_accept(ssl); }) <= 0) {
    // The client refused the certificate, or went.
    SSL_free(ssl);
    return;
  }
  // The request: headers up to the blank line, then as many body bytes as they announce.
  std::string data;
  size_t header_end = std::string::npos;
  size_t wanted = 0;
  char chunk[4096];
  while (data.size() < kMaxRequestBytes) {
    if (header_end != std::string::npos && data.size() >= header_end + 4 + wanted) break;
    const int n = ssl_io(ssl, fd, stop_fd_, [&] { return SSL_read(ssl, chunk, sizeof chunk); });
    if (n <= 0) return finish();
    data.append(chunk, static_cast<size_t>(n));
    if (header_end == std::string::npos) {
      header_end = data.find("\r\n\r\n");
      if (header_end == std::string::npos) continue;
      const std::string head = lower(data.substr(0, header_end));
      const size_t cl = head.find("\r\ncontent-length:");
      if (cl != std::string::npos) wanted = std::strtoul(head.c_str() + cl + 17, nullptr, 10);
    }
  }
  Request request;
  const std::string head = data.substr(0, header_end);
  const size_t first_line = head.find("\r\n");
  const std::string line = head.substr(0, first_line);
  const size_t sp1 = line.find(' ');
  const size_t sp2 = line.find(' ', sp1 + 1);
  request.method = line.substr(0, sp1);
  request.target = line.substr(sp1 + 1, sp2 - sp1 - 1);
  size_t pos = first_line == std::string::npos ? head.size() : first_line + 2;
  while (pos < head.size()) {
    size_t end = head.find("\r\n", pos);
    if (end == std::string::npos) end = head.size();
    const std::string header = head.substr(pos, end - pos);
    const size_t colon = header.find(':');
    if (colon != std::string::npos) {
      std::string value = header.substr(colon + 1);
      value.erase(0, value.find_first_not_of(' '));
      request.headers[lower(header.substr(0, colon))] = value;
    }
    pos = end + 2;
  }
  request.body = data.substr(header_end + 4, wanted);
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  const Reply reply = handler_(request);
  std::string response = "HTTP/1.1 " + std::to_string(reply.status) + " " + status_text(reply.status) +
                         "\r\nContent-Type: application/json\r\nConnection: close\r\n";
  switch (reply.behaviour) {
    case Behaviour::Reply:
      response += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n\r\n" + reply.body;
      write_all(ssl, fd, stop_fd_, response);
      break;
    case Behaviour::Stall: {
      response += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n\r\n" +
                  reply.body.substr(0, reply.body.size() / 2);
      if (!write_all(ssl, fd, stop_fd_, response)) break;
      // Until the client gives up: its close ends the read.
      char ignored[256];
      while (ssl_io(ssl, fd, stop_fd_, [&] { return SSL_read(ssl, ignored, sizeof ignored); }, -1) > 0) {
      }
      break;
    }
    case Behaviour::Trickle:
      response += "\r\n";
      if (!write_all(ssl, fd, stop_fd_, response)) break;
      while (!stopping_ && write_all(ssl, fd, stop_fd_, " ")) {
        pollfd wait{stop_fd_, POLLIN, 0};
        if (poll(&wait, 1, kTrickleEveryMs) != 0) break;
      }
      break;
  }
  finish();
}

}  // namespace qxr::testing

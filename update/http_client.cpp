#include "update/http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <mutex>

#include "core/debug_line.h"

namespace qxr::update {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kContentTypeHeader[] = "Content-Type: application/x-www-form-urlencoded";
constexpr char kAcceptHeader[] = "Accept:application/prs.Kelto.v1+json";
// No "Expect: 100-continue" round trip for the small bodies sent here.
constexpr char kNoExpectHeader[] = "Expect:";
constexpr char kAllowedProtocols[] = "http,https";
constexpr int kLongestWaitMs = 1000;

struct CurlError {
  CURLcode code;
  uint32_t error;
};

constexpr CurlError kCurlErrors[] = {
    {CURLE_OUT_OF_MEMORY, kErrorNotEnoughMemory},
    {CURLE_UNSUPPORTED_PROTOCOL, kErrorUnrecognizedScheme},
    {CURLE_URL_MALFORMAT, kErrorInvalidUrl},
    {CURLE_COULDNT_RESOLVE_PROXY, kErrorNameNotResolved},
    {CURLE_COULDNT_RESOLVE_HOST, kErrorNameNotResolved},
    {CURLE_COULDNT_CONNECT, kErrorCannotConnect},
    {CURLE_OPERATION_TIMEDOUT, kErrorTimeout},
    {CURLE_WRITE_ERROR, kErrorInsufficientBuffer},
    {CURLE_ABORTED_BY_CALLBACK, kErrorOperationAborted},
    {CURLE_WEIRD_SERVER_REPLY, kErrorInvalidServerResponse},
    {CURLE_GOT_NOTHING, kErrorInvalidServerResponse},
    {CURLE_SSL_CONNECT_ERROR, kErrorSecureFailure},
    {CURLE_PEER_FAILED_VERIFICATION, kErrorSecureFailure},
    {CURLE_SSL_CERTPROBLEM, kErrorSecureFailure},
    {CURLE_SSL_CIPHER, kErrorSecureFailure},
    {CURLE_SSL_CACERT_BADFILE, kErrorSecureFailure},
    {CURLE_SSL_ISSUER_ERROR, kErrorSecureFailure},
    {CURLE_SSL_INVALIDCERTSTATUS, kErrorSecureFailure},
};

uint32_t error_of(CURLcode code) {
  for (const CurlError& e : kCurlErrors) {
    if (e.code == code) return e.error;
  }
  return kErrorConnectionError;
}

void init_curl_once() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

// Checks scheme and the lengths of host and path; the error to report, or kErrorNone.
uint32_t check_url(const std::string& url) {
  std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> parts(curl_url(), curl_url_cleanup);
  if (!parts) return kErrorNotEnoughMemory;
  if (curl_url_set(parts.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return kErrorInvalidUrl;
  auto part = [&](CURLUPart which) {
    char* text = nullptr;
    std::string value;
    if (curl_url_get(parts.get(), which, &text, 0) == CURLUE_OK && text != nullptr) value = text;
    curl_free(text);
    return value;
  };
  const std::string scheme = part(CURLUPART_SCHEME);
  if (scheme != "http" && scheme != "https") return kErrorUnrecognizedScheme;
  const std::string host = part(CURLUPART_HOST);
  if (host.empty() || host.size() > kMaxHostLength) return kErrorInvalidUrl;
  if (part(CURLUPART_PATH).size() + part(CURLUPART_QUERY).size() > kMaxPathLength) return kErrorInvalidUrl;
  return kErrorNone;
}

struct ReplyBuffer {
  std::span<char> out;
  size_t used = 0;
  bool overflow = false;
};

size_t on_data(char* data, size_t size, size_t count, void* user) {
  auto* reply = static_cast<ReplyBuffer*>(user);
  const size_t n = size * count;
  const size_t room = reply->out.size() - reply->used;
  const size_t take = std::min(n, room);
  if (take > 0) std::memcpy(reply->out.data() + reply->used, data, take);
  reply->used += take;
  if (take < n) {
    reply->overflow = true;
    return 0;  // ends the transfer
  }
  return n;
}

void fill_no_link(std::span<char> response) {
  const size_t n = std::min(response.size(), std::strlen(kNoLinkServer));
  std::memcpy(response.data(), kNoLinkServer, n);
  if (n < response.size()) response[n] = '\0';
}

// Why the transfer loop ended before curl did.
enum class Abort { None, Stopped, Deadline, Idle };

class Transfer {
 public:
  Transfer(CURL* easy, const HttpSettings& settings, size_t body_size, const HttpCancel& cancel)
      : easy_(easy), settings_(settings), body_size_(body_size), cancel_(cancel), multi_(curl_multi_init()) {}
  ~Transfer() {
    if (multi_ == nullptr) return;
    if (added_) curl_multi_remove_handle(multi_, easy_);
    curl_multi_cleanup(multi_);
  }

  // The transfer's own result, or what ended it early.
  CURLcode run(Abort& abort) {
    abort = Abort::None;
    if (multi_ == nullptr || curl_multi_add_handle(multi_, easy_) != CURLM_OK) return CURLE_OUT_OF_MEMORY;
    added_ = true;
    last_activity_ = Clock::now();
    for (;;) {
      int running = 0;
      if (curl_multi_perform(multi_, &running) != CURLM_OK) return CURLE_FAILED_INIT;
      if (running == 0) break;
      abort = check_limits();
      if (abort != Abort::None) return CURLE_OK;
      curl_waitfd stop_fd{};
      unsigned int extra = 0;
      if (cancel_.stop != nullptr) {
        stop_fd.fd = cancel_.stop->fd();
        stop_fd.events = CURL_WAIT_POLLIN;
        extra = 1;
      }
      curl_multi_poll(multi_, extra > 0 ? &stop_fd : nullptr, extra, wait_ms(), nullptr);
    }
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi_, &left)) {
      if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy_) return msg->data.result;
    }
    return CURLE_FAILED_INIT;
  }

 private:
  Abort check_limits() {
    if (cancel_.stop != nullptr && cancel_.stop->is_set()) return Abort::Stopped;
    const Clock::time_point now = Clock::now();
    if (now >= cancel_.deadline) return Abort::Deadline;
    curl_off_t pretransfer = 0, up = 0, down = 0;
    long header_bytes = 0;
    curl_easy_getinfo(easy_, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
    curl_easy_getinfo(easy_, CURLINFO_SIZE_UPLOAD_T, &up);
    curl_easy_getinfo(easy_, CURLINFO_SIZE_DOWNLOAD_T, &down);
    curl_easy_getinfo(easy_, CURLINFO_HEADER_SIZE, &header_bytes);
    // Until the connection stands, curl's connect timeout applies.
    if (pretransfer <= 0) return Abort::None;
    const long long moved = static_cast<long long>(up) + static_cast<long long>(down) + header_bytes;
    if (!connected_ || moved != moved_) {
      connected_ = true;
      moved_ = moved;
      last_activity_ = now;
    }
    sending_ = static_cast<size_t>(up) < body_size_;
    const int idle_limit = sending_ ? settings_.send_timeout_ms : settings_.receive_timeout_ms;
    if (idle_limit > 0 && now - last_activity_ >= std::chrono::milliseconds(idle_limit)) return Abort::Idle;
    return Abort::None;
  }

  int wait_ms() const {
    const Clock::time_point now = Clock::now();
    auto until = [&](Clock::time_point t) {
      if (t <= now) return 0LL;
      return static_cast<long long>(std::chrono::ceil<std::chrono::milliseconds>(t - now).count());
    };
    long long wait = kLongestWaitMs;
    if (cancel_.deadline != Clock::time_point::max()) wait = std::min(wait, until(cancel_.deadline));
    const int idle_limit = sending_ ? settings_.send_timeout_ms : settings_.receive_timeout_ms;
    if (connected_ && idle_limit > 0) wait = std::min(wait, until(last_activity_ + std::chrono::milliseconds(idle_limit)));
    return static_cast<int>(std::max(wait, 1LL));
  }

  CURL* easy_;
  const HttpSettings& settings_;
  size_t body_size_;
  const HttpCancel& cancel_;
  CURLM* multi_;
  bool added_ = false;
  bool connected_ = false;
  bool sending_ = true;
  long long moved_ = 0;
  Clock::time_point last_activity_;
};

struct HeaderList {
  curl_slist* list = nullptr;
  ~HeaderList() { curl_slist_free_all(list); }
  bool add(const char* line) {
    curl_slist* grown = curl_slist_append(list, line);
    if (grown == nullptr) return false;
    list = grown;
    return true;
  }
};

}  // namespace

int64_t HttpRequest(HttpSettings& settings, std::string_view method, std::string_view url, std::span<const char> body,
                    std::span<char> response, bool use_configured_proxy, const HttpCancel& cancel) {
  settings.last_error = kErrorNone;
  settings.last_status = 0;
  if (url.empty()) {
    settings.last_error = kErrorPathNotFound;
    return -1;
  }
  const bool post = equal_ignoring_case(method, "POST");
  if (!post && !equal_ignoring_case(method, "GET")) {
    settings.last_error = kErrorInvalidParameter;
    return -1;
  }
  init_curl_once();
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy(curl_easy_init(), curl_easy_cleanup);
  if (!easy) {
    settings.last_error = kErrorNotEnoughMemory;
    return -1;
  }

  const std::string target(url);
  auto not_sent = [&](uint32_t error) {
    settings.last_error = error;
    fill_no_link(response);
    return int64_t{0};
  };
  if (const uint32_t error = check_url(target); error != kErrorNone) return not_sent(error);
  if (use_configured_proxy && (settings.proxy_server.size() > kMaxProxyTextLength ||
                               settings.proxy_user.size() > kMaxProxyTextLength ||
                               settings.proxy_password.size() > kMaxProxyTextLength)) {
    return not_sent(kErrorInvalidParameter);
  }

  CURL* e = easy.get();
  HeaderList headers;
  ReplyBuffer reply{response};
  bool set = headers.add(kContentTypeHeader) && headers.add(kAcceptHeader) && headers.add(kNoExpectHeader);
  set = set && curl_easy_setopt(e, CURLOPT_URL, target.c_str()) == CURLE_OK &&
        curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, kAllowedProtocols) == CURLE_OK &&
        curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
        // A stop must not wait for a name lookup that hangs.
        curl_easy_setopt(e, CURLOPT_QUICK_EXIT, 1L) == CURLE_OK &&
        curl_easy_setopt(e, CURLOPT_USERAGENT, settings.user_agent.c_str()) == CURLE_OK &&
        curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L) == CURLE_OK &&
        curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L) == CURLE_OK &&
        curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings.connect_timeout_ms)) == CURLE_OK &&
        curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers.list) == CURLE_OK &&
        curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, on_data) == CURLE_OK &&
        curl_easy_setopt(e, CURLOPT_WRITEDATA, &reply) == CURLE_OK;
  if (set && !settings.ca_file.empty()) {
    // The given certificates replace the system's store.
    set = curl_easy_setopt(e, CURLOPT_CAINFO, settings.ca_file.c_str()) == CURLE_OK &&
          curl_easy_setopt(e, CURLOPT_CAPATH, static_cast<char*>(nullptr)) == CURLE_OK;
  }
  if (set && (post || !body.empty())) {
    if (!post) set = curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, "GET") == CURLE_OK;
    set = set && curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size())) == CURLE_OK &&
          curl_easy_setopt(e, CURLOPT_POSTFIELDS, body.data()) == CURLE_OK;
  } else if (set) {
    set = curl_easy_setopt(e, CURLOPT_HTTPGET, 1L) == CURLE_OK;
  }
  if (set && use_configured_proxy) {
    set = curl_easy_setopt(e, CURLOPT_PROXY, settings.proxy_server.c_str()) == CURLE_OK;
    if (set && !settings.proxy_user.empty()) {
      set = curl_easy_setopt(e, CURLOPT_PROXYUSERNAME, settings.proxy_user.c_str()) == CURLE_OK;
      if (set && !settings.proxy_password.empty()) {
        set = curl_easy_setopt(e, CURLOPT_PROXYPASSWORD, settings.proxy_password.c_str()) == CURLE_OK;
      }
    }
  }
  if (!set) return not_sent(kErrorInternal);

  Abort abort = Abort::None;
  CURLcode result;
  {
    Transfer transfer(e, settings, body.size(), cancel);
    result = transfer.run(abort);
  }
  long status = 0;
  curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
  settings.last_status = static_cast<int>(status);
  uint32_t error = kErrorNone;
  switch (abort) {
    case Abort::Stopped:
      error = kErrorOperationAborted;
      break;
    case Abort::Deadline:
    case Abort::Idle:
      error = kErrorTimeout;
      break;
    case Abort::None:
      if (reply.overflow) {
        error = kErrorInsufficientBuffer;
      } else if (result != CURLE_OK) {
        error = error_of(result);
      }
      break;
  }
  if (error != kErrorNone) debug_fmt("update request: error {} (curl {}), HTTP {}", error, static_cast<int>(result), status);
  // No reply at all: the request never reached a server.
  if (status == 0 && reply.used == 0) return not_sent(error == kErrorNone ? kErrorConnectionError : error);
  settings.last_error = error;
  return static_cast<int64_t>(reply.used);
}

}  // namespace qxr::update

#pragma once
// A small synchronous HTTP(S) client for the update check, over libcurl. It runs on the
// settings window's worker thread, never on the UI thread. Server certificates are always
// verified; proxies come from the usual environment variables (http_proxy, https_proxy,
// no_proxy) unless the configured proxy is asked for.
#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/stop_event.h"

namespace qxr::update {

// What the response buffer starts with when no request could be sent.
inline constexpr char kNoLinkServer[] = "NO_LINK_SERVER";

// Last-error values: the error numbers the update server's own clients report.
inline constexpr uint32_t kErrorNone = 0;
inline constexpr uint32_t kErrorPathNotFound = 3;         // empty URL
inline constexpr uint32_t kErrorNotEnoughMemory = 8;
inline constexpr uint32_t kErrorInvalidParameter = 87;    // a method other than GET or POST
inline constexpr uint32_t kErrorInsufficientBuffer = 122;  // the reply does not fit the buffer
inline constexpr uint32_t kErrorOperationAborted = 995;   // stopped
inline constexpr uint32_t kErrorTimeout = 12002;
inline constexpr uint32_t kErrorInternal = 12004;
inline constexpr uint32_t kErrorInvalidUrl = 12005;
inline constexpr uint32_t kErrorUnrecognizedScheme = 12006;
inline constexpr uint32_t kErrorNameNotResolved = 12007;
inline constexpr uint32_t kErrorCannotConnect = 12029;
inline constexpr uint32_t kErrorConnectionError = 12030;
inline constexpr uint32_t kErrorInvalidServerResponse = 12152;
inline constexpr uint32_t kErrorSecureFailure = 12175;

// URL parts longer than these are refused.
inline constexpr size_t kMaxHostLength = 260;
inline constexpr size_t kMaxPathLength = 1300;
inline constexpr size_t kMaxProxyTextLength = 260;

struct HttpSettings {
  std::string user_agent = "WinHTTP Client/1.0";
  // Used only when a request asks for the configured proxy.
  std::string proxy_server;
  std::string proxy_user;
  std::string proxy_password;
  // Certificates to trust instead of the system's store; empty: the system's store.
  std::string ca_file;
  // Time limits in ms; 0 is no limit. Send and receive limit how long the transfer may stand
  // still in that direction.
  int connect_timeout_ms = 60000;
  int send_timeout_ms = 30000;
  int receive_timeout_ms = 30000;
  // Outcome of the last request.
  uint32_t last_error = kErrorNone;
  int last_status = 0;  // the reply's HTTP status; 0 when no reply came
};

// Ends a request early: the stop event (checked while waiting) and a deadline for the request.
struct HttpCancel {
  const StopEvent* stop = nullptr;
  std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
};

// Sends body with method ("GET" or "POST", in any case) to url and reads the reply into
// response, never beyond its size. Returns the number of reply bytes, or -1 for an empty URL
// (last error 3), another method (87) or a client that cannot be made; no traffic happens in
// those cases. When no request could be sent, response starts with "NO_LINK_SERVER" and the
// result is 0. A reply larger than response, a time limit, a stop or a broken transfer leave
// the bytes read so far and set the last error.
int64_t HttpRequest(HttpSettings& settings, std::string_view method, std::string_view url, std::span<const char> body,
                    std::span<char> response, bool use_configured_proxy, const HttpCancel& cancel = {});

}  // namespace qxr::update

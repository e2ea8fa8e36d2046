#pragma once
// The one request the program makes to the update server: the newest version for one
// product key, compared with the installed version.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "update/http_client.h"

namespace qxr::update {

// The status of an update request; 1 and 7 are also the states of the update rows.
inline constexpr int kUpdateFailed = 0;   // no usable reply: the server could not be asked
inline constexpr int kUpdateNewer = 1;    // the server offers a newer version
inline constexpr int kUpdateCurrent = 7;  // nothing newer (also: a reply that says nothing usable)

// Replies longer than this are a failed check.
inline constexpr size_t kUpdateReplyBytes = 102400;
inline constexpr char kUpdatesPath[] = "updates";

struct UpdateInfo {
  int status = kUpdateFailed;
  int device_id = 0;
  std::string name;
  std::string local_version;   // "V%04x" (hexadecimal versions) or "V%d"
  std::string version_name;
  std::string remote_version;  // "V" + "version"; the version name with decimal versions
  std::string path;            // where the offered version can be downloaded
};

// The update server: its base URL (ending in "/api/") and the client settings every request
// starts from.
struct UpdateServer {
  std::string base_url;
  HttpSettings client;
};

// "app_key=<key>&version=<%x or %d>" followed by a zero byte, as the server reads it. The key is
// URL-encoded (the product keys are letters, digits and underscores and stay as they are).
std::string UpdateRequestBody(std::string_view product_key, uint32_t local_version, bool hex_versions);

// Asks the server; settings are reset to server.client first. A transfer that fails, ends early
// or brings an HTTP status other than 2xx is a failed check (name "NO_LINK_SERVER").
UpdateInfo RequestUpdateInfo(HttpSettings& settings, const UpdateServer& server, std::string_view product_key,
                             uint32_t local_version, bool hex_versions, const HttpCancel& cancel = {});

// Reads a reply the server sent. Text that is not JSON, and a "version" that is not a number in
// the versions' base, give "nothing newer".
UpdateInfo ParseUpdateReply(std::string_view reply, uint32_t local_version, bool hex_versions);

// A whole text of digits of base 16 or 10 that fits 32 bits; nothing otherwise.
std::optional<uint32_t> ParseVersionNumber(std::string_view text, bool hex_versions);

// The program's version as the server compares it: the dotted version with its dots removed,
// read as a decimal number (1.0.2 -> 102, 2.1.10 -> 2110); 0 when that is not a number.
uint32_t InstalledVersionNumber(std::string_view dotted_version);

}  // namespace qxr::update

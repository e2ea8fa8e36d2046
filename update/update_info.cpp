#include "update/update_info.h"

#include <fmt/format.h>

#include <vector>

#include "core/whole_number.h"
#include "profile/update_files.h"

namespace qxr::update {
namespace {

constexpr int kHttpOkFirst = 200;
constexpr int kHttpOkLast = 299;

bool unreserved(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == '.' || c == '~';
}

std::string url_encoded(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (unreserved(c)) {
      out.push_back(c);
    } else {
      out += fmt::format("%{:02X}", static_cast<unsigned char>(c));
    }
  }
  return out;
}

std::string local_version_text(uint32_t version, bool hex_versions) {
  return hex_versions ? fmt::format("V{:04x}", version) : fmt::format("V{}", version);
}

}  // namespace

std::string UpdateRequestBody(std::string_view product_key, uint32_t local_version, bool hex_versions) {
  std::string body = "app_key=" + url_encoded(product_key);
  body += hex_versions ? fmt::format("&version={:x}", local_version) : fmt::format("&version={}", local_version);
  // The server reads the text with its terminating zero.
  body.push_back('\0');
  return body;
}

std::optional<uint32_t> ParseVersionNumber(std::string_view text, bool hex_versions) {
  return whole_number<uint32_t>(text, hex_versions ? 16 : 10);
}

uint32_t InstalledVersionNumber(std::string_view dotted_version) {
  std::string digits;
  for (char c : dotted_version) {
    if (c != '.') digits.push_back(c);
  }
  return ParseVersionNumber(digits, false).value_or(0);
}

UpdateInfo ParseUpdateReply(std::string_view reply, uint32_t local_version, bool hex_versions) {
  UpdateInfo info;
  info.status = kUpdateCurrent;
  const std::optional<UpdateReplyFields> fields = ParseUpdateReplyFields(reply);
  if (!fields) return info;
  info.path = fields->path;
  info.name = fields->name;
  info.version_name = fields->version_name;
  info.remote_version = hex_versions ? "V" + fields->version : fields->version_name;
  info.device_id = fields->device_id;
  info.local_version = local_version_text(local_version, hex_versions);
  const std::optional<uint32_t> remote = ParseVersionNumber(fields->version, hex_versions);
  if (remote && local_version < *remote) info.status = kUpdateNewer;
  return info;
}

UpdateInfo RequestUpdateInfo(HttpSettings& settings, const UpdateServer& server, std::string_view product_key,
                             uint32_t local_version, bool hex_versions, const HttpCancel& cancel) {
  settings = server.client;
  std::string url = server.base_url;
  // "https://host/api" is taken to mean "https://host/api/".
  if (!url.empty() && url.back() != '/') url.push_back('/');
  url += kUpdatesPath;
  const std::string body = UpdateRequestBody(product_key, local_version, hex_versions);
  std::vector<char> buffer(kUpdateReplyBytes);
  const int64_t received = HttpRequest(settings, "POST", url, body, buffer, false, cancel);
  const bool ok = received >= 0 && settings.last_error == kErrorNone && settings.last_status >= kHttpOkFirst &&
                  settings.last_status <= kHttpOkLast;
  if (!ok) {
    UpdateInfo failed;
    failed.name = kNoLinkServer;
    return failed;
  }
  return ParseUpdateReply(std::string_view(buffer.data(), static_cast<size_t>(received)), local_version, hex_versions);
}

}  // namespace qxr::update

#include "profile/update_files.h"

#include <fmt/format.h>

#include <ctime>

#include "core/whole_number.h"
#include "profile/data_paths.h"
#include "profile/json_access.h"
#include "profile/json_file.h"

namespace qxr {
namespace {

constexpr char kLastTime[] = "updatelasttime";
constexpr char kValue[] = "value";

constexpr char kServer[] = "Server";
constexpr char kCaFile[] = "CaFile";
constexpr char kModelCode[] = "ModelCode";
constexpr char kFirmware[] = "Firmware";
constexpr char kKind[] = "Kind";
constexpr char kProductCode[] = "ProductCode";
constexpr char kDisplayName[] = "DisplayName";
constexpr char kVersion[] = "Version";

// Members of the update server's reply.
constexpr char kReplyPath[] = "path";
constexpr char kReplyName[] = "name";
constexpr char kReplyVersionName[] = "version_name";
constexpr char kReplyVersion[] = "version";
constexpr char kReplyDeviceId[] = "device_id";

constexpr int kFirstFirmwareKind = 1;
constexpr int kLastFirmwareKind = 2;

uint32_t firmware_version(const Json::Value& v) {
  if (v.isString()) {
    return whole_number<uint32_t>(v.asString(), 16).value_or(0);
  }
  const int32_t n = ToInt(v, 0);
  return n > 0 ? static_cast<uint32_t>(n) : 0;
}

}  // namespace

CalendarDate TodayLocal() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string FormatUpdateDate(const CalendarDate& date) {
  return fmt::format("{}-{}-{}", date.year, date.month, date.day);
}

std::string UpdateTimePath() { return UserDataRoot() + kUpdateTimeFile; }

std::string ReadUpdateTime(const std::string& path) {
  return ToString(Member(Member(ReadJsonFile(path), kLastTime), kValue));
}

bool WriteUpdateTime(const std::string& path, const std::string& date_text) {
  JsonFileForUpdate file = ReadJsonFileForUpdate(path);
  if (!file.CanOverwrite()) return false;
  Json::Value document = file.state == JsonFileState::kReadable ? std::move(file.document) : Json::Value(Json::objectValue);
  WritableMember(WritableMember(document, kLastTime), kValue) = date_text;
  return WriteJsonFile(path, document);
}

UpdateConfig ParseUpdateConfig(const std::string& json_text) {
  const Json::Value root = ParseJsonText(json_text);
  UpdateConfig config;
  config.server = ToString(Member(root, kServer));
  config.ca_file = ToString(Member(root, kCaFile));
  config.model_code = ToString(Member(root, kModelCode));
  const Json::Value& list = Member(root, kFirmware);
  if (!list.isArray()) return config;
  for (const Json::Value& item : list) {
    FirmwareConfigEntry e;
    e.kind = ToInt(Member(item, kKind), 0);
    e.product_code = ToString(Member(item, kProductCode));
    e.model_code = ToString(Member(item, kModelCode));
    e.display_name = ToString(Member(item, kDisplayName));
    e.version = firmware_version(Member(item, kVersion));
    if (e.kind < kFirstFirmwareKind || e.kind > kLastFirmwareKind || e.product_code.empty()) continue;
    config.firmware.push_back(std::move(e));
  }
  return config;
}

UpdateConfig ReadUpdateConfig(const std::string& path) { return ParseUpdateConfig(ReadFileText(path)); }

std::optional<UpdateReplyFields> ParseUpdateReplyFields(std::string_view reply) {
  const Json::Value root = ParseJsonText(std::string(reply));
  if (!root.isObject()) return std::nullopt;
  UpdateReplyFields fields;
  fields.path = ToString(Member(root, kReplyPath));
  fields.name = ToString(Member(root, kReplyName));
  fields.version_name = ToString(Member(root, kReplyVersionName));
  fields.version = ToString(Member(root, kReplyVersion));
  fields.device_id = ToInt(Member(root, kReplyDeviceId), 0);
  return fields;
}

}  // namespace qxr

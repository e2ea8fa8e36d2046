#pragma once
// The update check's files: "updatetime.config" (the date of the last update check, in the
// user's data folder) and "update.config" (the update server and the firmware the program looks
// after, beside the user's settings file). Without an "update.config" naming a server there are
// no update checks at all.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qxr {

inline constexpr char kUpdateTimeFile[] = "updatetime.config";
inline constexpr char kUpdateConfigFile[] = "update.config";

struct CalendarDate {
  int year = 0;
  int month = 0;  // 1-12
  int day = 0;    // 1-31
};

// Today in local time.
CalendarDate TodayLocal();
// "%d-%d-%d": year, month and day without leading zeros (2024-3-7).
std::string FormatUpdateDate(const CalendarDate& date);

// <user data root>/updatetime.config
std::string UpdateTimePath();
// The stored date text ("updatelasttime"."value"); empty when the file holds none.
std::string ReadUpdateTime(const std::string& path);
// Stores the date text, keeping whatever else the file holds. False when it was not written.
bool WriteUpdateTime(const std::string& path, const std::string& date_text);

// One firmware the program asks about: the maker's codes and the installed version.
struct FirmwareConfigEntry {
  int kind = 1;  // 1 or 2
  std::string product_code;
  std::string model_code;
  std::string display_name;
  uint32_t version = 0;  // 0: not known
};

struct UpdateConfig {
  std::string server;       // the base URL, ending in "/api/"; empty: no update checks
  std::string ca_file;      // certificates to trust instead of the system's; empty: the system's
  std::string model_code;   // the model code of the program's own entry
  std::vector<FirmwareConfigEntry> firmware;
};

// Members missing or of the wrong type read as empty; entries without a product code and
// kinds other than 1 and 2 are skipped. "Version" is a number or a hexadecimal text ("0104").
UpdateConfig ReadUpdateConfig(const std::string& path);
UpdateConfig ParseUpdateConfig(const std::string& json_text);

// The members of the update server's reply; nullopt when the reply is not a JSON object.
struct UpdateReplyFields {
  std::string path;
  std::string name;
  std::string version_name;
  std::string version;
  int device_id = 0;
};
std::optional<UpdateReplyFields> ParseUpdateReplyFields(std::string_view reply);

}  // namespace qxr

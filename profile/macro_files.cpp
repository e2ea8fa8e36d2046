#include "profile/macro_files.h"

#include <algorithm>
#include <charconv>

#include "profile/json_access.h"
#include "profile/json_file.h"

namespace qxr {

namespace {

constexpr const char* kRecoilFilePrefix = "ShootData_";
constexpr const char* kRecoilFileExtension = ".Shoot";

uint32_t clamp_delay(int64_t v) {
  if (v < 0) return 0;
  return v > kMaxMacroDelayMs ? kMaxMacroDelayMs : static_cast<uint32_t>(v);
}

uint32_t delay_of(const Json::Value& v) {
  if (v.isString()) {
    std::string s = v.asString();
    uint64_t n = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (ec == std::errc::result_out_of_range) return kMaxMacroDelayMs;
    if (ec != std::errc() || end == s.data()) return 0;
    return n > kMaxMacroDelayMs ? kMaxMacroDelayMs : static_cast<uint32_t>(n);
  }
  if (v.isIntegral()) return v.isInt64() ? clamp_delay(v.asInt64()) : kMaxMacroDelayMs;
  if (v.isDouble()) {
    double d = v.asDouble();
    if (!(d >= 0)) return 0;
    return d >= kMaxMacroDelayMs ? kMaxMacroDelayMs : static_cast<uint32_t>(d);
  }
  return 0;
}

// The low byte of an integer member; anything else is 0.
uint8_t low_byte_of(const Json::Value& v) {
  if (v.isInt64()) return static_cast<uint8_t>(v.asInt64() & 0xFF);
  if (v.isUInt64()) return static_cast<uint8_t>(v.asUInt64() & 0xFF);
  return 0;
}

// A file stem that stays inside the device folder.
bool safe_file_stem(const std::string& stem) {
  return !stem.empty() && stem.find('/') == std::string::npos && stem != "." && stem != "..";
}

// Event types a macro file may hold: mouse buttons (1, and 2 and 3 kept as found), moves (4, 5),
// modifier keys (9) and keys (10).
constexpr int64_t kEventTypes[] = {1, 2, 3, 4, 5, 9, 10};
bool known_event_type(int64_t type) { return std::find(std::begin(kEventTypes), std::end(kEventTypes), type) != std::end(kEventTypes); }

// A delay as stored: an integer or decimal text, 0-65535.
bool valid_delay(const Json::Value& v) {
  if (v.isIntegral()) return v.isInt64() && v.asInt64() >= 0 && v.asInt64() <= kMaxMacroDelayMs;
  if (!v.isString()) return false;
  const std::string s = v.asString();
  uint32_t n = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
  return ec == std::errc() && end == s.data() + s.size() && !s.empty() && n <= kMaxMacroDelayMs;
}

bool valid_event(const Json::Value& e) {
  if (!e.isObject()) return false;
  const Json::Value& action = e["Action"];
  const Json::Value& type = e["Type"];
  const Json::Value& button = e["Button"];
  return action.isString() && (action.asString() == "down" || action.asString() == "up") && type.isInt64() &&
         known_event_type(type.asInt64()) && button.isInt64() && button.asInt64() >= 0 && button.asInt64() <= 0xFF &&
         valid_delay(e["Delay"]);
}

Json::Value event_json(const MacroEvent& e) {
  Json::Value v(Json::objectValue);
  v["Action"] = e.down ? "down" : "up";
  v["Button"] = e.button;
  v["Type"] = e.type;
  v["Delay"] = std::to_string(e.delay_ms);
  return v;
}

}  // namespace

std::optional<std::vector<MacroEntry>> ReadMacroList(const std::string& config_path) {
  const Json::Value config = ReadJsonFile(config_path);
  if (config.isNull()) return std::nullopt;
  std::vector<MacroEntry> entries;
  const Json::Value& list = Member(config, "MacroInfo");
  if (!list.isArray()) return entries;
  entries.reserve(list.size());
  for (const Json::Value& e : list) entries.push_back({ToString(Member(e, "MacroName")), ToString(Member(e, "Guid"))});
  return entries;
}

bool WriteMacroList(const std::string& config_path, const std::vector<MacroEntry>& entries) {
  JsonFileForUpdate file = ReadJsonFileForUpdate(config_path);
  if (!file.CanOverwrite()) return false;
  Json::Value document = file.state == JsonFileState::kReadable ? file.document : Json::Value(Json::objectValue);
  Json::Value list(Json::arrayValue);
  for (const MacroEntry& e : entries) {
    Json::Value item(Json::objectValue);
    item["MacroName"] = e.name;
    item["Guid"] = e.guid;
    list.append(item);
  }
  document["MacroInfo"] = list;
  return WriteJsonFile(config_path, document);
}

std::optional<MacroFile> ReadMacroFile(const std::string& path) {
  const Json::Value document = ReadJsonFile(path);
  if (!document.isObject()) return std::nullopt;
  return MacroFile{ToString(Member(document, "MacroName")), ToString(Member(document, "Guid")),
                   MacroEventsFromDocument(document)};
}

bool WriteMacroFile(const std::string& path, const MacroFile& macro) {
  const JsonFileForUpdate file = ReadJsonFileForUpdate(path);
  if (!file.CanOverwrite()) return false;
  Json::Value document(Json::objectValue);
  document["MacroName"] = macro.name;
  document["Guid"] = macro.guid;
  Json::Value events(Json::arrayValue);
  for (const MacroEvent& e : macro.events) events.append(event_json(e));
  document["Events"] = events;
  document["Version"] = kMacroFileVersion;
  return WriteJsonFile(path, document);
}

MacroImport CheckMacroImport(const std::string& path) { return CheckMacroImportText(ReadFileText(path)); }

MacroImport CheckMacroImportText(const std::string& text) {
  MacroImport result;
  const Json::Value document = ParseJsonText(text);
  if (document.isNull()) return result;
  const Json::Value& events = Member(document, "Events");
  if (!document.isObject() || !events.isArray()) {
    result.check = MacroImportCheck::kNotAMacro;
    return result;
  }
  if (events.size() > kMaxMacroEvents) {
    result.check = MacroImportCheck::kTooManyEvents;
    return result;
  }
  for (const Json::Value& e : events) {
    if (!valid_event(e)) {
      result.check = MacroImportCheck::kBadEvent;
      return result;
    }
  }
  result.check = MacroImportCheck::kOk;
  result.events = MacroEventsFromDocument(document);
  return result;
}

std::string MacroFilePath(const std::string& folder, const MacroEntry& entry) {
  return safe_file_stem(entry.guid) ? folder + entry.guid + kMacroFileExtension : std::string();
}

MacroEvent MacroEventFromJson(const Json::Value& event) {
  MacroEvent e;
  if (!event.isObject()) return e;
  const Json::Value& action = event["Action"];
  e.down = action.isString() && action.asString() == "down";
  e.type = low_byte_of(event["Type"]);
  e.button = low_byte_of(event["Button"]);
  e.delay_ms = static_cast<uint16_t>(delay_of(event["Delay"]));
  return e;
}

std::vector<MacroEvent> MacroEventsFromDocument(const Json::Value& document) {
  std::vector<MacroEvent> events;
  if (!document.isObject()) return events;
  const Json::Value& list = document["Events"];
  if (!list.isArray()) return events;
  events.reserve(list.size());
  for (const Json::Value& e : list) events.push_back(MacroEventFromJson(e));
  return events;
}

std::vector<MacroEvent> ReadMacroEvents(const std::string& path) {
  return path.empty() ? std::vector<MacroEvent>{} : MacroEventsFromDocument(ReadJsonFile(path));
}

std::string RecoilScriptPath(const std::string& folder, size_t script) {
  return folder + kRecoilFilePrefix + std::to_string(script) + kRecoilFileExtension;
}

std::vector<std::vector<MacroEvent>> ReadRecoilScripts(const std::string& folder) {
  std::vector<std::vector<MacroEvent>> scripts;
  scripts.reserve(kRecoilScriptCount);
  for (size_t i = 0; i < kRecoilScriptCount; ++i) scripts.push_back(ReadMacroEvents(RecoilScriptPath(folder, i)));
  return scripts;
}

}  // namespace qxr

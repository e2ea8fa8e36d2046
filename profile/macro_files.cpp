#include "profile/macro_files.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <span>

#include "core/whole_number.h"
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

constexpr int64_t kEventMouseButton = 1;
constexpr int64_t kEventMoveX = 4;
constexpr int64_t kEventMoveY = 5;
// Event types a macro file may hold: mouse buttons (1, and 2 and 3 kept as found), moves (4, 5),
// modifier keys (9) and keys (10). A recoil script clicks and pulls, and types nothing.
constexpr int64_t kMacroEventTypes[] = {kEventMouseButton, 2, 3, kEventMoveX, kEventMoveY, 9, 10};
constexpr int64_t kRecoilEventTypes[] = {kEventMouseButton, kEventMoveX, kEventMoveY};

// A recoil bullet's fixed parts: the click, held this long, on the left button, and the wait
// after the horizontal pull.
constexpr int kRecoilLeftButton = 0x01;
constexpr int kRecoilClickHoldMs = 10;
constexpr int kRecoilHorizontalWaitMs = 5;

// A delay as stored: an integer or decimal text, 0-65535.
bool valid_delay(const Json::Value& v) {
  if (v.isIntegral()) return v.isInt64() && v.asInt64() >= 0 && v.asInt64() <= kMaxMacroDelayMs;
  if (!v.isString()) return false;
  const std::optional<uint32_t> n = whole_number<uint32_t>(v.asString());
  return n && *n <= kMaxMacroDelayMs;
}

bool valid_event(const Json::Value& e, std::span<const int64_t> types) {
  if (!e.isObject()) return false;
  const Json::Value& action = e["Action"];
  const Json::Value& type = e["Type"];
  const Json::Value& button = e["Button"];
  return action.isString() && (action.asString() == "down" || action.asString() == "up") && type.isInt64() &&
         std::find(types.begin(), types.end(), type.asInt64()) != types.end() && button.isInt64() &&
         button.asInt64() >= 0 && button.asInt64() <= 0xFF && valid_delay(e["Delay"]);
}

// A file's text checked as an event file: an object whose "Events" are at most max_events
// valid events of the given types.
MacroImport check_event_file(const std::string& text, std::span<const int64_t> types, size_t max_events) {
  MacroImport result;
  const Json::Value document = ParseJsonText(text);
  if (document.isNull()) return result;
  const Json::Value& events = Member(document, "Events");
  if (!document.isObject() || !events.isArray()) {
    result.check = MacroImportCheck::kNotAMacro;
    return result;
  }
  if (events.size() > max_events) {
    result.check = MacroImportCheck::kTooManyEvents;
    return result;
  }
  for (const Json::Value& e : events) {
    if (!valid_event(e, types)) {
      result.check = MacroImportCheck::kBadEvent;
      return result;
    }
  }
  result.check = MacroImportCheck::kOk;
  result.events = MacroEventsFromDocument(document);
  return result;
}

bool is_down(const Json::Value& action) {
  if (!action.isString()) return false;
  const std::string s = action.asString();
  return s.size() == 4 && std::equal(s.begin(), s.end(), "down",
                                     [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// One event of a recoil bullet, each member assigned on its own.
void put_event(Json::Value& e, bool down, int button, int delay, int64_t type) {
  if (!e.isObject()) e = Json::Value(Json::objectValue);
  e["Action"] = down ? "down" : "up";
  e["Button"] = button;
  e["Delay"] = delay;
  e["Type"] = static_cast<Json::Int64>(type);
}

// Event slot (0-5) of a bullet as the table of a recoil script gives it.
void put_bullet_event(Json::Value& e, size_t slot, const RecoilBullet& b) {
  switch (slot) {
    case 0:
      return put_event(e, true, kRecoilLeftButton, kRecoilClickHoldMs, kEventMouseButton);
    case 1:
      return put_event(e, false, kRecoilLeftButton, 0, kEventMouseButton);
    case 2:
      return put_event(e, b.left, b.horizontal, kRecoilHorizontalWaitMs, kEventMoveX);
    case 3:
      return put_event(e, b.up, b.vertical, b.delay_ms, kEventMoveY);
    case 4:
      return put_event(e, b.left, 0, 0, kEventMoveX);
    default:
      return put_event(e, b.up, 0, 0, kEventMoveY);
  }
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
  return check_event_file(text, kMacroEventTypes, kMaxMacroEvents);
}

std::string MacroFilePath(const std::string& folder, const MacroEntry& entry) {
  return safe_file_stem(entry.guid) ? folder + entry.guid + kMacroFileExtension : std::string();
}

MacroEvent MacroEventFromJson(const Json::Value& event) {
  MacroEvent e;
  if (!event.isObject()) return e;
  // Read as the recoil panel shows it: a hand-written "Down" presses, on the device too.
  e.down = is_down(event["Action"]);
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

RecoilBullet RecoilBulletFromDocument(const Json::Value& document, size_t bullet) {
  RecoilBullet b;
  const Json::Value& events = Member(document, "Events");
  if (!events.isArray() || bullet >= kRecoilBulletCount) return b;
  const auto at = [&events](size_t i) -> const Json::Value& {
    static const Json::Value kNone;
    return i < events.size() ? events[static_cast<Json::ArrayIndex>(i)] : kNone;
  };
  const MacroEvent x = MacroEventFromJson(at(bullet * kRecoilEventsPerBullet + 2));
  const MacroEvent y = MacroEventFromJson(at(bullet * kRecoilEventsPerBullet + 3));
  b.left = x.down;
  b.horizontal = x.button;
  b.up = y.down;
  b.vertical = y.button;
  b.delay_ms = y.delay_ms;
  return b;
}

void SetRecoilBullet(Json::Value& document, size_t bullet, const RecoilBullet& value) {
  if (bullet >= kRecoilBulletCount) return;
  if (!document.isObject()) document = Json::Value(Json::objectValue);
  Json::Value& events = document["Events"];
  if (!events.isArray()) events = Json::Value(Json::arrayValue);
  const size_t first = bullet * kRecoilEventsPerBullet;
  for (size_t i = events.size(); i < first; ++i) {
    put_bullet_event(events[static_cast<Json::ArrayIndex>(i)], i % kRecoilEventsPerBullet, RecoilBullet{});
  }
  for (size_t slot = 0; slot < kRecoilEventsPerBullet; ++slot) {
    put_bullet_event(events[static_cast<Json::ArrayIndex>(first + slot)], slot, value);
  }
}

std::vector<RecoilBullet> ReadRecoilBullets(const std::string& path) {
  const Json::Value document = ReadJsonFile(path);
  std::vector<RecoilBullet> bullets;
  bullets.reserve(kRecoilBulletCount);
  for (size_t b = 0; b < kRecoilBulletCount; ++b) bullets.push_back(RecoilBulletFromDocument(document, b));
  return bullets;
}

bool WriteRecoilBullet(const std::string& path, const std::string& factory_path, size_t bullet,
                       const RecoilBullet& value) {
  const JsonFileForUpdate file = ReadJsonFileForUpdate(path);
  if (!file.CanOverwrite()) return false;
  Json::Value document = file.state == JsonFileState::kReadable ? file.document : ReadJsonFile(factory_path);
  SetRecoilBullet(document, bullet, value);
  return WriteJsonFile(path, document);
}

MacroImport CheckRecoilImportText(const std::string& text) {
  return check_event_file(text, kRecoilEventTypes, kMaxRecoilEvents);
}

}  // namespace qxr

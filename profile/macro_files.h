#pragma once
// The macro files of a device folder: "macro.config" lists the macros, each macro's events are
// in its own ".mac" file named by its "Guid"; the mouse's recoil scripts ("ShootData_<n>.Shoot")
// hold events of the same form, six per bullet.
#include <json/value.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "profile/records.h"

namespace qxr {

inline constexpr char kMacroFileExtension[] = ".mac";
inline constexpr size_t kRecoilScriptCount = 4;

struct MacroEntry {
  std::string name;  // "MacroName"
  std::string guid;  // "Guid": the stem of the macro's ".mac" file
  bool operator==(const MacroEntry&) const = default;
};

// At most this many macros per device folder, and events per macro.
inline constexpr size_t kMaxMacros = 50;
inline constexpr size_t kMaxMacroEvents = 4000;
inline constexpr int kMacroFileVersion = 64;

// A macro as its file holds it.
struct MacroFile {
  std::string name;  // "MacroName"
  std::string guid;  // "Guid"
  std::vector<MacroEvent> events;
  bool operator==(const MacroFile&) const = default;
};

// The list of "macro.config"; nothing when the file cannot be read.
std::optional<std::vector<MacroEntry>> ReadMacroList(const std::string& config_path);
// Writes the list, keeping what else the file holds; an unreadable file is moved aside first.
// False when nothing was written.
bool WriteMacroList(const std::string& config_path, const std::vector<MacroEntry>& entries);

// A macro file; nothing when it cannot be read.
std::optional<MacroFile> ReadMacroFile(const std::string& path);
// Writes the macro ("Delay" as decimal text, "Version" 64); an unreadable file at path is moved
// aside first. False when nothing was written.
bool WriteMacroFile(const std::string& path, const MacroFile& macro);

// A file offered for import, checked before anything is copied: it must be a macro file whose
// "Events" are event objects of the known types with delays in range, at most kMaxMacroEvents.
enum class MacroImportCheck { kOk, kUnreadable, kNotAMacro, kBadEvent, kTooManyEvents };
struct MacroImport {
  MacroImportCheck check = MacroImportCheck::kUnreadable;
  std::vector<MacroEvent> events;
};
MacroImport CheckMacroImport(const std::string& path);
// The same check of a file's bytes.
MacroImport CheckMacroImportText(const std::string& text);

// The ".mac" file of an entry in folder; empty when the entry's "Guid" would name a file
// outside the folder.
std::string MacroFilePath(const std::string& folder, const MacroEntry& entry);

// One event object ("Action", "Button", "Type", "Delay"; "Delay" may be a decimal string or a
// number). Members of a wrong type read as 0; delays are clamped to 0-65535 so a hand-edited
// file cannot wrap into a short delay.
MacroEvent MacroEventFromJson(const Json::Value& event);
// All of a document's "Events"; an unreadable or foreign document has none.
std::vector<MacroEvent> MacroEventsFromDocument(const Json::Value& document);
std::vector<MacroEvent> ReadMacroEvents(const std::string& path);

std::string RecoilScriptPath(const std::string& folder, size_t script);
// The events of the four scripts; a file that is missing or cannot be read is a script with
// no events, so the other scripts keep their slots.
std::vector<std::vector<MacroEvent>> ReadRecoilScripts(const std::string& folder);

// A recoil script is a grid of bullets, each six events: a left click (press, release), the
// horizontal and the vertical pull, and the two pulls' ends.
inline constexpr size_t kRecoilBulletCount = 30;
inline constexpr size_t kRecoilEventsPerBullet = 6;
// No script holds more than its bullets' events, so the four always fit the mouse's memory.
inline constexpr size_t kMaxRecoilEvents = kRecoilBulletCount * kRecoilEventsPerBullet;

// One bullet: the pulls and the wait before the next bullet (carried by the vertical pull).
struct RecoilBullet {
  bool left = false;  // the horizontal pull's "Action" is "down"; otherwise it pulls right
  uint8_t horizontal = 0;
  bool up = false;  // the vertical pull's "Action" is "down"; otherwise it pulls down
  uint8_t vertical = 0;
  uint16_t delay_ms = 0;
  bool operator==(const RecoilBullet&) const = default;
};

// Bullet b of a script document; events that are missing read as 0 (right, down, no wait).
RecoilBullet RecoilBulletFromDocument(const Json::Value& document, size_t bullet);
// Writes bullet b's six events member by member, so other members of those objects stay. A
// document that is no object, or "Events" that are no array, start anew; bullets missing before
// b are written as bullets without pulls, so the script never holds a gap the mouse would play.
void SetRecoilBullet(Json::Value& document, size_t bullet, const RecoilBullet& value);

// All kRecoilBulletCount bullets of a script file (a missing or unreadable file: zeros).
std::vector<RecoilBullet> ReadRecoilBullets(const std::string& path);
// Stores bullet b in the script at path. A missing script, or one that cannot be read (it is
// moved aside), starts from the factory script at factory_path. False when nothing was written.
bool WriteRecoilBullet(const std::string& path, const std::string& factory_path, size_t bullet,
                       const RecoilBullet& value);

// A ".shoot" file offered for import, or a factory script: a document whose "Events" are at
// most kMaxRecoilEvents events of the types a recoil script plays (mouse button, horizontal and
// vertical move), each in range.
MacroImport CheckRecoilImportText(const std::string& text);

}  // namespace qxr

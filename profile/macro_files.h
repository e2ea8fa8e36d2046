#pragma once
// The macro files of a device folder: "macro.config" lists the macros, each macro's events are
// in its own ".mac" file named by its "Guid"; the mouse's recoil scripts ("ShootData_<n>.Shoot")
// hold events of the same form.
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

}  // namespace qxr

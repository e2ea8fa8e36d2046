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

// The list of "macro.config"; nothing when the file cannot be read.
std::optional<std::vector<MacroEntry>> ReadMacroList(const std::string& config_path);

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

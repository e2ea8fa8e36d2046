#pragma once
// The macros of one device folder: "macro.config" lists them in order, each one's events are in
// its own ".mac" file. Every change writes the list (or the macro) through at once, atomically;
// an unreadable list is moved aside before it is replaced, never overwritten silently. Used on
// the UI thread; the device reads the same files on its own thread and only ever sees whole files.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "profile/macro_files.h"

namespace qxr::editors::macros {

inline constexpr char kMacroConfigFile[] = "macro.config";
inline constexpr char kMacroNamePattern[] = "macro_%d";

// The first "macro_<n>" (n = 1, 2, ...) no name of the list has, compared case-insensitively.
std::string next_macro_name(const std::vector<MacroEntry>& entries);

// Why a change was refused.
enum class MacroChange { kDone, kFull, kNoSuchMacro, kNameEmpty, kNameInUse, kWriteFailed, kBadImport };

class MacroFolder {
 public:
  // folder ends with a separator.
  explicit MacroFolder(std::string folder = {});
  const std::string& folder() const { return folder_; }
  // Reads the list again; a missing or unreadable "macro.config" gives an empty list.
  void load();
  const std::vector<MacroEntry>& entries() const { return entries_; }
  size_t size() const { return entries_.size(); }

  // A new empty macro at the end, named next_macro_name(); its index on success.
  MacroChange add(size_t* index = nullptr);
  // The macro's file and its entry go.
  MacroChange remove(size_t index);
  // Names are trimmed; an empty name or one another macro has is refused.
  MacroChange rename(size_t index, const std::string& name);

  // The macro's events; an unreadable or missing file has none.
  std::vector<MacroEvent> events(size_t index) const;
  MacroChange save(size_t index, const std::vector<MacroEvent>& events);

  // A ".mac" file checked first; a good one becomes a new macro (a new name and identifier,
  // the file's own are not used). check receives the verdict.
  MacroChange import(const std::string& path, MacroImportCheck* check = nullptr, size_t* index = nullptr);
  // The macro's file as it is stored, to path.
  MacroChange export_to(size_t index, const std::string& path) const;

  std::string file_of(size_t index) const;

 private:
  std::string config_path() const { return folder_ + kMacroConfigFile; }
  std::string unused_guid() const;

  std::string folder_;
  std::vector<MacroEntry> entries_;
};

}  // namespace qxr::editors::macros

#include "editors/macros/macro_folder.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "core/atomic_file.h"
#include "core/debug_line.h"
#include "profile/json_file.h"

namespace qxr::editors::macros {
namespace {

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

bool name_taken(const std::vector<MacroEntry>& entries, const std::string& name, std::optional<size_t> except) {
  const std::string wanted = lower(name);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i != except && lower(entries[i].name) == wanted) return true;
  }
  return false;
}

}  // namespace

std::string next_macro_name(const std::vector<MacroEntry>& entries) {
  for (int n = 1;; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, kMacroNamePattern, n);
    if (!name_taken(entries, name, std::nullopt)) return name;
  }
}

MacroFolder::MacroFolder(std::string folder) : folder_(std::move(folder)) {}

void MacroFolder::load() { entries_ = ReadMacroList(config_path()).value_or(std::vector<MacroEntry>{}); }

std::string MacroFolder::file_of(size_t index) const {
  return index < entries_.size() ? MacroFilePath(folder_, entries_[index]) : std::string();
}

std::string MacroFolder::unused_guid() const {
  // Identifiers are times to the millisecond; two macros made within one must still differ.
  for (;;) {
    std::string guid = MakeTimeStampId();
    const bool listed = std::any_of(entries_.begin(), entries_.end(), [&](const MacroEntry& e) { return e.guid == guid; });
    std::error_code ec;
    if (!listed && !std::filesystem::exists(folder_ + guid + kMacroFileExtension, ec)) return guid;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

MacroChange MacroFolder::add(size_t* index) {
  if (entries_.size() >= kMaxMacros) return MacroChange::kFull;
  std::vector<MacroEntry> entries = entries_;
  entries.push_back({next_macro_name(entries_), unused_guid()});
  if (!WriteMacroList(config_path(), entries)) return MacroChange::kWriteFailed;
  entries_ = std::move(entries);
  if (index != nullptr) *index = entries_.size() - 1;
  return MacroChange::kDone;
}

MacroChange MacroFolder::remove(size_t index) {
  if (index >= entries_.size()) return MacroChange::kNoSuchMacro;
  std::vector<MacroEntry> entries = entries_;
  const std::string file = file_of(index);
  entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
  if (!WriteMacroList(config_path(), entries)) return MacroChange::kWriteFailed;
  entries_ = std::move(entries);
  std::error_code ec;
  if (!file.empty() && !std::filesystem::remove(file, ec) && ec) debug_fmt("macro file {} not removed: {}", file, ec.message());
  return MacroChange::kDone;
}

MacroChange MacroFolder::rename(size_t index, const std::string& name) {
  if (index >= entries_.size()) return MacroChange::kNoSuchMacro;
  const std::string clean = trimmed(name);
  if (clean.empty()) return MacroChange::kNameEmpty;
  if (name_taken(entries_, clean, index)) return MacroChange::kNameInUse;
  std::vector<MacroEntry> entries = entries_;
  entries[index].name = clean;
  if (!WriteMacroList(config_path(), entries)) return MacroChange::kWriteFailed;
  entries_ = std::move(entries);
  // The file carries the name too; its events stay as they are.
  if (std::optional<MacroFile> file = ReadMacroFile(file_of(index))) {
    file->name = clean;
    WriteMacroFile(file_of(index), *file);
  }
  return MacroChange::kDone;
}

std::vector<MacroEvent> MacroFolder::events(size_t index) const {
  const std::string file = file_of(index);
  return file.empty() ? std::vector<MacroEvent>{} : ReadMacroEvents(file);
}

MacroChange MacroFolder::save(size_t index, const std::vector<MacroEvent>& events) {
  const std::string file = file_of(index);
  if (file.empty()) return MacroChange::kNoSuchMacro;
  const MacroEntry& entry = entries_[index];
  return WriteMacroFile(file, {entry.name, entry.guid, events}) ? MacroChange::kDone : MacroChange::kWriteFailed;
}

MacroChange MacroFolder::import(const std::string& path, MacroImportCheck* check, size_t* index) {
  // Read once: what is checked is what gets stored.
  const std::string bytes = ReadFileText(path);
  const MacroImportCheck verdict = CheckMacroImportText(bytes).check;
  if (check != nullptr) *check = verdict;
  if (verdict != MacroImportCheck::kOk) return MacroChange::kBadImport;
  if (entries_.size() >= kMaxMacros) return MacroChange::kFull;
  size_t added = 0;
  if (const MacroChange r = add(&added); r != MacroChange::kDone) return r;
  if (!write_file_atomic(file_of(added), bytes)) {
    remove(added);
    return MacroChange::kWriteFailed;
  }
  if (index != nullptr) *index = added;
  return MacroChange::kDone;
}

MacroChange MacroFolder::export_to(size_t index, const std::string& path) const {
  const std::string file = file_of(index);
  if (file.empty()) return MacroChange::kNoSuchMacro;
  const std::string bytes = ReadFileText(file);
  if (bytes.empty() || path.empty()) return MacroChange::kWriteFailed;
  return write_file_atomic(path, bytes) ? MacroChange::kDone : MacroChange::kWriteFailed;
}

}  // namespace qxr::editors::macros

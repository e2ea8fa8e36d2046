#include "profile/profile_list.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/debug_line.h"
#include "profile/data_paths.h"
#include "profile/json_access.h"
#include "profile/json_file.h"
#include "profile/profile_naming.h"

namespace qxr {

namespace {

constexpr char kSelect[] = "profileselect";
constexpr char kList[] = "profilelist";
constexpr char kName[] = "profilename";
constexpr char kId[] = "profileUUID";
constexpr char kIsLink[] = "profileislink";
constexpr char kLinkName[] = "profilelinkmame";
constexpr char kDevice[] = "Device";
constexpr char kFirstProfileName[] = "profile1";
// Members of the headset's device object that belong to the user, not to the profile.
constexpr const char* kHeadsetKeptOnReset[] = {"CustomEQNameInfo", "CustomEQHzValueInfo"};

Json::Value entry_json(const ProfileEntry& e) {
  Json::Value o(Json::objectValue);
  o[kName] = e.name;
  o[kId] = e.id;
  o[kIsLink] = 0;
  o[kLinkName] = "";
  return o;
}

bool file_exists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

// Identifiers come from a file the user may edit; one must never name a file outside
// the device folder.
bool id_is_safe(const std::string& id) {
  return id.find('/') == std::string::npos && id.find('\0') == std::string::npos;
}

}  // namespace

void ProfileList::SetFolders(const std::string& device_folder, const std::string& default_profile) {
  folder_ = device_folder;
  if (!folder_.empty() && folder_.back() != '/') folder_.push_back('/');
  default_profile_ = default_profile;
}

std::vector<std::string> ProfileList::Names() const {
  std::vector<std::string> names;
  names.reserve(entries_.size());
  for (const ProfileEntry& e : entries_) names.push_back(e.name);
  return names;
}

std::string ProfileList::ProfilePath(const std::string& id) const {
  if (folder_.empty() || !id_is_safe(id)) return {};
  return folder_ + id + kProfileFileExtension;
}

Json::Value ProfileList::ListFromEntries(int select) const {
  Json::Value list(Json::objectValue);
  list[kSelect] = select;
  list[kList] = Json::Value(Json::arrayValue);
  for (const ProfileEntry& e : entries_) list[kList].append(entry_json(e));
  return list;
}

Json::Value ProfileList::ReadListForUpdate() const {
  JsonFileForUpdate file = ReadJsonFileForUpdate(ListFilePath());
  if (file.state == JsonFileState::kReadable) {
    if (Member(file.document, kList).isArray()) return std::move(file.document);
    // A list of another shape would be lost by the coming write.
    SetAsideFile(ListFilePath());
  }
  // Missing or unusable: what this list last read or wrote stands in for it.
  return ListFromEntries(selected_ < 0 ? 0 : selected_);
}

void ProfileList::TakeEntries(const Json::Value& list) {
  entries_.clear();
  const Json::Value& items = Member(list, kList);
  if (items.isArray()) {
    for (const Json::Value& item : items) {
      entries_.push_back({ToString(Member(item, kName)), ToString(Member(item, kId))});
    }
  }
  if (selected_ >= Count()) selected_ = Count() - 1;
}

bool ProfileList::WriteList(const Json::Value& list) {
  TakeEntries(list);
  return WriteJsonFile(ListFilePath(), list);
}

void ProfileList::AppendEntry(Json::Value& list, const ProfileEntry& entry) {
  WritableMember(list, kList).append(entry_json(entry));
}

std::string ProfileList::NewProfileId(const Json::Value& list) const {
  // Time stamps repeat within a millisecond; a repeated identifier would make two
  // entries share one file.
  for (;;) {
    std::string id = MakeTimeStampId();
    bool used = file_exists(ProfilePath(id)) ||
                std::any_of(entries_.begin(), entries_.end(),
                            [&](const ProfileEntry& e) { return e.id == id; });
    for (const Json::Value& item : Member(list, kList)) used = used || ToString(Member(item, kId)) == id;
    if (!used) return id;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

bool ProfileList::WriteNewProfileFile(Json::Value document, const ProfileEntry& entry) {
  const std::string path = ProfilePath(entry.id);
  if (path.empty()) return false;
  if (!document.isObject()) document = Json::Value(Json::objectValue);
  document[kName] = entry.name;
  document[kId] = entry.id;
  return WriteJsonFile(path, document);
}

void ProfileList::InitProfileList() {
  if (folder_.empty()) return;
  Json::Value list = ReadListForUpdate();
  const Json::Value& items = Member(list, kList);
  if (!items.isArray() || items.empty()) {
    ProfileEntry first{kFirstProfileName, NewProfileId(list)};
    list = Json::Value(Json::objectValue);
    list[kList] = Json::Value(Json::arrayValue);
    list[kList].append(entry_json(first));
    list[kSelect] = 0;
    WriteList(list);
    // The file gets only the names; the first load adds "Device" from the default profile.
    JsonFileForUpdate existing = ReadJsonFileForUpdate(ProfilePath(first.id));
    if (existing.CanOverwrite()) WriteNewProfileFile(std::move(existing.document), first);
  }
  TakeEntries(list);
  int select = ToInt(Member(list, kSelect), 0);
  // A stored selection outside the list would name no profile.
  if (select < 0 || select >= Count()) select = 0;
  SelectProfile(select);
}

bool ProfileList::SelectProfile(int index) {
  if (folder_.empty() || index < 0 || index >= Count()) return false;
  Json::Value list = ReadListForUpdate();
  TakeEntries(list);
  if (index >= Count()) return false;
  WritableMember(list, kSelect) = index;
  selected_ = index;
  current_id_ = entries_[static_cast<std::size_t>(index)].id;
  return WriteList(list);
}

bool ProfileList::AddProfile() {
  if (folder_.empty()) return false;
  Json::Value list = ReadListForUpdate();
  TakeEntries(list);
  if (Count() >= kMaxProfiles) return false;
  ProfileEntry entry{FreeProfileName(Names()), NewProfileId(list)};
  AppendEntry(list, entry);
  list[kSelect] = Count();  // the new entry's index: selected at the next start
  WriteList(list);
  return WriteNewProfileFile(Json::Value(Json::objectValue), entry);
}

bool ProfileList::CopyProfile() {
  if (folder_.empty()) return false;
  Json::Value list = ReadListForUpdate();
  TakeEntries(list);
  if (selected_ < 0) return false;
  const ProfileEntry source = entries_[static_cast<std::size_t>(selected_)];
  ProfileEntry entry{CopyProfileName(source.name, Names()), NewProfileId(list)};
  AppendEntry(list, entry);
  WriteList(list);
  const std::string source_path = ProfilePath(source.id);
  return WriteNewProfileFile(source_path.empty() ? Json::Value() : ReadJsonFile(source_path),
                             entry);
}

bool ProfileList::DeleteProfile() {
  if (folder_.empty()) return false;
  Json::Value list = ReadListForUpdate();
  TakeEntries(list);
  if (selected_ < 0 || Count() <= 1) return false;
  const int removed_index = selected_;
  const int new_selection = removed_index == 0 ? 0 : removed_index - 1;
  const ProfileEntry removed = entries_[static_cast<std::size_t>(removed_index)];
  Json::Value dropped;
  list[kList].removeIndex(static_cast<Json::ArrayIndex>(removed_index), &dropped);
  list[kSelect] = new_selection;
  WriteList(list);
  // Another entry may name the same file (an edited list); its profile must survive.
  const bool shared = std::any_of(entries_.begin(), entries_.end(),
                                  [&](const ProfileEntry& e) { return e.id == removed.id; });
  const std::string path = ProfilePath(removed.id);
  if (!shared && !path.empty() && unlink(path.c_str()) != 0) {
    debug_fmt("profile file not deleted: {}", path);
  }
  // The stored selection moved; follow it so that the current profile is never the
  // deleted one.
  selected_ = new_selection;
  current_id_ = entries_[static_cast<std::size_t>(new_selection)].id;
  return true;
}

int ProfileList::RenameProfile(const std::string& name) {
  if (folder_.empty()) return kRenameNameInUse;
  Json::Value list = ReadListForUpdate();
  TakeEntries(list);
  if (selected_ < 0) return kRenameNameInUse;
  if (IsBlankName(name)) return kRenameBlank;
  for (int i = 0; i < Count(); ++i) {
    if (i == selected_) continue;
    if (NamesEqualIgnoreCase(entries_[static_cast<std::size_t>(i)].name, name)) {
      return kRenameNameInUse;
    }
  }
  const auto index = static_cast<Json::ArrayIndex>(selected_);
  WritableMember(WritableElement(list[kList], index), kName) = name;
  WriteList(list);
  const std::string path = ProfilePath(entries_[index].id);
  if (!path.empty()) {
    JsonFileForUpdate file = ReadJsonFileForUpdate(path);
    if (file.CanOverwrite()) {
      Json::Value document = file.state == JsonFileState::kReadable
                                 ? std::move(file.document)
                                 : Json::Value(Json::objectValue);
      document[kName] = name;
      WriteJsonFile(path, document);
    }
  }
  return kRenameDone;
}

bool ProfileList::ResetProfile() {
  if (folder_.empty()) return false;
  Json::Value list = ReadListForUpdate();
  TakeEntries(list);
  if (selected_ < 0) return false;
  const ProfileEntry entry = entries_[static_cast<std::size_t>(selected_)];
  const std::string path = ProfilePath(entry.id);
  if (path.empty()) return false;
  Json::Value document = ReadJsonFile(default_profile_);
  if (!document.isObject()) document = Json::Value(Json::objectValue);
  if (keeps_audio_) {
    const Json::Value current = ReadJsonFile(path);
    const Json::Value& kept = Element(Member(current, kDevice), 0);
    Json::Value* device = nullptr;
    if (Element(Member(document, kDevice), 0).isObject()) device = &document[kDevice][0u];
    if (kept.isObject() && device != nullptr) {
      for (const char* key : kHeadsetKeptOnReset) {
        if (kept.isMember(key)) {
          (*device)[key] = kept[key];
        } else {
          device->removeMember(key);
        }
      }
    }
  }
  return WriteNewProfileFile(std::move(document), entry);
}

bool ProfileList::ImportProfile(const std::string& path) {
  if (folder_.empty()) return false;
  Json::Value document = ReadJsonFile(path);
  // Anything but a profile (a list file, say) is refused.
  if (!document.isObject() || !document.isMember(kName) || !document.isMember(kId)) return false;
  Json::Value list = ReadListForUpdate();
  TakeEntries(list);
  ProfileEntry entry{ImportProfileName(FileBaseName(path), Names()), NewProfileId(list)};
  AppendEntry(list, entry);
  WriteList(list);
  const bool written = WriteNewProfileFile(std::move(document), entry);
  // A profile file with an empty identifier is left over by older imports.
  const std::string stray = folder_ + kProfileFileExtension;
  if (file_exists(stray)) unlink(stray.c_str());
  return written;
}

bool ProfileList::ExportProfile(const std::string& path) const {
  if (path.empty() || selected_ < 0 || selected_ >= Count()) return false;
  const std::string source = ProfilePath(entries_[static_cast<std::size_t>(selected_)].id);
  if (source.empty()) return false;
  Json::Value document = ReadJsonFile(source);
  if (document.isNull()) return false;
  return WriteJsonFile(path, document);
}

}  // namespace qxr

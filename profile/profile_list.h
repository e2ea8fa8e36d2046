#pragma once
// The named profiles of one device and their list file "ProfileList.ini" (a JSON
// document despite its name). Entries are positional: entry i is item i of the profile
// drop-down, which the GUI fills from Names(). Every operation rereads the list file,
// changes it and writes it back, so the list never goes stale across operations; the
// names and identifiers kept here only stand in when the file has become unusable.
#include <json/value.h>

#include <string>
#include <vector>

namespace qxr {

inline constexpr char kProfileListFile[] = "ProfileList.ini";
inline constexpr int kMaxProfiles = 50;  // adding stops here; copy and import do not check

struct ProfileEntry {
  std::string name;  // "profilename"
  std::string id;    // "profileUUID", also the profile file's base name
};

// Results of RenameProfile.
inline constexpr int kRenameNameInUse = 0;
inline constexpr int kRenameDone = 1;
inline constexpr int kRenameBlank = 2;

class ProfileList {
 public:
  // A reset keeps the profile's sound settings (the headset's).
  void SetKeepsAudioOnReset(bool on) { keeps_audio_ = on; }
  // device_folder ends with '/' (UserDataFolder); default_profile is the model's
  // DefaultData file.
  void SetFolders(const std::string& device_folder, const std::string& default_profile);

  // Reads the list (creating the default one-entry list with its profile file when there
  // is none) and selects the stored selection.
  void InitProfileList();

  // Selects entry index and stores it as the selection. False for an index out of range.
  bool SelectProfile(int index);
  const std::string& GetCurrentProfileId() const { return current_id_; }
  int GetSelectedIndex() const { return selected_; }
  const std::vector<ProfileEntry>& Entries() const { return entries_; }
  std::vector<std::string> Names() const;
  int Count() const { return static_cast<int>(entries_.size()); }

  // device folder + id + ".Json"; empty for an identifier that would leave the folder.
  std::string ProfilePath(const std::string& id) const;
  std::string CurrentProfilePath() const { return ProfilePath(current_id_); }
  std::string ListFilePath() const { return folder_ + kProfileListFile; }

  // Appends "profile<n>" with the smallest free n. False at kMaxProfiles entries.
  bool AddProfile();
  // Appends "<selected> copy" (" copy" repeated until free) with all its settings.
  bool CopyProfile();
  // Removes the selected entry and its file and selects the one before it (or the new
  // first one). Never removes the last entry.
  bool DeleteProfile();
  // kRenameDone, kRenameNameInUse (another entry has the name, case-insensitive) or
  // kRenameBlank.
  int RenameProfile(const std::string& name);
  // Replaces the selected profile with the default profile, keeping its name and
  // identifier (and, on the headset, its custom equalisers).
  bool ResetProfile();
  // Adds the profile file at path under its base name ("(n)" appended until free) with a
  // new identifier. A document without "profilename" and "profileUUID" is refused.
  bool ImportProfile(const std::string& path);
  // Writes the selected profile file unchanged to path.
  bool ExportProfile(const std::string& path) const;

 private:
  Json::Value ReadListForUpdate() const;
  Json::Value ListFromEntries(int select) const;
  bool WriteList(const Json::Value& list);
  void TakeEntries(const Json::Value& list);
  void AppendEntry(Json::Value& list, const ProfileEntry& entry);
  std::string NewProfileId(const Json::Value& list) const;
  bool WriteNewProfileFile(Json::Value document, const ProfileEntry& entry);

  bool keeps_audio_ = false;
  std::string folder_;
  std::string default_profile_;
  std::vector<ProfileEntry> entries_;
  int selected_ = -1;
  std::string current_id_;
};

}  // namespace qxr

#pragma once
// Access to the shipped DefaultData folder for the tests, and a scratch folder per test.
#include <json/json.h>

#include <set>
#include <string>

#include "profile/profile_data.h"

namespace qxr::test {

// DefaultData/<name>
std::string DefaultDataFile(const std::string& name);

// A document of DefaultData, parsed the way the program parses it (null when unreadable).
Json::Value ReadDefaultDocument(const std::string& name);

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // <folder>/<name>
  std::string File(const std::string& name) const;

 private:
  std::string path_;
};

// Points profile at the model's default profile and loads a profile file that does not
// exist yet, the way a device's first start does: the profile is created from the
// default. Returns the loaded device object.
Json::Value LoadFirstProfile(CBasicProfiledata& profile, const std::string& model_folder,
                             const ScratchFolder& scratch);

// The member names of an object.
std::set<std::string> MemberNames(const Json::Value& object);

// Every language key named in the default data: lighting modes, areas, custom effects and
// mouse line corrections.
std::set<std::string> LanguageKeysInData();

}  // namespace qxr::test

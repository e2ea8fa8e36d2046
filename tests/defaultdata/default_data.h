#pragma once
// Access to the shipped DefaultData folder for the tests.
#include <json/json.h>

#include <set>
#include <string>

#include "profile/profile_data.h"
#include "tests/support/temp_folder.h"

namespace qxr::test {

// DefaultData/<name>
std::string DefaultDataFile(const std::string& name);

// A document of DefaultData, parsed the way the program parses it (null when unreadable).
Json::Value ReadDefaultDocument(const std::string& name);

// Points profile at the model's default profile and loads a profile file that does not
// exist yet, the way a device's first start does: the profile is created from the
// default. Returns the loaded device object.
Json::Value LoadFirstProfile(CBasicProfiledata& profile, const std::string& model_folder,
                             const testing::TempFolder& scratch);

// The member names of an object.
std::set<std::string> MemberNames(const Json::Value& object);

// Every language key named in the default data: lighting modes, areas, custom effects and
// mouse line corrections.
std::set<std::string> LanguageKeysInData();

}  // namespace qxr::test

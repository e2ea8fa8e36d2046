#pragma once
// Where the program's files lie. Folder paths end with '/'.
//
// User data: <user data root>/<model folder>/ with the root taken from, in this order,
// SetUserDataRoot, $QXR470_DATA_DIR, $XDG_DATA_HOME/"QXR470 GAMING KEYBOARD",
// $HOME/.local/share/"QXR470 GAMING KEYBOARD".
// Program data ("DefaultData", "skin", "Font"): <program data root>/ with the root taken
// from SetProgramDataRoot, $QXR470_SOURCE_DIR, the first with a DefaultData folder of: the
// installed share folder beside the running program (<prefix>/bin -> <prefix>/share/qxr470),
// the source tree the program was built from, the configured install prefix; else the source
// tree.
#include <string>

namespace qxr {

inline constexpr char kAppFolderName[] = "QXR470 GAMING KEYBOARD";
inline constexpr char kDefaultDataFolderName[] = "DefaultData";
inline constexpr char kProfileFileExtension[] = ".Json";

// Model folder names; also the base names of the default profiles.
inline constexpr char kKeyboardFolder[] = "keyboard";
inline constexpr char kMouseFolder[] = "mouse";
inline constexpr char kMousePadFolder[] = "MousePad";
inline constexpr char kHeadsetFolder[] = "HD";

// Overrides for tests and tools; an empty string returns to the normal lookup.
void SetUserDataRoot(const std::string& root);
void SetProgramDataRoot(const std::string& root);

std::string UserDataRoot();     // with trailing '/'
std::string ProgramDataRoot();  // with trailing '/'

// <program data root>/DefaultData/
std::string DefaultDataFolder();
// DefaultData/<model folder>.Json
std::string DefaultProfilePath(const std::string& model_folder);
// <user data root>/<model folder>/, created when missing (a failure is ignored).
std::string UserDataFolder(const std::string& model_folder);

}  // namespace qxr

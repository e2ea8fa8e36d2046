#pragma once
// Where interface paths come from: hidraw nodes (libudev) and an emulator folder, each a
// source behind one interface. One path is handed out per top-level collection.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hid/interface_info.h"

namespace qxr::hid {

inline constexpr const char* kEmulatorDirEnv = "QXR470_EMULATOR_DIR";

class InterfaceSource {
 public:
  virtual ~InterfaceSource() = default;
  // Appends every interface present now. False when the source itself failed.
  virtual bool list(std::vector<InterfaceInfo>* out) = 0;
};

std::unique_ptr<InterfaceSource> make_hidraw_source();
std::unique_ptr<InterfaceSource> make_emulator_source(const std::string& dir);

// The emulator folder: set explicitly, or else taken from QXR470_EMULATOR_DIR. Empty = none.
void set_emulator_dir(const std::string& dir);
void use_emulator_dir_from_environment();
std::string emulator_dir();
// hidraw enumeration can be switched off (tests, the demo).
void set_hidraw_enabled(bool on);
bool hidraw_enabled();
// Where hidraw nodes are listed from: libudev unless replaced (a test lists fake nodes with the
// ids and descriptor libudev would give). An empty factory restores libudev.
using InterfaceSourceFactory = std::function<std::unique_ptr<InterfaceSource>()>;
void set_hidraw_source(InterfaceSourceFactory factory);

// Appends the paths of every collection of the interface ("&col" only when there are several).
// An interface whose descriptor cannot be parsed yields none.
void append_collection_paths(const InterfaceInfo& info, std::vector<std::string>* paths);

// Every present interface path of the configured sources, hidraw first.
bool enumerate_interface_paths(std::vector<std::string>* paths);

}  // namespace qxr::hid

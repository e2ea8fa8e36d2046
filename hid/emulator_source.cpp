// An emulator folder: each "<id>.json" beside a listening "<id>.sock" is one interface.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "hid/enumeration.h"

namespace qxr::hid {
namespace {

bool ends_with(const std::string& s, const std::string& suffix) {
  return s.size() > suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

class EmulatorSource final : public InterfaceSource {
 public:
  explicit EmulatorSource(std::string dir) : dir_(std::move(dir)) {}

  bool list(std::vector<InterfaceInfo>* out) override {
    DIR* d = ::opendir(dir_.c_str());
    // A folder that does not exist (yet) simply holds no device.
    if (!d) return errno == ENOENT || errno == ENOTDIR;
    std::vector<std::string> names;
    while (dirent* e = ::readdir(d)) {
      std::string name = e->d_name;
      if (name.empty() || name[0] == '.' || !ends_with(name, kEmulatorJsonSuffix)) continue;
      names.push_back(std::move(name));
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    for (const auto& name : names) {
      InterfaceInfo info;
      if (!read_emulator_json(dir_ + "/" + name, &info)) continue;
      struct stat st {};
      if (::stat(info.node.c_str(), &st) < 0 || !S_ISSOCK(st.st_mode)) continue;
      out->push_back(std::move(info));
    }
    return true;
  }

 private:
  std::string dir_;
};

}  // namespace

std::unique_ptr<InterfaceSource> make_emulator_source(const std::string& dir) {
  return std::make_unique<EmulatorSource>(dir);
}

}  // namespace qxr::hid

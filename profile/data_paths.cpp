#include "profile/data_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <mutex>

namespace qxr {

namespace {

std::mutex g_mutex;
std::string g_user_root;     // guarded by g_mutex
std::string g_program_root;  // guarded by g_mutex

std::string with_slash(std::string path) {
  if (!path.empty() && path.back() != '/') path.push_back('/');
  return path;
}

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

bool is_folder(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool has_default_data(const std::string& root) {
  return !root.empty() && is_folder(with_slash(root) + kDefaultDataFolderName);
}

// <prefix>/bin/qxr470 -> <prefix>/share/qxr470 (as the install layout puts them)
std::string share_folder_beside_program() {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  std::string exe(buf, static_cast<std::size_t>(n));
  auto slash = exe.find_last_of('/');
  if (slash == std::string::npos) return {};
  const std::string beside = exe.substr(0, slash + 1) + QXR_DATA_FROM_BIN;
  char resolved[PATH_MAX];
  return realpath(beside.c_str(), resolved) != nullptr ? std::string(resolved) : beside;
}

void make_folder(const std::string& path) {
  // An existing folder is fine; any other failure shows up when a file is written.
  mkdir(path.c_str(), 0755);
}

}  // namespace

void SetUserDataRoot(const std::string& root) {
  std::lock_guard lock(g_mutex);
  g_user_root = root;
}

void SetProgramDataRoot(const std::string& root) {
  std::lock_guard lock(g_mutex);
  g_program_root = root;
}

std::string UserDataRoot() {
  {
    std::lock_guard lock(g_mutex);
    if (!g_user_root.empty()) return with_slash(g_user_root);
  }
  if (std::string v = env("QXR470_DATA_DIR"); !v.empty()) return with_slash(v);
  std::string base = env("XDG_DATA_HOME");
  // A relative XDG_DATA_HOME is invalid and must be ignored.
  if (base.empty() || base.front() != '/') {
    std::string home = env("HOME");
    base = (home.empty() ? std::string(".") : home) + "/.local/share";
  }
  return with_slash(base) + kAppFolderName + "/";
}

std::string ProgramDataRoot() {
  {
    std::lock_guard lock(g_mutex);
    if (!g_program_root.empty()) return with_slash(g_program_root);
  }
  if (std::string v = env("QXR470_SOURCE_DIR"); !v.empty()) return with_slash(v);
  // The build tree's program takes its own source tree before a copy installed meanwhile.
  for (const std::string& candidate :
       {share_folder_beside_program(), std::string(QXR_SOURCE_DATA_DIR), std::string(QXR_INSTALL_DATA_DIR)}) {
    if (has_default_data(candidate)) return with_slash(candidate);
  }
  return with_slash(QXR_SOURCE_DATA_DIR);
}

std::string DefaultDataFolder() {
  return ProgramDataRoot() + kDefaultDataFolderName + "/";
}

std::string DefaultProfilePath(const std::string& model_folder) {
  return DefaultDataFolder() + model_folder + kProfileFileExtension;
}

std::string UserDataFolder(const std::string& model_folder) {
  std::string root = UserDataRoot();
  // The parents of the root ($XDG_DATA_HOME itself) may be missing on a fresh account.
  for (std::size_t pos = 1; (pos = root.find('/', pos)) != std::string::npos; ++pos) {
    make_folder(root.substr(0, pos));
  }
  std::string folder = root + model_folder + "/";
  make_folder(folder);
  return folder;
}

}  // namespace qxr

#include "ipc/instance_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "ipc/identity.h"

namespace qxr::ipc {
namespace {

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v == nullptr ? std::string() : std::string(v);
}

bool is_folder(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string base_path() {
  const std::string runtime = env("XDG_RUNTIME_DIR");
  if (is_folder(runtime)) return runtime + "/" + kAppIdentity;
  std::string temp = env("TMPDIR");
  if (!is_folder(temp)) temp = "/tmp";
  // A shared folder: the name must not collide with other users'.
  return temp + "/" + kAppIdentity + "-" + std::to_string(::getuid());
}

}  // namespace

std::string instance_socket_path() { return base_path(); }
std::string instance_lock_path() { return base_path() + ".lock"; }

}  // namespace qxr::ipc

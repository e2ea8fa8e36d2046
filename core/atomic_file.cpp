#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace qxr {

namespace {
bool write_all(int fd, std::string_view data) {
  const char* p = data.data();
  size_t left = data.size();
  while (left > 0) {
    ssize_t n = write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

std::string folder_of(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}
}  // namespace

bool write_file_atomic(const std::string& path, std::string_view data, int* error) {
  const auto fail = [error](int e) {
    if (error != nullptr) *error = e;
    return false;
  };
  std::string tmpl = path + ".tmp-XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) return fail(errno);
  int failed = 0;
  if (!write_all(fd, data) || fsync(fd) != 0) failed = errno;
  // mkstemp creates 0600; keep the mode of the file being replaced, else an ordinary one.
  struct stat old {};
  mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  if (failed == 0 && fchmod(fd, mode) != 0) failed = errno;
  // A full disk may show only here, when the data finally goes out.
  if (close(fd) != 0 && failed == 0) failed = errno;
  if (failed == 0 && rename(name.data(), path.c_str()) != 0) failed = errno;
  if (failed != 0) {
    unlink(name.data());
    return fail(failed);
  }
  // Make the rename itself durable.
  int dir = open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}

}  // namespace qxr

#include "core/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace qxr {
namespace {

constexpr mode_t kOwnerOnly = 0600;

int open_lock_file(const std::string& path, int flags) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, kOwnerOnly);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool take(int fd, int operation) {
  int rc;
  do {
    rc = ::flock(fd, operation | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  return rc == 0;
}

}  // namespace

FileLock::~FileLock() { unlock(); }

bool FileLock::try_lock(const std::string& path) {
  unlock();
  const int fd = open_lock_file(path, O_RDWR | O_CREAT);
  if (fd < 0) return false;
  if (!take(fd, LOCK_EX)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void FileLock::unlock() {
  if (fd_ < 0) return;
  ::close(fd_);  // closing the last descriptor releases the lock
  fd_ = -1;
}

bool FileLock::is_held(const std::string& path) {
  const int fd = open_lock_file(path, O_RDONLY);
  if (fd < 0) return false;
  const bool free = take(fd, LOCK_SH);
  ::close(fd);
  return !free;
}

}  // namespace qxr

#pragma once
// An exclusive lock on a file, held by the kernel for as long as this object lives. A process
// that dies releases it, so nothing is ever stale, and taking it writes nothing to disk.
#include <string>

namespace qxr {

class FileLock {
 public:
  FileLock() = default;
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Creates the file when needed. False when another holder has it (in this or another
  // process) or the file cannot be opened.
  bool try_lock(const std::string& path);
  void unlock();
  bool locked() const { return fd_ >= 0; }

  // Some holder has the lock on path right now. Looking takes a shared lock for a moment.
  static bool is_held(const std::string& path);

 private:
  int fd_ = -1;
};

}  // namespace qxr

#include "fuzz/scratch_folder.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace qxr::fuzz {
namespace {

std::string make_folder() {
  // Memory rather than disk where there is some: the loaders write and rename files on every
  // input, and a disk file system flushes replaced files on close.
  const char* tmp = std::getenv("TMPDIR");
  std::string base = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
  if (access("/dev/shm", W_OK) == 0) base = "/dev/shm";
  std::string pattern = base + "/qxr470-fuzz-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    std::abort();
  }
  return pattern + "/";
}

void remove_folder() {
  std::error_code ec;
  std::filesystem::remove_all(scratch_folder(), ec);
}

}  // namespace

const std::string& scratch_folder() {
  // Never destroyed: the exit handler that removes the folder still needs its name.
  static const std::string* folder = [] {
    auto* f = new std::string(make_folder());
    std::atexit(remove_folder);
    return f;
  }();
  return *folder;
}

void write_file(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr || (size > 0 && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0) {
    std::perror(path.c_str());
    std::abort();
  }
}

void clear_scratch_folder() {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(scratch_folder(), ec))
    std::filesystem::remove_all(entry.path(), ec);
}

}  // namespace qxr::fuzz

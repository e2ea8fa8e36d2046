#pragma once
// A fresh folder per test, removed with everything in it, and small file helpers.
#include <string>
#include <vector>

namespace qxr::testing {

class TempFolder {
 public:
  // Throws std::runtime_error when no folder can be made.
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // The path with a trailing '/', as the program's folder names are written.
  std::string folder() const { return path_ + "/"; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  // The entries' names, sorted.
  std::vector<std::string> names() const;

 private:
  std::string path_;
};

std::string read_text(const std::string& path);
void write_text(const std::string& path, const std::string& text);

}  // namespace qxr::testing

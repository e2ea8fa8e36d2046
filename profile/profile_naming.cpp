#include "profile/profile_naming.h"

#include <algorithm>
#include <array>

namespace qxr {

namespace {
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool taken(const std::string& name, const std::vector<std::string>& names) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& n) { return NamesEqualIgnoreCase(n, name); });
}

// White space a user can type into a name field, as UTF-8.
constexpr std::array<std::string_view, 8> kBlanks = {" ",  "\t", "\n",           "\r",
                                                     "\v", "\f", "\xC2\xA0",     // no-break
                                                     "\xE3\x80\x80"};            // ideographic
}  // namespace

bool NamesEqualIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

bool IsBlankName(std::string_view name) {
  while (!name.empty()) {
    auto blank = std::find_if(kBlanks.begin(), kBlanks.end(),
                              [&](std::string_view b) { return name.starts_with(b); });
    if (blank == kBlanks.end()) return false;
    name.remove_prefix(blank->size());
  }
  return true;
}

std::string FreeProfileName(const std::vector<std::string>& names) {
  for (int n = 1;; ++n) {
    std::string name = "profile" + std::to_string(n);
    if (!taken(name, names)) return name;
  }
}

std::string CopyProfileName(const std::string& source, const std::vector<std::string>& names) {
  std::string name = source + " copy";
  while (taken(name, names)) name += " copy";
  return name;
}

std::string ImportProfileName(const std::string& base, const std::vector<std::string>& names) {
  std::string name = base;
  for (int n = 1; taken(name, names); ++n) name += "(" + std::to_string(n) + ")";
  return name;
}

std::string FileBaseName(const std::string& path) {
  auto slash = path.find_last_of('/');
  std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  auto dot = file.find_last_of('.');
  return dot == std::string::npos ? file : file.substr(0, dot);
}

}  // namespace qxr

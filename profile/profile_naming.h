#pragma once
// Names the profile list derives for new entries. Comparisons ignore ASCII case.
#include <string>
#include <string_view>
#include <vector>

namespace qxr {

bool NamesEqualIgnoreCase(std::string_view a, std::string_view b);
// True when nothing but white space (ASCII, no-break and ideographic spaces) remains.
bool IsBlankName(std::string_view name);

// "profile<n>" with the smallest n >= 1 not in names.
std::string FreeProfileName(const std::vector<std::string>& names);
// "<source> copy", with " copy" appended again while the name is taken.
std::string CopyProfileName(const std::string& source, const std::vector<std::string>& names);
// base, then base(1), base(1)(2), ... until free: the suffixes accumulate.
std::string ImportProfileName(const std::string& base, const std::vector<std::string>& names);

// The file name without folder and extension.
std::string FileBaseName(const std::string& path);

}  // namespace qxr

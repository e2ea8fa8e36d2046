#pragma once
// Diagnostic lines. Dropped cheaply unless QXR470_DEBUG is set or a capture is active;
// callers that format should check debug_enabled() first (debug_fmt does).
#include <fmt/format.h>

#include <string>
#include <string_view>
#include <vector>

namespace qxr {

bool debug_enabled() noexcept;
void debug_line(std::string_view text);

template <typename... Args>
void debug_fmt(fmt::format_string<Args...> format, Args&&... args) {
  if (debug_enabled()) debug_line(fmt::format(format, std::forward<Args>(args)...));
}

// Collects every line written while it lives (tests). Several may be active at once.
class DebugCapture {
 public:
  DebugCapture();
  ~DebugCapture();
  DebugCapture(const DebugCapture&) = delete;
  DebugCapture& operator=(const DebugCapture&) = delete;

  std::vector<std::string> lines() const;
  // Number of lines equal to text, or containing it when partial is set.
  int count(std::string_view text, bool partial = false) const;
  bool contains(std::string_view text) const { return count(text, true) > 0; }
  void clear();

 private:
  friend void debug_line(std::string_view);
  void add(std::string_view text);
  struct Impl;
  Impl* impl_;
};

}  // namespace qxr

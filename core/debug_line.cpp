#include "core/debug_line.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace qxr {

namespace {
std::mutex g_mutex;
std::vector<DebugCapture*> g_captures;  // guarded by g_mutex
std::atomic<int> g_capture_count{0};

bool env_enabled() {
  static const bool on = [] {
    const char* v = std::getenv("QXR470_DEBUG");
    return v != nullptr && *v != '\0' && std::string_view(v) != "0";
  }();
  return on;
}
}  // namespace

struct DebugCapture::Impl {
  mutable std::mutex mutex;
  std::vector<std::string> lines;
};

bool debug_enabled() noexcept {
  return g_capture_count.load(std::memory_order_relaxed) > 0 || env_enabled();
}

void debug_line(std::string_view text) {
  if (env_enabled()) {
    // One write per line so lines of different threads do not interleave.
    std::string out(text);
    if (out.empty() || out.back() != '\n') out.push_back('\n');
    std::fwrite(out.data(), 1, out.size(), stderr);
  }
  if (g_capture_count.load(std::memory_order_relaxed) == 0) return;
  std::lock_guard lock(g_mutex);
  for (DebugCapture* c : g_captures) c->add(text);
}

DebugCapture::DebugCapture() : impl_(new Impl) {
  std::lock_guard lock(g_mutex);
  g_captures.push_back(this);
  g_capture_count.fetch_add(1);
}

DebugCapture::~DebugCapture() {
  {
    std::lock_guard lock(g_mutex);
    g_captures.erase(std::remove(g_captures.begin(), g_captures.end(), this), g_captures.end());
    g_capture_count.fetch_sub(1);
  }
  delete impl_;
}

void DebugCapture::add(std::string_view text) {
  std::lock_guard lock(impl_->mutex);
  impl_->lines.emplace_back(text);
}

std::vector<std::string> DebugCapture::lines() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->lines;
}

int DebugCapture::count(std::string_view text, bool partial) const {
  std::lock_guard lock(impl_->mutex);
  return static_cast<int>(std::count_if(impl_->lines.begin(), impl_->lines.end(), [&](const std::string& l) {
    return partial ? l.find(text) != std::string::npos : l == text;
  }));
}

void DebugCapture::clear() {
  std::lock_guard lock(impl_->mutex);
  impl_->lines.clear();
}

}  // namespace qxr

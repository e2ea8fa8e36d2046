#include "profile/write_outcomes.h"

#include <mutex>

namespace qxr {
namespace {

std::mutex g_mutex;
WriteListener g_listener;  // guarded by g_mutex

}  // namespace

void SetWriteListener(WriteListener listener) {
  std::lock_guard lock(g_mutex);
  g_listener = std::move(listener);
}

void ReportWrite(const std::string& path, int error) {
  std::lock_guard lock(g_mutex);
  if (g_listener) g_listener(WriteOutcome{path, error});
}

}  // namespace qxr

#pragma once
// Every write of a stored file ends in an outcome. Whoever tells the user about writes that
// failed listens here; the files themselves stay as they were and the caller keeps its data.
#include <functional>
#include <string>

namespace qxr {

struct WriteOutcome {
  std::string path;
  int error = 0;  // 0: written; otherwise the errno of the failed step
};

// Called on the writing thread (any thread), one call at a time; it must return quickly.
using WriteListener = std::function<void(const WriteOutcome&)>;

// An empty listener stops the calls; once this returns, no call of the previous one is running.
void SetWriteListener(WriteListener listener);
void ReportWrite(const std::string& path, int error);

}  // namespace qxr

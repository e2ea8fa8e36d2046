// A short sleep between polls keeps the waiting thread from starving the ones it waits for.
#include "tests/support/wait.h"

#include <chrono>
#include <thread>

namespace qxr::testing {

bool wait_until(const std::function<bool()>& pred, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!pred()) {
    if (std::chrono::steady_clock::now() >= deadline) return pred();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

}  // namespace qxr::testing

#pragma once
// Waiting for work done on other threads, without an event loop.
#include <functional>

namespace qxr::testing {

// Polls pred until it holds or timeout_ms passed; true when it held.
bool wait_until(const std::function<bool()>& pred, int timeout_ms = 3000);

}  // namespace qxr::testing

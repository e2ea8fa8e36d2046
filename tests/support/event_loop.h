#pragma once
// Waiting in GUI tests: the event loop keeps running so that queued signals, timers and paints
// happen while the test waits for them.
#include <functional>

namespace qxr::testing::qt {

// Runs the event loop until pred holds or timeout_ms passed; returns pred's last answer.
bool wait_until(const std::function<bool()>& pred, int timeout_ms = 10000);
// Runs the event loop for ms.
void spin(int ms);
// Delivers every event posted so far, and what delivering them posts (a layout request, the
// update request it makes, the paints of that), without waiting for anything new. After it,
// nothing the test did before is still on its way; the wait does not depend on the load.
void settle();

}  // namespace qxr::testing::qt

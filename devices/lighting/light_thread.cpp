#include "devices/lighting/light_thread.h"

#include <algorithm>
#include <utility>

#include "core/debug_line.h"
#include "devices/lighting/light_cadence.h"

namespace qxr::lighting {

LightThreadRunner::LightThreadRunner(Clock& clock, uint32_t count_ms, std::string exit_line)
    : clock_(clock), count_ms_(count_ms), exit_line_(std::move(exit_line)) {}

LightThreadRunner::~LightThreadRunner() { stop(); }

bool LightThreadRunner::start(LightDriver& driver) {
  if (worker_.running()) return false;
  wake_.reset();
  steps_.store(0);
  wakeups_.store(0);
  return worker_.start([this, &driver](StopEvent& stop) { run(stop, driver); });
}

WorkerThread::StopOutcome LightThreadRunner::stop() {
  return worker_.stop([this] { wake_.set(); });
}

void LightThreadRunner::run(StopEvent& stop, LightDriver& driver) {
  LightCadence cadence(count_ms_);
  cadence.restart(clock_.now_ms());
  bool idle = false;
  while (!stop.is_set()) {
    const uint64_t now = clock_.now_ms();
    const LightPace pace = driver.pace();
    uint64_t deadline;
    if (pace.idle_ms > 0) {
      idle = true;
      deadline = now + pace.idle_ms;
    } else {
      if (idle) cadence.restart(now);  // nothing was counted while idle
      idle = false;
      cadence.set_threshold(pace.step_counts);
      if (pace.at_once || cadence.due(now) || driver.input_waiting()) {
        driver.step(now);
        steps_.fetch_add(1, std::memory_order_relaxed);
        cadence.stepped(now);
        continue;  // the step may bring the next wake forward (a frame it owes): ask again
      }
      deadline = cadence.next_deadline();
    }
    deadline = std::min(deadline, now + kMaxLightSleepMs);
    if (!clock_.sleep_until(deadline, wake_)) wake_.reset();  // poked or stopping: look again
    wakeups_.fetch_add(1, std::memory_order_relaxed);
  }
  debug_line(exit_line_);
}

}  // namespace qxr::lighting

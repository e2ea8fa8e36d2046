#pragma once
// The keyboard's light thread: steps the lighting model at its mode's cadence while the
// keyboard is reachable and not driven by the owner's synchronised lighting.
#include <functional>

#include "core/clock.h"
#include "devices/lighting/keyboard_lighting.h"
#include "devices/lighting/light_thread.h"

namespace qxr::devices {

class KeyboardLightThread : private lighting::LightDriver {
 public:
  KeyboardLightThread(lighting::KeyboardLighting& model, Clock& clock);
  ~KeyboardLightThread() override;
  KeyboardLightThread(const KeyboardLightThread&) = delete;
  KeyboardLightThread& operator=(const KeyboardLightThread&) = delete;

  // may_run is asked on every wake; while false the thread idles.
  bool start(std::function<bool()> may_run);
  WorkerThread::StopOutcome stop();
  bool running() const { return runner_.running(); }
  // The mode, speed or the may_run answer changed: look again now.
  void poke() { runner_.poke(); }
  const lighting::LightThreadRunner& runner() const { return runner_; }

 private:
  lighting::LightPace pace() override;
  void step(uint64_t now_ms) override;

  lighting::KeyboardLighting& model_;
  lighting::LightThreadRunner runner_;
  std::function<bool()> may_run_;
};

}  // namespace qxr::devices

#pragma once
// The recorder: the program's commands drive the capture, the captured sound becomes data
// blocks for the program, and the capture's state is reported whenever it changes.
#include <poll.h>
#include <pulse/mainloop.h>

#include <memory>
#include <optional>
#include <string>

#include "recorder/hop_pacer.h"
#include "recorder/program_link.h"
#include "recorder/pulse_capture.h"
#include "recorder/sound_analyser.h"

namespace qxr::recorder {

class Recorder {
 public:
  explicit Recorder(pa_mainloop_api* api);
  bool connect(const std::string& socket_path) { return link_.connect(socket_path); }
  // The loop's waits follow the hops of the sound (see HopPacer); the program's commands are
  // still taken at once.
  void pace(pa_mainloop* loop);

 private:
  void on_request(const music::RecorderRequest& request);
  void on_samples(std::span<const float> samples);
  void quit();
  static int paced_poll(pollfd* fds, unsigned long count, int timeout_ms, void* self);

  pa_mainloop_api* api_;
  ProgramLink link_;
  PulseCapture capture_;
  std::unique_ptr<SoundAnalyser> analyser_;
  std::optional<HopPacer> pacer_;
  music::StyleColour colour_{music::kStyleSteps, music::kStyleSteps, music::kStyleSteps};
  bool attached_ = false;
  music::SampleFrame spectrum_{};
  LevelsBlock levels_{};
  std::array<uint8_t, music::kSpectrumBlockBytes> bytes_{};
};

}  // namespace qxr::recorder

#pragma once
// Capturing what the computer plays with libpulse's asynchronous API (PulseAudio, and
// PipeWire's pulse server): one mono recording stream on the monitor of the default output,
// asking for 10 ms fragments with latency adjustment so that the sound arrives evenly, not in
// bursts. It follows the user's changes of the default output, and while it is wanted it keeps
// trying: a server that is not there is tried again every 2 s, an output that is missing
// whenever the server's outputs change.
#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/mainloop-api.h>
#include <pulse/stream.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "music/recorder_link.h"

namespace qxr::recorder {

inline constexpr uint64_t kFragmentUsec = 10'000;
inline constexpr uint64_t kServerRetryUsec = 2'000'000;
inline constexpr char kStreamName[] = "music lighting";

class PulseCapture {
 public:
  struct Listener {
    std::function<void(unsigned rate)> stream_opened;
    std::function<void(std::span<const float> samples)> samples;
    std::function<void(music::RecorderState state)> state;
  };

  PulseCapture(pa_mainloop_api* api, Listener listener);
  ~PulseCapture();
  PulseCapture(const PulseCapture&) = delete;
  PulseCapture& operator=(const PulseCapture&) = delete;

  void start();
  // No stream and no server connection any more.
  void stop();
  bool capturing() const { return stream_ != nullptr && state_ == music::RecorderState::Capturing; }

 private:
  static void on_context_state(pa_context* context, void* self);
  static void on_event(pa_context* context, pa_subscription_event_type_t type, uint32_t index, void* self);
  static void on_server_info(pa_context* context, const pa_server_info* info, void* self);
  static void on_sink_info(pa_context* context, const pa_sink_info* info, int eol, void* self);
  static void on_stream_state(pa_stream* stream, void* self);
  static void on_read(pa_stream* stream, size_t bytes, void* self);
  static void on_retry(pa_mainloop_api* api, pa_time_event* event, const struct timeval* tv, void* self);

  void connect_server();
  void drop_server();
  void look_up_output();
  void open_stream(const char* monitor, unsigned rate);
  void close_stream();
  void report(music::RecorderState state);
  void retry_later();

  pa_mainloop_api* api_;
  Listener listener_;
  bool wanted_ = false;
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;
  pa_time_event* retry_ = nullptr;
  std::string sink_;  // the output whose monitor the stream records
  bool have_state_ = false;
  music::RecorderState state_ = music::RecorderState::Idle;
};

}  // namespace qxr::recorder

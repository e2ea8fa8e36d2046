#include "recorder/pulse_capture.h"

#include <pulse/introspect.h>
#include <pulse/subscribe.h>
#include <pulse/timeval.h>

#include <cstdio>

namespace qxr::recorder {

using music::RecorderState;

PulseCapture::PulseCapture(pa_mainloop_api* api, Listener listener) : api_(api), listener_(std::move(listener)) {}

PulseCapture::~PulseCapture() {
  wanted_ = false;
  drop_server();
}

void PulseCapture::report(RecorderState state) {
  if (have_state_ && state == state_) return;
  have_state_ = true;
  state_ = state;
  if (listener_.state) listener_.state(state);
}

void PulseCapture::start() {
  if (wanted_) return;
  wanted_ = true;
  connect_server();
}

void PulseCapture::stop() {
  if (!wanted_) return;
  wanted_ = false;
  drop_server();
  report(RecorderState::Idle);
}

void PulseCapture::connect_server() {
  drop_server();
  context_ = pa_context_new(api_, "qxr470-recorder");
  if (context_ == nullptr) {
    report(RecorderState::NoSoundServer);
    retry_later();
    return;
  }
  pa_context_set_state_callback(context_, &PulseCapture::on_context_state, this);
  if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
    drop_server();
    report(RecorderState::NoSoundServer);
    retry_later();
  }
}

void PulseCapture::drop_server() {
  if (retry_ != nullptr) {
    api_->time_free(retry_);
    retry_ = nullptr;
  }
  close_stream();
  if (context_ == nullptr) return;
  pa_context_set_state_callback(context_, nullptr, nullptr);
  pa_context_set_subscribe_callback(context_, nullptr, nullptr);
  pa_context_disconnect(context_);
  pa_context_unref(context_);
  context_ = nullptr;
}

void PulseCapture::retry_later() {
  if (!wanted_ || retry_ != nullptr) return;
  struct timeval when;
  pa_gettimeofday(&when);
  pa_timeval_add(&when, kServerRetryUsec);
  retry_ = api_->time_new(api_, &when, &PulseCapture::on_retry, this);
}

void PulseCapture::on_retry(pa_mainloop_api* api, pa_time_event* event, const struct timeval*, void* self) {
  auto* capture = static_cast<PulseCapture*>(self);
  api->time_free(event);
  capture->retry_ = nullptr;
  if (!capture->wanted_) return;
  if (capture->context_ != nullptr && pa_context_get_state(capture->context_) == PA_CONTEXT_READY) {
    capture->look_up_output();
  } else {
    capture->connect_server();
  }
}

void PulseCapture::on_context_state(pa_context* context, void* self) {
  auto* capture = static_cast<PulseCapture*>(self);
  switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
      pa_context_set_subscribe_callback(context, &PulseCapture::on_event, capture);
      pa_operation_unref(pa_context_subscribe(
          context, static_cast<pa_subscription_mask_t>(PA_SUBSCRIPTION_MASK_SERVER | PA_SUBSCRIPTION_MASK_SINK), nullptr,
          nullptr));
      capture->look_up_output();
      break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
      // Not from here: the callback's context is still in use by libpulse.
      capture->close_stream();
      capture->report(RecorderState::NoSoundServer);
      capture->retry_later();
      break;
    default:
      break;
  }
}

void PulseCapture::on_event(pa_context*, pa_subscription_event_type_t type, uint32_t, void* self) {
  auto* capture = static_cast<PulseCapture*>(self);
  const auto facility = type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
  const auto kind = type & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
  // The default output changed, or outputs came or went.
  if (facility == PA_SUBSCRIPTION_EVENT_SERVER ||
      (facility == PA_SUBSCRIPTION_EVENT_SINK && kind != PA_SUBSCRIPTION_EVENT_CHANGE)) {
    capture->look_up_output();
  }
}

void PulseCapture::look_up_output() {
  if (!wanted_ || context_ == nullptr) return;
  pa_operation* op = pa_context_get_server_info(context_, &PulseCapture::on_server_info, this);
  if (op != nullptr) pa_operation_unref(op);
}

void PulseCapture::on_server_info(pa_context* context, const pa_server_info* info, void* self) {
  auto* capture = static_cast<PulseCapture*>(self);
  if (!capture->wanted_) return;
  if (info == nullptr || info->default_sink_name == nullptr || info->default_sink_name[0] == '\0') {
    capture->close_stream();
    capture->report(RecorderState::NoOutput);
    return;
  }
  if (capture->stream_ != nullptr && capture->sink_ == info->default_sink_name) return;
  pa_operation* op = pa_context_get_sink_info_by_name(context, info->default_sink_name, &PulseCapture::on_sink_info, capture);
  if (op != nullptr) pa_operation_unref(op);
}

void PulseCapture::on_sink_info(pa_context*, const pa_sink_info* info, int eol, void* self) {
  auto* capture = static_cast<PulseCapture*>(self);
  if (!capture->wanted_) return;
  if (eol < 0) {  // the default output vanished between the two questions
    capture->close_stream();
    capture->report(RecorderState::NoOutput);
    return;
  }
  if (info == nullptr || info->monitor_source_name == nullptr) return;
  capture->sink_ = info->name;
  capture->open_stream(info->monitor_source_name, info->sample_spec.rate);
}

void PulseCapture::open_stream(const char* monitor, unsigned rate) {
  close_stream();
  const pa_sample_spec spec{PA_SAMPLE_FLOAT32NE, rate, 1};
  stream_ = pa_stream_new(context_, kStreamName, &spec, nullptr);
  if (stream_ == nullptr) {
    report(RecorderState::NoOutput);
    return;
  }
  pa_buffer_attr attr;
  attr.maxlength = static_cast<uint32_t>(-1);
  attr.tlength = attr.prebuf = attr.minreq = static_cast<uint32_t>(-1);
  attr.fragsize = static_cast<uint32_t>(pa_usec_to_bytes(kFragmentUsec, &spec));
  pa_stream_set_state_callback(stream_, &PulseCapture::on_stream_state, this);
  pa_stream_set_read_callback(stream_, &PulseCapture::on_read, this);
  // Not moved by the server to some other source: when the output goes, we choose again.
  const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE);
  if (pa_stream_connect_record(stream_, monitor, &attr, flags) < 0) {
    close_stream();
    report(RecorderState::NoOutput);
    return;
  }
  if (listener_.stream_opened) listener_.stream_opened(rate);
}

void PulseCapture::close_stream() {
  if (stream_ == nullptr) return;
  pa_stream_set_state_callback(stream_, nullptr, nullptr);
  pa_stream_set_read_callback(stream_, nullptr, nullptr);
  pa_stream_disconnect(stream_);
  pa_stream_unref(stream_);
  stream_ = nullptr;
  sink_.clear();
}

void PulseCapture::on_stream_state(pa_stream* stream, void* self) {
  auto* capture = static_cast<PulseCapture*>(self);
  switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY:
      capture->report(RecorderState::Capturing);
      break;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
      // The output went away: look for the default again, now and whenever outputs change.
      capture->close_stream();
      capture->report(RecorderState::NoOutput);
      capture->retry_later();
      break;
    default:
      break;
  }
}

void PulseCapture::on_read(pa_stream* stream, size_t, void* self) {
  auto* capture = static_cast<PulseCapture*>(self);
  const void* data = nullptr;
  size_t bytes = 0;
  while (pa_stream_readable_size(stream) > 0) {
    if (pa_stream_peek(stream, &data, &bytes) < 0) return;
    if (bytes == 0) return;
    // A hole (nullptr) is a gap in the sound: nothing to analyse.
    if (data != nullptr && capture->listener_.samples) {
      capture->listener_.samples({static_cast<const float*>(data), bytes / sizeof(float)});
    }
    pa_stream_drop(stream);
  }
}

}  // namespace qxr::recorder

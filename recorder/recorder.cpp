#include "recorder/recorder.h"

#include <algorithm>
#include <ctime>

namespace qxr::recorder {

using music::RecorderCommand;

Recorder::Recorder(pa_mainloop_api* api)
    : api_(api),
      link_(api, [this](const music::RecorderRequest& r) { on_request(r); }, [this] { quit(); }),
      capture_(api, PulseCapture::Listener{
                        [this](unsigned rate) {
                          if (!analyser_ || analyser_->rate() != rate) analyser_ = std::make_unique<SoundAnalyser>(rate);
                          analyser_->set_colour(colour_);
                          pacer_.emplace(rate, analyser_->hop());
                        },
                        [this](std::span<const float> samples) { on_samples(samples); },
                        [this](music::RecorderState state) {
                          if (pacer_) pacer_->reset();
                          link_.send(music::state_line(state), false);
                        }}) {}

void Recorder::pace(pa_mainloop* loop) { pa_mainloop_set_poll_func(loop, &Recorder::paced_poll, this); }

int Recorder::paced_poll(pollfd* fds, unsigned long count, int timeout_ms, void* self) {
  auto* recorder = static_cast<Recorder*>(self);
  std::optional<HopPacer>& pacer = recorder->pacer_;
  const auto now = HopPacer::Clock::now();
  const auto hold = pacer ? pacer->hold_until() : std::nullopt;
  // timeout 0: libpulse has work queued. An unsent line needs the socket watched for room.
  if (hold && *hold > now && timeout_ms != 0 && !recorder->link_.waiting_to_write()) {
    auto wait = *hold - now;
    if (timeout_ms > 0) wait = std::min<HopPacer::Clock::duration>(wait, std::chrono::milliseconds(timeout_ms));
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
    const timespec span{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
    pollfd link{recorder->link_.fd(), POLLIN, 0};
    ppoll(&link, 1, &span, nullptr);
    pacer->woke(HopPacer::Clock::now(), true);
    return poll(fds, count, 0);
  }
  const int ready = poll(fds, count, timeout_ms);
  if (pacer) pacer->woke(HopPacer::Clock::now(), false);
  return ready;
}

void Recorder::quit() {
  capture_.stop();
  api_->quit(api_, 0);
}

void Recorder::on_request(const music::RecorderRequest& request) {
  if (request.kind == music::RecorderRequest::Kind::Colour) {
    colour_ = request.colour;
    if (analyser_) analyser_->set_colour(colour_);
    return;
  }
  switch (request.command) {
    case RecorderCommand::Attach:
      attached_ = true;
      break;
    case RecorderCommand::Start:
      capture_.start();
      break;
    case RecorderCommand::Stop:
      capture_.stop();
      break;
    case RecorderCommand::Reset:
      if (analyser_) analyser_->reset();
      if (pacer_) pacer_->reset();
      break;
    case RecorderCommand::Detach:
      attached_ = false;
      if (pacer_) pacer_->reset();
      break;
    case RecorderCommand::Quit:
      quit();
      break;
  }
}

void Recorder::on_samples(std::span<const float> samples) {
  if (pacer_) pacer_->read(samples.size());
  if (!analyser_ || !analyser_->add(samples) || !attached_) return;
  analyser_->analyse(spectrum_, levels_);
  if (pacer_) pacer_->hop_done();
  for (size_t i = 0; i < spectrum_.size(); ++i) {
    const auto v = static_cast<uint32_t>(spectrum_[i]);
    for (size_t b = 0; b < 4; ++b) bytes_[i * 4 + b] = static_cast<uint8_t>(v >> (8 * b));
  }
  // Both blocks in one write: they belong together, and it halves the writes of a busy stream.
  link_.send(music::data_line(music::kSpectrumBlock, bytes_) + music::data_line(music::kLevelsBlock, levels_), true);
}

}  // namespace qxr::recorder

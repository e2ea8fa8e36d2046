#include "recorder/recorder.h"

namespace qxr::recorder {

using music::RecorderCommand;

Recorder::Recorder(pa_mainloop_api* api)
    : api_(api),
      link_(api, [this](const music::RecorderRequest& r) { on_request(r); }, [this] { quit(); }),
      capture_(api, PulseCapture::Listener{
                        [this](unsigned rate) {
                          if (!analyser_ || analyser_->rate() != rate) analyser_ = std::make_unique<SoundAnalyser>(rate);
                          analyser_->set_colour(colour_);
                        },
                        [this](std::span<const float> samples) { on_samples(samples); },
                        [this](music::RecorderState state) { link_.send(music::state_line(state), false); }}) {}

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
      break;
    case RecorderCommand::Detach:
      attached_ = false;
      break;
    case RecorderCommand::Quit:
      quit();
      break;
  }
}

void Recorder::on_samples(std::span<const float> samples) {
  if (!analyser_ || !analyser_->add(samples) || !attached_) return;
  analyser_->analyse(spectrum_, levels_);
  for (size_t i = 0; i < spectrum_.size(); ++i) {
    const auto v = static_cast<uint32_t>(spectrum_[i]);
    for (size_t b = 0; b < 4; ++b) bytes_[i * 4 + b] = static_cast<uint8_t>(v >> (8 * b));
  }
  // Both blocks in one write: they belong together, and it halves the writes of a busy stream.
  link_.send(music::data_line(music::kSpectrumBlock, bytes_) + music::data_line(music::kLevelsBlock, levels_), true);
}

}  // namespace qxr::recorder

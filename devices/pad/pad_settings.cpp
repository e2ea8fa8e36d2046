#include "devices/pad/pad_settings.h"

#include <array>

#include "protocol/command_transaction.h"

namespace qxr::devices {

namespace {
constexpr uint16_t kActiveProfileAddress = 0;

uint16_t read_base(int profile) { return static_cast<uint16_t>(profile * kPadBlockReadStride); }
}  // namespace

int PadSettings::read(protocol::CommandChannel& channel, uint8_t* out_profile) {
  if (!channel.opened()) return protocol::kResultNoReply;
  uint8_t active = 0;
  std::array<uint8_t, kPadBlockReadSize> bytes{};
  int r = channel.read_params(&active, 1, kActiveProfileAddress);
  if (r == protocol::kResultOk) r = channel.read_params(bytes.data(), bytes.size(), read_base(active));
  if (r != protocol::kResultOk) return r;
  {
    std::lock_guard lock(mutex_);
    previous_ = block_;
    block_ = pad_block_from_read(bytes, active);
    read_ = true;
  }
  if (out_profile) *out_profile = active;
  return r;
}

int PadSettings::fetch_device_bytes(protocol::CommandChannel& channel, int onboard_profile) {
  std::array<uint8_t, kPadBlockReadSize> bytes{};
  int r = channel.read_params(bytes.data(), bytes.size(), read_base(onboard_profile));
  if (r != protocol::kResultOk) return r;
  std::lock_guard lock(mutex_);
  take_device_bytes(block_, bytes);
  block_[kPadBlockProfile] = static_cast<uint8_t>(onboard_profile);
  read_ = true;
  return r;
}

int PadSettings::write(protocol::CommandChannel& channel, int onboard_profile) {
  if (!channel.opened()) return protocol::kResultNoReply;
  if (!read_from_device()) {
    // Without the device's own bytes nothing is sent: zeros would replace them.
    if (int r = fetch_device_bytes(channel, onboard_profile); r != protocol::kResultOk) return r;
  }
  const PadSettingsBlock sent = pad_block_for_send(block());
  protocol::CommandTransaction tx(channel);
  tx.run([&] {
    return channel.write_params(sent.data(), sent.size(), static_cast<uint16_t>(onboard_profile * kPadBlockWriteStride));
  });
  return tx.finish();
}

void PadSettings::take_light(const LightInfo& light) {
  std::lock_guard lock(mutex_);
  take_light_into_pad_block(block_, light);
}

PadSettingsBlock PadSettings::block() const {
  std::lock_guard lock(mutex_);
  return block_;
}

PadSettingsBlock PadSettings::previous() const {
  std::lock_guard lock(mutex_);
  return previous_;
}

bool PadSettings::read_from_device() const {
  std::lock_guard lock(mutex_);
  return read_;
}

LoopLightSettings PadSettings::light_settings(uint8_t fx) const {
  std::lock_guard lock(mutex_);
  return pad_light_settings(block_, fx);
}

}  // namespace qxr::devices

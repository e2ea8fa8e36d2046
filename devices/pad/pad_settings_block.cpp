#include "devices/pad/pad_settings_block.h"

#include <algorithm>

#include "devices/keyboard/settings_block.h"

namespace qxr::devices {

PadSettingsBlock pad_block_from_read(std::span<const uint8_t, kPadBlockReadSize> read, uint8_t profile) {
  PadSettingsBlock block{};
  std::copy_n(read.begin(), kPadBlockSize, block.begin());
  block[kPadBlockProfile] = profile;
  block[kPadBlockSpeed] = turn_speed(block[kPadBlockSpeed]);
  return block;
}

PadSettingsBlock pad_block_for_send(const PadSettingsBlock& stored) {
  PadSettingsBlock sent = stored;
  sent[kPadBlockSpeed] = turn_speed(stored[kPadBlockSpeed]);
  return sent;
}

void take_light_into_pad_block(PadSettingsBlock& block, const LightInfo& light) {
  block[kPadBlockMode] = light.select_item;
  block[kPadBlockLight] = light.light;
  block[kPadBlockSpeed] = light.speed;
  block[kPadBlockMultiColor] = light.multi_color;
  block[kPadBlockRed] = light.red;
  block[kPadBlockGreen] = light.green;
  block[kPadBlockBlue] = light.blue;
}

void take_device_bytes(PadSettingsBlock& block, std::span<const uint8_t, kPadBlockReadSize> read) {
  block[kPadBlockUnused] = read[kPadBlockUnused];
  std::copy(read.begin() + kPadBlockDeviceOwned, read.begin() + kPadBlockSize,
            block.begin() + kPadBlockDeviceOwned);
}

LoopLightSettings pad_light_settings(const PadSettingsBlock& block, uint8_t fx) {
  LoopLightSettings s;
  s.mode = block[kPadBlockMode];
  s.light = block[kPadBlockLight];
  s.speed = block[kPadBlockSpeed];
  s.fx = fx;
  s.multi_color = block[kPadBlockMultiColor];
  s.colour = {block[kPadBlockRed], block[kPadBlockGreen], block[kPadBlockBlue]};
  return s;
}

}  // namespace qxr::devices

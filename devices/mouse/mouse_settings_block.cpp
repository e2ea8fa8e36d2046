#include "devices/mouse/mouse_settings_block.h"

#include <algorithm>
#include <cstring>

#include "devices/keyboard/settings_block.h"

namespace qxr::devices {

namespace {
void put_le16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v & 0xFF);
  p[1] = static_cast<uint8_t>(v >> 8);
}
}  // namespace

MouseSettingsBlock encode_mouse_settings_block(const MouseSettingsInputs& in) {
  MouseSettingsBlock b{};
  b[kMouseBlockProfile] = in.profile_byte;
  b[kMouseBlockMode] = in.light.select_item > kMouseLastMode ? 0 : in.light.select_item;
  b[kMouseBlockLight] = in.light.light;
  b[kMouseBlockSpeed] = turn_speed(in.light.speed);
  b[kMouseBlockFx] = in.light.fx;
  b[kMouseBlockMultiColor] = in.light.multi_color;
  b[kMouseBlockRed] = in.light.red;
  b[kMouseBlockGreen] = in.light.green;
  b[kMouseBlockBlue] = in.light.blue;
  b[kMouseBlockPolling] = static_cast<uint8_t>(polling_option(in.polling_option));
  // A stage index the mouse does not have would select nothing there: the first stage instead.
  const bool stage_ok = in.current_stage >= 0 && static_cast<size_t>(in.current_stage) < kMouseStageCount;
  b[kMouseBlockCurrentStage] = static_cast<uint8_t>(stage_ok ? in.current_stage : 0);
  const size_t stages = std::min(in.stages.size(), kMouseStageCount);
  for (size_t i = 0; i < stages; ++i)
    std::memcpy(&b[kMouseBlockStages + i * kDpiStageSize], &in.stages[i], kDpiStageSize);
  b[kMouseBlockThird] = in.third;
  put_le16(&b[kMouseBlockScreenWidth], in.screen_width);
  put_le16(&b[kMouseBlockScreenHeight], in.screen_height);
  auto selected = std::find_if(in.corrections.begin(), in.corrections.end(),
                               [](const CorrectEntry& e) { return e.select != 0; });
  if (selected != in.corrections.end()) {
    b[kMouseBlockCorrectMinSq] = selected->min_sq;
    b[kMouseBlockCorrectPixThresh] = selected->pix_thresh;
  }
  return b;
}

LightInfo light_from_mouse_block(const MouseBlockRead& block, const LightInfo& previous) {
  LightInfo l = previous;
  l.select_item = block[kMouseBlockMode];
  l.light = block[kMouseBlockLight];
  l.speed = turn_speed(block[kMouseBlockSpeed]);
  l.multi_color = block[kMouseBlockMultiColor];
  l.red = block[kMouseBlockRed];
  l.green = block[kMouseBlockGreen];
  l.blue = block[kMouseBlockBlue];
  return l;
}

}  // namespace qxr::devices

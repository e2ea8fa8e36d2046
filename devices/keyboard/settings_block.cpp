#include "devices/keyboard/settings_block.h"

namespace qxr::devices {

int device_mode_of(uint8_t mode_index, std::span<const int> mode_table) {
  return mode_index < mode_table.size() ? mode_table[mode_index] : mode_index;
}

uint8_t mode_index_of(uint8_t device_mode, std::span<const int> mode_table) {
  for (size_t i = 0; i < mode_table.size(); ++i)
    if (mode_table[i] == device_mode) return static_cast<uint8_t>(i);
  return device_mode;
}

KeyboardSettingsBlock encode_settings_block(const LightInfo& light,
                                            const KeyboardSystemStages& stages,
                                            std::span<const int> mode_table, uint8_t profile_byte) {
  KeyboardSettingsBlock b{};
  int mode = device_mode_of(light.select_item, mode_table);
  b[kBlockProfile] = profile_byte;
  b[kBlockMode] = (mode == kDeviceModeMusic || mode == kDeviceModeFedColour)
                      ? kModeUnchanged
                      : static_cast<uint8_t>(mode);
  b[kBlockLight] = light.light;
  b[kBlockSpeed] = turn_speed(light.speed);
  b[kBlockFx] = light.fx;
  b[kBlockMultiColor] = light.multi_color;
  b[kBlockRed] = light.red;
  b[kBlockGreen] = light.green;
  b[kBlockBlue] = light.blue;
  b[kBlockZzccLedMode] = light.zzcc_led_mode;
  b[kBlockWFlag] = static_cast<uint8_t>(stages.w_flag);
  b[kBlockKey6Flag] = static_cast<uint8_t>(stages.key6_flag);
  b[kBlockWinFlag] = static_cast<uint8_t>(stages.win_flag);
  b[kBlockPollingRate] = static_cast<uint8_t>(stages.polling_rate);
  b[kBlockCustomGroup] = light.custom_group;
  return b;
}

CondensedSettings condensed_from_light_info(const LightInfo& light) {
  CondensedSettings c;
  c.mode = light.select_item;
  c.light = light.light;
  c.speed = light.speed;
  c.fx = light.fx;
  c.multi_color = light.multi_color;
  c.red = light.red;
  c.green = light.green;
  c.blue = light.blue;
  c.zzcc_led_mode = light.zzcc_led_mode;
  c.custom_group = light.custom_group;
  return c;
}

DecodedSettings decode_settings_block(const KeyboardSettingsBlock& block,
                                      std::span<const int> mode_table,
                                      const LightInfo& previous_light,
                                      const KeyboardSystemStages& previous_stages) {
  DecodedSettings d;
  d.light = previous_light;
  bool keep_mode = block[kBlockMode] == kModeUnchanged;
  uint8_t mode = keep_mode ? previous_light.select_item : mode_index_of(block[kBlockMode], mode_table);
  d.mode_changed = mode != previous_light.select_item;

  d.light.select_item = mode;
  d.light.light = block[kBlockLight];
  d.light.speed = turn_speed(block[kBlockSpeed]);
  d.light.fx = block[kBlockFx];
  d.light.multi_color = block[kBlockMultiColor];
  d.light.red = block[kBlockRed];
  d.light.green = block[kBlockGreen];
  d.light.blue = block[kBlockBlue];
  d.light.zzcc_led_mode = block[kBlockZzccLedMode];
  d.light.custom_group = block[kBlockCustomGroup];
  d.condensed = condensed_from_light_info(d.light);

  d.stages = previous_stages;
  d.stages.w_flag = block[kBlockWFlag];
  d.stages.key6_flag = block[kBlockKey6Flag];
  d.stages.win_flag = block[kBlockWinFlag];
  return d;
}

}  // namespace qxr::devices

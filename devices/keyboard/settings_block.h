#pragma once
// The keyboard's per-profile settings block (26 bytes at onboard profile x 25 of its
// parameter memory):
//   0 onboard profile, 1 device mode number (0xFE: unchanged / host-driven), 2 "Light",
//   3 4 - "Speed", 4 "Fx", 5 "MultiColor", 6-8 colour, 9-17 0, 18 "ZZCCLedMode", 19 "WFlag",
//   20 "Key6Flag", 21 "WinFlag", 22 "PollingRate", 23-24 0, 25 "CustomGroup".
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "profile/records.h"

namespace qxr::devices {

inline constexpr size_t kSettingsBlockSize = 26;
inline constexpr uint16_t kSettingsBlockStride = 25;
using KeyboardSettingsBlock = std::array<uint8_t, kSettingsBlockSize>;

inline constexpr size_t kBlockProfile = 0;
inline constexpr size_t kBlockMode = 1;
inline constexpr size_t kBlockLight = 2;
inline constexpr size_t kBlockSpeed = 3;
inline constexpr size_t kBlockFx = 4;
inline constexpr size_t kBlockMultiColor = 5;
inline constexpr size_t kBlockRed = 6;
inline constexpr size_t kBlockGreen = 7;
inline constexpr size_t kBlockBlue = 8;
inline constexpr size_t kBlockCleared = 16;  // cleared in the kept copy of a read block
inline constexpr size_t kBlockZzccLedMode = 18;
inline constexpr size_t kBlockWFlag = 19;
inline constexpr size_t kBlockKey6Flag = 20;
inline constexpr size_t kBlockWinFlag = 21;
inline constexpr size_t kBlockPollingRate = 22;
inline constexpr size_t kBlockCustomGroup = 25;

// Mode number meaning "no mode of its own": the keyboard takes frames from the host.
inline constexpr uint8_t kModeUnchanged = 0xFE;
// Device mode numbers of the host-streamed modes, which the keyboard receives as 0xFE.
inline constexpr uint8_t kDeviceModeMusic = 21;
inline constexpr uint8_t kDeviceModeFedColour = 22;
inline constexpr uint8_t kMaxSpeed = 4;

// The lighting settings the light thread runs on, as last read from the keyboard or taken
// from the profile.
struct CondensedSettings {
  uint8_t mode = 0;
  uint8_t light = 0;
  uint8_t speed = 0;  // already turned back: 0 slow ... 4 fast
  uint8_t fx = 0;
  uint8_t multi_color = 0;
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t zzcc_led_mode = 0;
  uint8_t custom_group = 0;
  bool operator==(const CondensedSettings&) const = default;
};

// Speed travels turned back (4 - speed); anything above 4 counts as 4.
inline uint8_t turn_speed(uint8_t speed) {
  return static_cast<uint8_t>(kMaxSpeed - (speed > kMaxSpeed ? kMaxSpeed : speed));
}

// Mode index -> device mode number (the index itself when the table has no such row).
int device_mode_of(uint8_t mode_index, std::span<const int> mode_table);
// Device mode number -> the first mode index holding it (the number itself when none does).
uint8_t mode_index_of(uint8_t device_mode, std::span<const int> mode_table);

KeyboardSettingsBlock encode_settings_block(const LightInfo& light,
                                            const KeyboardSystemStages& stages,
                                            std::span<const int> mode_table, uint8_t profile_byte);

CondensedSettings condensed_from_light_info(const LightInfo& light);

// What a block read from the keyboard means for the program's state.
struct DecodedSettings {
  CondensedSettings condensed;
  LightInfo light;               // the previous record with the block's values taken in
  KeyboardSystemStages stages;   // the previous stages with the three flags taken in
  bool mode_changed = false;
};
// previous_light / previous_stages are the state before the read; a mode byte of 0xFE keeps
// the previous mode. Repeat, repeat delay and polling rate keep their previous values.
DecodedSettings decode_settings_block(const KeyboardSettingsBlock& block,
                                      std::span<const int> mode_table,
                                      const LightInfo& previous_light,
                                      const KeyboardSystemStages& previous_stages);

}  // namespace qxr::devices

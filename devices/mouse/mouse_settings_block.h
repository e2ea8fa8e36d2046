#pragma once
// The mouse's per-profile settings block. Written as 66 bytes, read as 71, both at onboard
// profile x 128 of its parameter memory:
//   0 profile byte, 1 lighting mode 0-8, 2 "Light", 3 4 - "Speed", 4 "Fx", 5 "MultiColor",
//   6-8 colour, 9-10 0, 11 polling-rate option, 12 current DPI stage, 13 0,
//   14-58 five DPI stages of 9 bytes, 59 the caller's third value, 60-61 screen width and
//   62-63 screen height (little-endian), 64-65 the selected line correction (min square, pixel
//   threshold). Bytes 66-70 of a read are not interpreted.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "devices/mouse/dpi_stages.h"
#include "profile/records.h"

namespace qxr::devices {

inline constexpr size_t kMouseBlockWriteSize = 66;
inline constexpr size_t kMouseBlockReadSize = 71;
inline constexpr uint16_t kMouseBlockStride = 128;
using MouseSettingsBlock = std::array<uint8_t, kMouseBlockWriteSize>;
using MouseBlockRead = std::array<uint8_t, kMouseBlockReadSize>;

inline constexpr size_t kMouseBlockProfile = 0;
inline constexpr size_t kMouseBlockMode = 1;
inline constexpr size_t kMouseBlockLight = 2;
inline constexpr size_t kMouseBlockSpeed = 3;
inline constexpr size_t kMouseBlockFx = 4;
inline constexpr size_t kMouseBlockMultiColor = 5;
inline constexpr size_t kMouseBlockRed = 6;
inline constexpr size_t kMouseBlockGreen = 7;
inline constexpr size_t kMouseBlockBlue = 8;
inline constexpr size_t kMouseBlockCleared = 9;  // cleared in the kept copy of a read block
inline constexpr size_t kMouseBlockPolling = 11;
inline constexpr size_t kMouseBlockCurrentStage = 12;
inline constexpr size_t kMouseBlockStages = 14;
inline constexpr size_t kMouseBlockThird = 59;
inline constexpr size_t kMouseBlockScreenWidth = 60;
inline constexpr size_t kMouseBlockScreenHeight = 62;
inline constexpr size_t kMouseBlockCorrectMinSq = 64;
inline constexpr size_t kMouseBlockCorrectPixThresh = 65;

inline constexpr uint8_t kMouseLastMode = 8;
inline constexpr int kPollingOptionCount = 5;

// A polling-rate option outside 0-4 counts as option 0.
inline int polling_option(int value) { return value >= 0 && value < kPollingOptionCount ? value : 0; }

struct MouseSettingsInputs {
  LightInfo light;
  std::vector<DpiStage> stages;
  int current_stage = 0;
  int polling_option = 0;
  std::vector<CorrectEntry> corrections;
  uint8_t profile_byte = 0;
  uint8_t third = 1;
  uint16_t screen_width = 0;
  uint16_t screen_height = 0;
};

MouseSettingsBlock encode_mouse_settings_block(const MouseSettingsInputs& in);

// The lighting a block read from the mouse reports, taken into the previous record: mode,
// "Light", "Speed" (turned back), "MultiColor" and colour. "Fx" is not read back.
LightInfo light_from_mouse_block(const MouseBlockRead& block, const LightInfo& previous);

}  // namespace qxr::devices

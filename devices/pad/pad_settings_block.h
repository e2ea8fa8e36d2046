#pragma once
// The settings block of the mouse pad (and of the headset, which keeps the same one):
//   0 onboard profile, 1 lighting mode, 2 "Light", 3 speed, 4 not used by the program,
//   5 "MultiColor", 6-8 colour, 9-20 as last read from the device.
// The device holds the speed turned back (4 - speed); the stored block holds it as the user
// sees it, so it is turned on the way in and on the way out and a block read and sent back
// unchanged reaches the device as it came.
// Read: 26 bytes at profile x 25. Written: the 21 kept bytes at profile x 64 (both meet at
// profile 0, the only one the program writes).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "devices/loop/loop_effects.h"
#include "profile/records.h"

namespace qxr::devices {

inline constexpr size_t kPadBlockSize = 21;
inline constexpr size_t kPadBlockReadSize = 26;
inline constexpr uint16_t kPadBlockReadStride = 25;
inline constexpr uint16_t kPadBlockWriteStride = 64;
using PadSettingsBlock = std::array<uint8_t, kPadBlockSize>;

inline constexpr size_t kPadBlockProfile = 0;
inline constexpr size_t kPadBlockMode = 1;
inline constexpr size_t kPadBlockLight = 2;
inline constexpr size_t kPadBlockSpeed = 3;
inline constexpr size_t kPadBlockUnused = 4;
inline constexpr size_t kPadBlockMultiColor = 5;
inline constexpr size_t kPadBlockRed = 6;
inline constexpr size_t kPadBlockGreen = 7;
inline constexpr size_t kPadBlockBlue = 8;
inline constexpr size_t kPadBlockDeviceOwned = 9;  // 9-20: the device's own, kept as read

// The stored block from the bytes read for onboard profile p.
PadSettingsBlock pad_block_from_read(std::span<const uint8_t, kPadBlockReadSize> read, uint8_t profile);
// What is sent for a stored block.
PadSettingsBlock pad_block_for_send(const PadSettingsBlock& stored);
// The lighting of a record into the stored block (mode, "Light", "Speed", "MultiColor", colour).
void take_light_into_pad_block(PadSettingsBlock& block, const LightInfo& light);
// Keeps the block's profile and lighting bytes and takes the ones the device owns (4, 9-20)
// from a read.
void take_device_bytes(PadSettingsBlock& block, std::span<const uint8_t, kPadBlockReadSize> read);
// What the light thread runs for a stored block; the block holds no direction, so fx is given.
LoopLightSettings pad_light_settings(const PadSettingsBlock& block, uint8_t fx);

}  // namespace qxr::devices

// The headset: one consumer interface that carries the command reports and takes the chip's
// 17-byte LED output reports; a pad-like settings block and a battery.
#include "emulator/firmware_spec.h"

namespace qxr::emu {

namespace {
using namespace protocol;

constexpr uint8_t kFirmwareMajor = 3;
constexpr uint8_t kFirmwareMinor = 2;
constexpr uint8_t kProfiles = 1;
constexpr uint16_t kReadStride = 25;
constexpr uint16_t kReadSize = 26;
constexpr uint16_t kWriteStride = 64;
constexpr uint16_t kWriteSize = 21;

constexpr size_t kBlockMode = 1, kBlockLight = 2, kBlockSpeed = 3, kBlockMultiColor = 5,
                 kBlockRed = 6;
constexpr uint8_t kBatteryLevel = 60;
}  // namespace

FirmwareSpec make_headset_spec() {
  FirmwareSpec spec;
  spec.type = DeviceType::Headset;
  spec.file_id = "headset";
  spec.product_name = "Emulated headset";
  spec.vendor_id = 0x00C7;
  spec.product_id = 0x1630;
  spec.interface_number = 3;
  spec.commands = {CMD_BEGIN,       CMD_END,          CMD_READ_INFO,
                   CMD_READ_PARAMS, CMD_WRITE_PARAMS, CMD_READ_STATUS};
  spec.info[kInfoOffFirmwareMajor] = kFirmwareMajor;
  spec.info[kInfoOffFirmwareMinor] = kFirmwareMinor;
  spec.params = {kProfiles, kReadStride, kReadSize, kWriteStride, kWriteSize};
  spec.default_block.assign(kWriteSize, 0);
  spec.default_block[kBlockMode] = 2;
  spec.default_block[kBlockLight] = 3;
  spec.default_block[kBlockSpeed] = 2;
  spec.default_block[kBlockMultiColor] = 1;
  spec.default_block[kBlockRed] = 0xFF;
  spec.status[kStatusOffBattery] = kBatteryLevel;
  spec.status[kStatusOffCharging] = kOnBattery;
  spec.led_reports = true;
  return spec;
}

}  // namespace qxr::emu

// The headset: one consumer interface that carries the command reports and takes the chip's
// 17-byte LED output reports; a pad-like settings block and a battery.
#include "emulator/firmware_layout.h"

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

FirmwareLayout make_headset_layout() {
  FirmwareLayout layout;
  layout.type = DeviceType::Headset;
  layout.file_id = "headset";
  layout.product_name = "Emulated headset";
  layout.vendor_id = 0x00C7;
  layout.product_id = 0x1630;
  layout.interface_number = 3;
  layout.commands = {CMD_BEGIN,       CMD_END,          CMD_READ_INFO,
                   CMD_READ_PARAMS, CMD_WRITE_PARAMS, CMD_READ_STATUS};
  layout.info[kInfoOffFirmwareMajor] = kFirmwareMajor;
  layout.info[kInfoOffFirmwareMinor] = kFirmwareMinor;
  layout.params = {kProfiles, kReadStride, kReadSize, kWriteStride, kWriteSize};
  layout.default_block.assign(kWriteSize, 0);
  layout.default_block[kBlockMode] = 2;
  layout.default_block[kBlockLight] = 3;
  layout.default_block[kBlockSpeed] = 2;
  layout.default_block[kBlockMultiColor] = 1;
  layout.default_block[kBlockRed] = 0xFF;
  layout.status[kStatusOffBattery] = kBatteryLevel;
  layout.status[kStatusOffCharging] = kOnBattery;
  layout.led_reports = true;
  return layout;
}

}  // namespace qxr::emu

// The lighted mouse pad with its wireless phone charger: no keys, four on-board profiles whose
// 21-byte blocks are written at p × 64, and the charger's state in the status area.
#include "emulator/firmware_layout.h"

namespace qxr::emu {

namespace {
using namespace protocol;

constexpr uint8_t kFirmwareMajor = 1;
constexpr uint8_t kFirmwareMinor = 0;
constexpr uint8_t kProfiles = 4;
// The block is read as 26 bytes at p × 25 but written as 21 bytes at p × 64; both meet at
// profile 0, the only one the program writes.
constexpr uint16_t kReadStride = 25;
constexpr uint16_t kReadSize = 26;
constexpr uint16_t kWriteStride = 64;
constexpr uint16_t kWriteSize = 21;

constexpr size_t kBlockMode = 1, kBlockLight = 2, kBlockSpeed = 3, kBlockMultiColor = 5,
                 kBlockBlue = 8;
constexpr size_t kLightStreamBytes = 512;
constexpr uint8_t kMainsPowered = 100;
constexpr uint8_t kNoPhone = 0;
}  // namespace

FirmwareLayout make_pad_layout() {
  FirmwareLayout layout;
  layout.type = DeviceType::Pad;
  layout.file_id = "pad";
  layout.product_name = "Emulated mouse pad";
  layout.vendor_id = 0x320F;
  layout.product_id = 0x1004;
  layout.interface_number = 1;
  layout.commands = {CMD_BEGIN,        CMD_END,          CMD_READ_INFO,  CMD_READ_PARAMS,
                   CMD_WRITE_PARAMS, CMD_LIGHT_STREAM, CMD_READ_STATUS};
  layout.info[kInfoOffFirmwareMajor] = kFirmwareMajor;
  layout.info[kInfoOffFirmwareMinor] = kFirmwareMinor;
  layout.params = {kProfiles, kReadStride, kReadSize, kWriteStride, kWriteSize};
  layout.default_block.assign(kWriteSize, 0);
  layout.default_block[kBlockMode] = 1;
  layout.default_block[kBlockLight] = 4;
  layout.default_block[kBlockSpeed] = 2;
  layout.default_block[kBlockMultiColor] = 1;
  layout.default_block[kBlockBlue] = 0xFF;
  layout.light_stream_bytes = kLightStreamBytes;
  layout.status[kStatusOffBattery] = kMainsPowered;
  layout.status[kStatusOffCharging] = kChargingFull;
  layout.status[kStatusOffPhoneType] = kNoPhone;
  return layout;
}

}  // namespace qxr::emu

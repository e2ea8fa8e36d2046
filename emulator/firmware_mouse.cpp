// The mouse: seven buttons (forward and back wired the other way round from the program's
// logical order), DPI in steps of 50 up to 16000, four on-board profiles of 128 bytes, a
// recoil memory of four scripts and a link to its wireless receiver.
#include "emulator/firmware_layout.h"

namespace qxr::emu {

namespace {
using namespace protocol;

constexpr uint8_t kTypeButton = 0x10;
constexpr uint8_t kTypeDpi = 0x13;
constexpr uint8_t kButtonCodes[][kKeyCodeSize] = {
    {kTypeButton, 0x01, 0},  // left
    {kTypeButton, 0x02, 0},  // right
    {kTypeButton, 0x04, 0},  // middle
    {kTypeButton, 0x08, 0},  // back
    {kTypeButton, 0x10, 0},  // forward
    {kTypeDpi, 1, 0},        // DPI up
    {kTypeDpi, 2, 0},        // DPI down
};
constexpr size_t kButtons = std::size(kButtonCodes);

constexpr uint8_t kDpiStep = 50;
constexpr uint16_t kDpiSliderMax = 320;  // 16000 DPI
constexpr uint16_t kDpiMin = 100;
constexpr uint8_t kFirmwareMajor = 2;
constexpr uint8_t kFirmwareMinor = 1;

constexpr uint8_t kProfiles = 4;
constexpr uint16_t kBlockStride = 128;
constexpr uint16_t kReadSize = 71;
constexpr uint16_t kWriteSize = 66;

// Settings block fields.
constexpr size_t kBlockMode = 1, kBlockLight = 2, kBlockSpeed = 3, kBlockFx = 4,
                 kBlockMultiColor = 5, kBlockGreen = 7, kBlockPolling = 11, kBlockStage = 12,
                 kBlockStages = 14, kStageSize = 9, kStageCount = 5, kBlockScreenFlag = 59;
constexpr size_t kStageActive = 0, kStageDpiX = 2, kStageDpiY = 4, kStageRed = 6;
constexpr uint16_t kFactoryStages[kStageCount] = {16, 32, 64, 128, 240};  // slider units
constexpr uint8_t kFactoryPolling = 3;

constexpr size_t kRecoilCapacity = 4096;
constexpr int kRecoilScripts = 4;
constexpr size_t kLightStreamBytes = 512;  // 170 LEDs; the program sends what its light set names
constexpr uint8_t kBatteryLevel = 85;

void put_le16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v & 0xFF);
  p[1] = static_cast<uint8_t>(v >> 8);
}
}  // namespace

FirmwareLayout make_mouse_layout() {
  FirmwareLayout layout;
  layout.type = DeviceType::Mouse;
  layout.file_id = "mouse";
  layout.product_name = "Emulated mouse";
  layout.vendor_id = 0x0000;
  layout.product_id = 0x0000;
  layout.interface_number = 1;
  layout.commands = {CMD_BEGIN,      CMD_END,          CMD_READ_INFO,   CMD_READ_PARAMS,
                   CMD_WRITE_PARAMS, CMD_READ_KEYS,  CMD_WRITE_KEYS,  CMD_LIGHT_STREAM,
                   CMD_WRITE_RECOIL, CMD_READ_STATUS, CMD_LINK_QUERY};
  layout.info[kInfoOffFirmwareMajor] = kFirmwareMajor;
  layout.info[kInfoOffFirmwareMinor] = kFirmwareMinor;
  layout.info[kInfoOffKeyCount] = static_cast<uint8_t>(kButtons);
  layout.info[kInfoOffDpiStep] = kDpiStep;
  put_le16(&layout.info[kInfoOffDpiSliderMax], kDpiSliderMax);
  put_le16(&layout.info[kInfoOffDpiMin], kDpiMin);

  for (const auto& code : kButtonCodes) layout.key_table.insert(layout.key_table.end(), code, code + 3);

  layout.params = {kProfiles, kBlockStride, kReadSize, kBlockStride, kWriteSize};
  layout.default_block.assign(kReadSize, 0);
  uint8_t* b = layout.default_block.data();
  b[kBlockMode] = 0;
  b[kBlockLight] = 4;
  b[kBlockSpeed] = 2;
  b[kBlockFx] = 1;
  b[kBlockMultiColor] = 1;
  b[kBlockGreen] = 0xFF;
  b[kBlockPolling] = kFactoryPolling;
  b[kBlockStage] = 1;
  for (size_t i = 0; i < kStageCount; ++i) {
    uint8_t* stage = b + kBlockStages + i * kStageSize;
    stage[kStageActive] = 1;
    put_le16(stage + kStageDpiX, kFactoryStages[i]);
    put_le16(stage + kStageDpiY, kFactoryStages[i]);
    stage[kStageRed + i % 3] = 0xFF;
  }
  b[kBlockScreenFlag] = 1;

  layout.recoil_capacity = kRecoilCapacity;
  layout.recoil_records = kRecoilScripts;
  layout.light_stream_bytes = kLightStreamBytes;
  layout.status[kStatusOffBattery] = kBatteryLevel;
  layout.status[kStatusOffCharging] = kOnBattery;
  return layout;
}

}  // namespace qxr::emu

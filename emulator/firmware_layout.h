#pragma once
// What one device model's firmware holds and answers, as data. Each model fills one
// FirmwareLayout (firmware_<model>.cpp); firmware_layout() is the one place that registers them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "emulator/device_type.h"
#include "protocol/command_report.h"

namespace qxr::emu {

// The firmware's memories. Each data command addresses one of them; the last two are only
// filled by traffic (the light stream frame and the headset's LED reports).
enum class Memory : uint8_t {
  kInfo,
  kParams,
  kKeys,
  kLedMap,
  kKeyColours,
  kMacros,
  kRecoil,
  kStatus,
  kLightFrame,
  kHeadsetLeds,
};
inline constexpr size_t kMemoryCount = 10;

// "info", "params", "keys", "ledmap", "colours", "macros", "recoil", "status", "light", "leds".
std::string_view memory_name(Memory memory);
bool parse_memory(std::string_view name, Memory* out);

enum class Access : uint8_t { kControl, kRead, kWrite, kLinkQuery };

struct CommandEntry {
  uint8_t code;
  Memory memory;  // meaningless for kControl and kLinkQuery
  Access access;
};

// The command set as every firmware decodes it; a model answers only those it lists.
inline constexpr CommandEntry kCommandTable[] = {
    {protocol::CMD_BEGIN, Memory::kInfo, Access::kControl},
    {protocol::CMD_END, Memory::kInfo, Access::kControl},
    {protocol::CMD_READ_INFO, Memory::kInfo, Access::kRead},
    {protocol::CMD_READ_PARAMS, Memory::kParams, Access::kRead},
    {protocol::CMD_WRITE_PARAMS, Memory::kParams, Access::kWrite},
    {protocol::CMD_READ_KEYS, Memory::kKeys, Access::kRead},
    {protocol::CMD_WRITE_KEYS, Memory::kKeys, Access::kWrite},
    {protocol::CMD_WRITE_KEY_COLOURS, Memory::kKeyColours, Access::kWrite},
    {protocol::CMD_LIGHT_STREAM, Memory::kLightFrame, Access::kWrite},
    {protocol::CMD_WRITE_MACROS, Memory::kMacros, Access::kWrite},
    {protocol::CMD_WRITE_RECOIL, Memory::kRecoil, Access::kWrite},
    {protocol::CMD_READ_STATUS, Memory::kStatus, Access::kRead},
    {protocol::CMD_READ_LED_MAP, Memory::kLedMap, Access::kRead},
    {protocol::CMD_HOST_LIGHTING, Memory::kInfo, Access::kControl},
    {protocol::CMD_LINK_QUERY, Memory::kInfo, Access::kLinkQuery},
};
const CommandEntry* find_command(uint8_t code);

inline constexpr size_t kInfoSize = 34;
inline constexpr size_t kInfoOffKeyCount = 5;
inline constexpr size_t kInfoOffMacroCapacity = 6;  // in units of kMacroCapacityUnit
inline constexpr size_t kMacroCapacityUnit = 128;
inline constexpr size_t kInfoOffDpiStep = 11;
inline constexpr size_t kInfoOffDpiSliderMax = 12;  // 16-bit little-endian
inline constexpr size_t kInfoOffDpiMin = 14;        // 16-bit little-endian
inline constexpr size_t kInfoOffFirmwareMajor = 0;
inline constexpr size_t kInfoOffFirmwareMinor = 1;
inline constexpr size_t kKeyCodeSize = 3;
inline constexpr size_t kColourSlotSize = 512;
inline constexpr size_t kKeyTablePageSize = 512;  // key table index × 512; only index 0 exists
inline constexpr uint8_t kNoLed = 0xFF;

// Status area: what the status read returns at address 0.
inline constexpr size_t kStatusSize = 8;
inline constexpr size_t kStatusOffBattery = 0;
inline constexpr size_t kStatusOffCharging = 1;
inline constexpr size_t kStatusOffPhoneType = 5;
inline constexpr uint8_t kChargingFull = 0;
inline constexpr uint8_t kChargingOn = 1;
inline constexpr uint8_t kOnBattery = 2;

// Parameter memory. Address 0 is the active on-board profile; profile p's settings block is
// read at p × read_stride (read_size bytes) and written at p × write_stride (write_size bytes).
// Pages outside those windows are refused, so a program that reads or writes a block at the
// wrong place or with the wrong size is told so.
struct ParamLayout {
  uint8_t profiles = 1;
  uint16_t read_stride = 0;
  uint16_t read_size = 0;
  uint16_t write_stride = 0;
  uint16_t write_size = 0;

  size_t memory_size() const;
  bool read_allowed(size_t address, size_t length) const;
  bool write_allowed(size_t address, size_t length) const;
};
inline constexpr size_t kParamOffActiveProfile = 0;

// The headset's 17-byte LED output reports: id 0xFF, side, colour part, 0, up to 7 values.
inline constexpr uint8_t kLedReportId = 0xFF;
inline constexpr size_t kLedReportSize = 17;
inline constexpr uint8_t kLedSideA = 0x22;
inline constexpr uint8_t kLedSideB = 0x44;
inline constexpr uint8_t kLedComponentMax = 247;
inline constexpr size_t kHeadsetLedCount = 13;
inline constexpr size_t kLedReportFirstValue = 4;
inline constexpr size_t kLedsPerPart = 7;  // LEDs 0–6 in the first part, 7–12 in the second

struct FirmwareLayout {
  DeviceType type;
  std::string_view file_id;  // <file_id>.json / <file_id>.sock
  std::string_view product_name;
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint8_t interface_number = 0;
  std::vector<uint8_t> commands;  // command codes this model answers
  std::array<uint8_t, kInfoSize> info{};
  std::vector<uint8_t> key_table;  // factory key codes, key count × 3
  std::vector<uint8_t> led_map;    // LED index per key position
  ParamLayout params;
  std::vector<uint8_t> default_block;  // factory settings block of every profile
  size_t macro_capacity = 0;
  size_t recoil_capacity = 0;
  int recoil_records = -1;  // records the recoil image must hold
  size_t colour_slots = 0;
  size_t light_stream_bytes = 0;
  std::array<uint8_t, kStatusSize> status{};
  bool led_reports = false;  // accepts the headset's LED output reports

  size_t key_count() const { return info[kInfoOffKeyCount]; }
  bool answers(uint8_t code) const;
};

const FirmwareLayout& firmware_layout(DeviceType type);

// Model definitions (one file each).
FirmwareLayout make_keyboard_layout();
FirmwareLayout make_mouse_layout();
FirmwareLayout make_pad_layout();
FirmwareLayout make_headset_layout();

}  // namespace qxr::emu

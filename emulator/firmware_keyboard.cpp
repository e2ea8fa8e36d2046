// The keyboard: a 6 × 21 key matrix scanned column by column, LEDs chained row by row in a
// serpentine, an ISO board (the JIS and Korean keys of the grid are empty cells).
#include <array>

#include "emulator/firmware_layout.h"

namespace qxr::emu {

namespace {
using namespace protocol;

constexpr size_t kRows = 6;
constexpr size_t kColumns = 21;
constexpr size_t kGridCells = kRows * kColumns;  // 126 key positions

constexpr uint8_t kTypeKey = 0x20;       // (type, modifier mask, HID usage)
constexpr uint8_t kTypeFunction = 0xA0;  // the keyboard's own function codes
constexpr uint8_t kTypeMedia = 0xD0;

struct Code {
  uint8_t type, code1, code2;
};
constexpr Code key(uint8_t usage) { return {kTypeKey, 0, usage}; }
constexpr Code modifier(uint8_t mask) { return {kTypeKey, mask, 0}; }
constexpr Code none() { return {0, 0, 0}; }

// The factory code of every grid cell, cell = row × 21 + column (the logical key numbers the
// program uses for the first 126 keys).
constexpr std::array<Code, kGridCells> kGridCodes = {
    // row 0: Esc, F1-F12, Print Screen, Scroll Lock, Pause, two function keys, three empty
    key(0x29), key(0x3A), key(0x3B), key(0x3C), key(0x3D), key(0x3E), key(0x3F), key(0x40),
    key(0x41), key(0x42), key(0x43), key(0x44), key(0x45), key(0x46), key(0x47), key(0x48),
    Code{kTypeFunction, 0x1B, 0}, Code{kTypeFunction, 0x24, 0}, none(), none(), none(),
    // row 1: ` 1-0 - = Backspace, Insert Home PgUp, Num Lock, keypad / * -
    key(0x35), key(0x1E), key(0x1F), key(0x20), key(0x21), key(0x22), key(0x23), key(0x24),
    key(0x25), key(0x26), key(0x27), key(0x2D), key(0x2E), key(0x2A), key(0x49), key(0x4A),
    key(0x4B), key(0x53), key(0x54), key(0x55), key(0x56),
    // row 2: Tab Q-P [ ] \, Delete End PgDn, keypad 7 8 9, ISO #
    key(0x2B), key(0x14), key(0x1A), key(0x08), key(0x15), key(0x17), key(0x1C), key(0x18),
    key(0x0C), key(0x12), key(0x13), key(0x2F), key(0x30), key(0x31), key(0x4C), key(0x4D),
    key(0x4E), key(0x5F), key(0x60), key(0x61), key(0x32),
    // row 3: Caps A-L ; ' Enter, keypad 4 5 6, then the JIS/Korean cells (empty on this board)
    key(0x39), key(0x04), key(0x16), key(0x07), key(0x09), key(0x0A), key(0x0B), key(0x0D),
    key(0x0E), key(0x0F), key(0x33), key(0x34), key(0x28), key(0x5C), key(0x5D), key(0x5E),
    none(), none(), none(), none(), none(),
    // row 4: LShift Z-M , . / RShift, Up, keypad 1 2 3, empty, empty, ISO \, empty, empty
    modifier(0x02), key(0x1D), key(0x1B), key(0x06), key(0x19), key(0x05), key(0x11), key(0x10),
    key(0x36), key(0x37), key(0x38), modifier(0x20), key(0x52), key(0x59), key(0x5A), key(0x5B),
    none(), none(), key(0x64), none(), none(),
    // row 5: LCtrl LGUI LAlt Space RAlt Fn Menu RCtrl, arrows, keypad 0 . Enter +, media, RGUI
    modifier(0x01), modifier(0x08), modifier(0x04), key(0x2C), modifier(0x40),
    Code{kTypeFunction, 0x01, 0}, key(0x65), modifier(0x10), key(0x50), key(0x51), key(0x4F),
    key(0x62), key(0x63), key(0x58), key(0x57), Code{kTypeMedia, 0xA2, 1}, Code{kTypeMedia, 0xA2, 2},
    Code{kTypeMedia, 0xA2, 3}, Code{kTypeMedia, 0xA2, 4}, Code{kTypeMedia, 0xA2, 5},
    modifier(0x80),
};

constexpr uint8_t kMacroCapacityUnits = 32;  // 4096 bytes
constexpr uint8_t kProfiles = 4;
constexpr uint16_t kBlockStride = 25;
constexpr uint16_t kBlockSize = 26;
constexpr size_t kColourSlots = 8;
constexpr uint8_t kFirmwareMajor = 1;
constexpr uint8_t kFirmwareMinor = 4;

// Settings block fields.
constexpr size_t kBlockMode = 1, kBlockLight = 2, kBlockSpeed = 3, kBlockFx = 4,
                 kBlockMultiColor = 5, kBlockRed = 6, kBlockPollingRate = 22;
constexpr uint8_t kFactoryMode = 1;
constexpr uint8_t kFactoryLight = 4;
constexpr uint8_t kFactorySpeedByte = 2;  // 4 − speed 2
constexpr uint8_t kFactoryPollingRate = 3;

constexpr uint8_t kBatteryFull = 100;

bool is_empty(const Code& c) { return c.type == 0 && c.code1 == 0 && c.code2 == 0; }
}  // namespace

FirmwareLayout make_keyboard_layout() {
  FirmwareLayout layout;
  layout.type = DeviceType::Keyboard;
  layout.file_id = "keyboard";
  layout.product_name = "Emulated keyboard";
  layout.vendor_id = 0x320F;
  layout.product_id = 0x5055;
  layout.interface_number = 1;
  layout.commands = {CMD_BEGIN,        CMD_END,          CMD_READ_INFO,         CMD_READ_PARAMS,
                   CMD_WRITE_PARAMS, CMD_READ_KEYS,    CMD_WRITE_KEYS,        CMD_WRITE_KEY_COLOURS,
                   CMD_LIGHT_STREAM, CMD_WRITE_MACROS, CMD_READ_STATUS,       CMD_READ_LED_MAP,
                   CMD_HOST_LIGHTING};
  layout.info[kInfoOffFirmwareMajor] = kFirmwareMajor;
  layout.info[kInfoOffFirmwareMinor] = kFirmwareMinor;
  layout.info[kInfoOffKeyCount] = static_cast<uint8_t>(kGridCells);
  layout.info[kInfoOffMacroCapacity] = kMacroCapacityUnits;

  layout.key_table.assign(kGridCells * kKeyCodeSize, 0);
  layout.led_map.assign(kGridCells, kNoLed);
  for (size_t row = 0; row < kRows; ++row) {
    for (size_t col = 0; col < kColumns; ++col) {
      const Code& code = kGridCodes[row * kColumns + col];
      if (is_empty(code)) continue;
      size_t position = col * kRows + row;
      layout.key_table[position * kKeyCodeSize] = code.type;
      layout.key_table[position * kKeyCodeSize + 1] = code.code1;
      layout.key_table[position * kKeyCodeSize + 2] = code.code2;
      size_t chain_col = (row % 2 == 0) ? col : kColumns - 1 - col;
      layout.led_map[position] = static_cast<uint8_t>(row * kColumns + chain_col);
    }
  }

  layout.params = {kProfiles, kBlockStride, kBlockSize, kBlockStride, kBlockSize};
  layout.default_block.assign(kBlockSize, 0);
  layout.default_block[kBlockMode] = kFactoryMode;
  layout.default_block[kBlockLight] = kFactoryLight;
  layout.default_block[kBlockSpeed] = kFactorySpeedByte;
  layout.default_block[kBlockFx] = 1;
  layout.default_block[kBlockMultiColor] = 1;
  layout.default_block[kBlockRed] = 0xFF;
  layout.default_block[kBlockPollingRate] = kFactoryPollingRate;

  layout.macro_capacity = size_t{kMacroCapacityUnits} * kMacroCapacityUnit;
  layout.colour_slots = kColourSlots;
  layout.light_stream_bytes = kGridCells * kKeyCodeSize;  // 3 bytes per LED, LEDs 0–125
  layout.status[kStatusOffBattery] = kBatteryFull;
  layout.status[kStatusOffCharging] = kChargingFull;
  return layout;
}

}  // namespace qxr::emu

#include "editors/keys/key_capture.h"

#include "editors/keys/key_tables.h"

namespace qxr::editors::keys {
namespace {

struct InputCode {
  uint16_t code;  // Linux input event code
  uint8_t scan;   // set-1 make code
  uint8_t extended;
};

// Linux input codes 1-88 are the set-1 codes of their keys; the rest are listed by name. Right
// Shift, Num Lock and Pause carry the flags the scan table gives them.
constexpr InputCode kInputCodes[] = {
    {1, 0x01, 0},   {2, 0x02, 0},   {3, 0x03, 0},   {4, 0x04, 0},   {5, 0x05, 0},   {6, 0x06, 0},   {7, 0x07, 0},
    {8, 0x08, 0},   {9, 0x09, 0},   {10, 0x0A, 0},  {11, 0x0B, 0},  {12, 0x0C, 0},  {13, 0x0D, 0},  {14, 0x0E, 0},
    {15, 0x0F, 0},  {16, 0x10, 0},  {17, 0x11, 0},  {18, 0x12, 0},  {19, 0x13, 0},  {20, 0x14, 0},  {21, 0x15, 0},
    {22, 0x16, 0},  {23, 0x17, 0},  {24, 0x18, 0},  {25, 0x19, 0},  {26, 0x1A, 0},  {27, 0x1B, 0},  {28, 0x1C, 0},
    {29, 0x1D, 0},  {30, 0x1E, 0},  {31, 0x1F, 0},  {32, 0x20, 0},  {33, 0x21, 0},  {34, 0x22, 0},  {35, 0x23, 0},
    {36, 0x24, 0},  {37, 0x25, 0},  {38, 0x26, 0},  {39, 0x27, 0},  {40, 0x28, 0},  {41, 0x29, 0},  {42, 0x2A, 0},
    {43, 0x2B, 0},  {44, 0x2C, 0},  {45, 0x2D, 0},  {46, 0x2E, 0},  {47, 0x2F, 0},  {48, 0x30, 0},  {49, 0x31, 0},
    {50, 0x32, 0},  {51, 0x33, 0},  {52, 0x34, 0},  {53, 0x35, 0},
    {54, 0x36, 1},   // right Shift
    {55, 0x37, 0},  {56, 0x38, 0},  {57, 0x39, 0},  {58, 0x3A, 0},  {59, 0x3B, 0},  {60, 0x3C, 0},  {61, 0x3D, 0},
    {62, 0x3E, 0},  {63, 0x3F, 0},  {64, 0x40, 0},  {65, 0x41, 0},  {66, 0x42, 0},  {67, 0x43, 0},  {68, 0x44, 0},
    {69, 0x45, 1},   // Num Lock
    {70, 0x46, 0},  {71, 0x47, 0},  {72, 0x48, 0},  {73, 0x49, 0},  {74, 0x4A, 0},  {75, 0x4B, 0},  {76, 0x4C, 0},
    {77, 0x4D, 0},  {78, 0x4E, 0},  {79, 0x4F, 0},  {80, 0x50, 0},  {81, 0x51, 0},  {82, 0x52, 0},  {83, 0x53, 0},
    {86, 0x56, 0},   // the ISO key beside left Shift (K45)
    {87, 0x57, 0},  {88, 0x58, 0},
    {89, 0x73, 0},   // RO (K56)
    {92, 0x79, 0},   // Henkan (K132)
    {93, 0x70, 0},   // Katakana/Hiragana (K133)
    {94, 0x7B, 0},   // Muhenkan (K131)
    {96, 0x1C, 1},   // keypad Enter
    {97, 0x1D, 1},   // right Ctrl
    {98, 0x35, 1},   // keypad /
    {99, 0x37, 1},   // Print Screen
    {100, 0x38, 1},  // right Alt
    {102, 0x47, 1},  // Home
    {103, 0x48, 1},  // Up
    {104, 0x49, 1},  // Page Up
    {105, 0x4B, 1},  // Left
    {106, 0x4D, 1},  // Right
    {107, 0x4F, 1},  // End
    {108, 0x50, 1},  // Down
    {109, 0x51, 1},  // Page Down
    {110, 0x52, 1},  // Insert
    {111, 0x53, 1},  // Delete
    {119, 0x45, 0},  // Pause
    {121, 0x7E, 0},  // keypad comma (K107)
    {122, 0x72, 0},  // Hangul (K151)
    {123, 0x71, 0},  // Hanja (K150)
    {124, 0x7D, 0},  // Yen (K14)
    {125, 0x5B, 1},  // left Win
    {126, 0x5C, 1},  // right Win
    {127, 0x5D, 1},  // Application
};

}  // namespace

std::optional<size_t> captured_entry(uint32_t native_scan_code) {
  if (native_scan_code < kNativeScanCodeOffset) return std::nullopt;
  const uint32_t code = native_scan_code - kNativeScanCodeOffset;
  for (const InputCode& input : kInputCodes) {
    if (input.code != code) continue;
    for (size_t k = 0; k < KeyScanTable.size(); ++k) {
      if (KeyScanTable[k].scan == input.scan && KeyScanTable[k].extended == input.extended) {
        return KeyboardKeyTable[k].type == kTypeKeyboard ? std::optional<size_t>(k) : std::nullopt;
      }
    }
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace qxr::editors::keys

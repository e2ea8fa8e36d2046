#include "editors/keys/key_tables.h"

namespace qxr::editors::keys {
namespace {

constexpr KeyFunction key(uint16_t vk, uint8_t usage) { return {vk, kTypeKeyboard, 0, usage}; }
constexpr KeyFunction modifier(uint16_t vk, uint8_t bit) { return {vk, kTypeKeyboard, bit, 0}; }
constexpr KeyFunction consumer(uint16_t index, uint16_t usage) {
  return {index, kTypeConsumer, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8)};
}
// Keys without a virtual-key code of their own.
constexpr uint16_t kNoVk = 0xFF;
constexpr uint16_t kVkKeypadEnter = 0x101;

struct NameRange {
  size_t first;
  size_t count;
};
// Where each table's names start in KeyNameTable, and how many there are.
constexpr NameRange kNameRanges[] = {
    {0, 4},     // Gun
    {4, 9},     // Shortcut
    {13, 15},   // MouseSpecial
    {28, 3},    // System
    {31, 1},    // Fire
    {32, 18},   // Media
    {50, 3},    // Dpi
    {53, 4},    // WheelSwing
    {57, 5},    // MouseButton
    {62, 143},  // Keyboard (one name more than entries: "keyboard_key_COLOR")
};

}  // namespace

const std::array<KeyFunction, 5> MouseButtonTable = {{
    {0, kTypeMouseButton, 0x01, 0}, {1, kTypeMouseButton, 0x04, 0}, {2, kTypeMouseButton, 0x02, 0},
    {3, kTypeMouseButton, 0x10, 0}, {4, kTypeMouseButton, 0x08, 0},
}};

const std::array<KeyFunction, 3> DpiFunctionTable = {{{0, kTypeDpi, 1, 0}, {1, kTypeDpi, 2, 0}, {2, kTypeDpi, 3, 0}}};

const std::array<KeyFunction, 3> SystemKeyTable = {{{0, kTypeSystem, 0x01, 0}, {1, kTypeSystem, 0x02, 0},
                                                    {2, kTypeSystem, 0x04, 0}}};

const std::array<KeyFunction, 18> MediaKeyTable = {{
    consumer(0, 0x0183), consumer(1, 0x00CD), consumer(2, 0x00B7), consumer(3, 0x00B6), consumer(4, 0x00B5),
    consumer(5, 0x00EA), consumer(6, 0x00E9), consumer(7, 0x00E2), consumer(8, 0x0223), consumer(9, 0x0227),
    consumer(10, 0x0226), consumer(11, 0x0224), consumer(12, 0x0225), consumer(13, 0x022A), consumer(14, 0x0221),
    consumer(15, 0x0194), consumer(16, 0x0192), consumer(17, 0x018A),
}};

const std::array<KeyFunction, 11> ComboKeyTable = {{
    {0, kTypeKeyboard, kModLCtrl, 0x12}, {1, kTypeKeyboard, kModLCtrl, 0x11}, {2, kTypeKeyboard, kModLCtrl, 0x1D},
    {3, kTypeKeyboard, kModLCtrl, 0x16}, {4, kTypeKeyboard, kModLCtrl, 0x06}, {5, kTypeKeyboard, kModLCtrl, 0x1B},
    {6, kTypeKeyboard, kModLCtrl, 0x19}, {7, kTypeKeyboard, kModLCtrl, 0x09}, {8, kTypeKeyboard, kModLCtrl, 0x04},
    {9, kTypeKeyboard, kModLCtrl, 0x2D}, {10, kTypeKeyboard, kModLCtrl, 0x2E},
}};

const std::array<KeyFunction, 9> ShortcutKeyTable = {{
    {0x21, kTypeShortcut, 0, 0}, {0x22, kTypeShortcut, 0, 1}, {0x23, kTypeShortcut, 0, 2},
    {0x24, kTypeShortcut, 0, 3}, {0x25, kTypeShortcut, 0, 4}, {0x26, kTypeShortcut, 0, 5},
    {0x27, kTypeShortcut, 0, 6}, {0x28, kTypeShortcut, 0, 7}, {0x29, kTypeShortcut, 0, 8},
}};

const std::array<KeyFunction, 15> MouseSpecialTable = {{
    {0, kTypeMouseButton, 0x01, 0}, {1, kTypeMouseButton, 0x02, 0}, {2, kTypeMouseButton, 0x04, 0},
    {3, kTypeMouseButton, 0x10, 0}, {4, kTypeMouseButton, 0x08, 0}, {5, kTypeFire, 0x50, 0x02},
    {6, kTypeKeyboard, 0, 0},       {7, kTypeKeyboard, kModRWin, 0}, {8, kTypeSpecial, 0x02, 0},
    {9, kTypeSpecial, 0x00, 0},     {10, kTypeDpi, 3, 0},           {11, kTypeDpi, 1, 0},
    {12, kTypeDpi, 2, 0},           {13, kTypeDpiShift, 0, 0},      {14, kTypeShowWindow, 0, 0},
}};

const std::array<KeyFunction, 142> KeyboardKeyTable = {{
    // 0-7: the modifiers.
    modifier(0xA2, kModLCtrl), modifier(0xA0, kModLShift), modifier(0xA4, kModLAlt), modifier(0x5B, kModLWin),
    modifier(0xA3, kModRCtrl), modifier(0xA1, kModRShift), modifier(0xA5, kModRAlt), modifier(0x5C, kModRWin),
    // 8-33: A-Z.
    key('A', 0x04), key('B', 0x05), key('C', 0x06), key('D', 0x07), key('E', 0x08), key('F', 0x09), key('G', 0x0A),
    key('H', 0x0B), key('I', 0x0C), key('J', 0x0D), key('K', 0x0E), key('L', 0x0F), key('M', 0x10), key('N', 0x11),
    key('O', 0x12), key('P', 0x13), key('Q', 0x14), key('R', 0x15), key('S', 0x16), key('T', 0x17), key('U', 0x18),
    key('V', 0x19), key('W', 0x1A), key('X', 0x1B), key('Y', 0x1C), key('Z', 0x1D),
    // 34-43: 1-9, 0.
    key('1', 0x1E), key('2', 0x1F), key('3', 0x20), key('4', 0x21), key('5', 0x22), key('6', 0x23), key('7', 0x24),
    key('8', 0x25), key('9', 0x26), key('0', 0x27),
    // 44-60: Enter ... Caps Lock.
    key(0x0D, 0x28), key(0x1B, 0x29), key(0x08, 0x2A), key(0x09, 0x2B), key(0x20, 0x2C), key(0xBD, 0x2D),
    key(0xBB, 0x2E), key(0xDB, 0x2F), key(0xDD, 0x30), key(0xDC, 0x31), key(0xBA, 0x33), key(0xDE, 0x34),
    key(0xC0, 0x35), key(0xBC, 0x36), key(0xBE, 0x37), key(0xBF, 0x38), key(0x14, 0x39),
    // 61-72: F1-F12.
    key(0x70, 0x3A), key(0x71, 0x3B), key(0x72, 0x3C), key(0x73, 0x3D), key(0x74, 0x3E), key(0x75, 0x3F),
    key(0x76, 0x40), key(0x77, 0x41), key(0x78, 0x42), key(0x79, 0x43), key(0x7A, 0x44), key(0x7B, 0x45),
    // 73-85: Print Screen ... Up.
    key(0x2C, 0x46), key(0x91, 0x47), key(0x13, 0x48), key(0x2D, 0x49), key(0x24, 0x4A), key(0x21, 0x4B),
    key(0x2E, 0x4C), key(0x23, 0x4D), key(0x22, 0x4E), key(0x27, 0x4F), key(0x25, 0x50), key(0x28, 0x51),
    key(0x26, 0x52),
    // 86-102: the keypad.
    key(0x90, 0x53), key(0x6F, 0x54), key(0x6A, 0x55), key(0x6D, 0x56), key(0x6B, 0x57), key(kVkKeypadEnter, 0x58),
    key(0x61, 0x59), key(0x62, 0x5A), key(0x63, 0x5B), key(0x64, 0x5C), key(0x65, 0x5D), key(0x66, 0x5E),
    key(0x67, 0x5F), key(0x68, 0x60), key(0x69, 0x61), key(0x60, 0x62), key(0x6E, 0x63),
    // 103: Application; 104-113: the international keys.
    key(0x5D, 0x65), key(0xE2, 0x64), key(0xC1, 0x87), key(kNoVk, 0x89), key(0xC2, 0x85), key(0xEB, 0x8B),
    key(kNoVk, 0x8A), key(kNoVk, 0x88), key(0xE9, 0x91), key(kNoVk, 0x90), key(0xBF, 0x32),
    // 114-131: consumer keys.
    consumer(0xB7, 0x0192), consumer(0xAC, 0x0223), consumer(0xB3, 0x00CD), consumer(0xAA, 0x0221),
    consumer(0xB4, 0x018A), consumer(0xAF, 0x00E9), consumer(0xAD, 0x00E2), consumer(0xB2, 0x00B7),
    consumer(0xAE, 0x00EA), consumer(0xAB, 0x022A), consumer(0xA7, 0x0225), consumer(0xA6, 0x0224),
    consumer(0xB1, 0x00B6), consumer(0xB0, 0x00B5), consumer(0xB6, 0x0194), consumer(0xA8, 0x0227),
    consumer(0xA9, 0x0226), consumer(0xB5, 0x0183),
    // 132-134: power, sleep, wake up.
    {0x103, kTypeSystem, 0x01, 0}, {0x104, kTypeSystem, 0x02, 0}, {0x105, kTypeSystem, 0x04, 0},
    // 135-139: M1-M5; 140 FN, 141 GM.
    {0, kTypeMKey, 0xA2, 1}, {0, kTypeMKey, 0xA2, 2}, {0, kTypeMKey, 0xA2, 3}, {0, kTypeMKey, 0xA2, 4},
    {0, kTypeMKey, 0xA2, 5}, {0, kTypeSpecial, 0x01, 0}, {0, kTypeSpecial, 0x1B, 0},
}};

const std::array<KeyScan, kScannedKeyCount> KeyScanTable = {{
    // The modifiers.
    {0xA2, 0x1D, 0}, {0xA0, 0x2A, 0}, {0xA4, 0x38, 0}, {0x5B, 0x5B, 1},
    {0xA3, 0x1D, 1}, {0xA1, 0x36, 1}, {0xA5, 0x38, 1}, {0x5C, 0x5C, 1},
    // A-Z.
    {'A', 0x1E, 0}, {'B', 0x30, 0}, {'C', 0x2E, 0}, {'D', 0x20, 0}, {'E', 0x12, 0}, {'F', 0x21, 0}, {'G', 0x22, 0},
    {'H', 0x23, 0}, {'I', 0x17, 0}, {'J', 0x24, 0}, {'K', 0x25, 0}, {'L', 0x26, 0}, {'M', 0x32, 0}, {'N', 0x31, 0},
    {'O', 0x18, 0}, {'P', 0x19, 0}, {'Q', 0x10, 0}, {'R', 0x13, 0}, {'S', 0x1F, 0}, {'T', 0x14, 0}, {'U', 0x16, 0},
    {'V', 0x2F, 0}, {'W', 0x11, 0}, {'X', 0x2D, 0}, {'Y', 0x15, 0}, {'Z', 0x2C, 0},
    // 1-9, 0.
    {'1', 0x02, 0}, {'2', 0x03, 0}, {'3', 0x04, 0}, {'4', 0x05, 0}, {'5', 0x06, 0}, {'6', 0x07, 0}, {'7', 0x08, 0},
    {'8', 0x09, 0}, {'9', 0x0A, 0}, {'0', 0x0B, 0},
    // Enter ... Caps Lock.
    {0x0D, 0x1C, 0}, {0x1B, 0x01, 0}, {0x08, 0x0E, 0}, {0x09, 0x0F, 0}, {0x20, 0x39, 0}, {0xBD, 0x0C, 0},
    {0xBB, 0x0D, 0}, {0xDB, 0x1A, 0}, {0xDD, 0x1B, 0}, {0xDC, 0x2B, 0}, {0xBA, 0x27, 0}, {0xDE, 0x28, 0},
    {0xC0, 0x29, 0}, {0xBC, 0x33, 0}, {0xBE, 0x34, 0}, {0xBF, 0x35, 0}, {0x14, 0x3A, 0},
    // F1-F12.
    {0x70, 0x3B, 0}, {0x71, 0x3C, 0}, {0x72, 0x3D, 0}, {0x73, 0x3E, 0}, {0x74, 0x3F, 0}, {0x75, 0x40, 0},
    {0x76, 0x41, 0}, {0x77, 0x42, 0}, {0x78, 0x43, 0}, {0x79, 0x44, 0}, {0x7A, 0x57, 0}, {0x7B, 0x58, 0},
    // Print Screen, Scroll Lock, Pause, then the navigation block.
    {0x2C, 0x37, 1}, {0x91, 0x46, 0}, {0x13, 0x45, 0}, {0x2D, 0x52, 1}, {0x24, 0x47, 1}, {0x21, 0x49, 1},
    {0x2E, 0x53, 1}, {0x23, 0x4F, 1}, {0x22, 0x51, 1}, {0x27, 0x4D, 1}, {0x25, 0x4B, 1}, {0x28, 0x50, 1},
    {0x26, 0x48, 1},
    // The keypad.
    {0x90, 0x45, 1}, {0x6F, 0x35, 1}, {0x6A, 0x37, 0}, {0x6D, 0x4A, 0}, {0x6B, 0x4E, 0}, {kVkKeypadEnter, 0x1C, 1},
    {0x61, 0x4F, 0}, {0x62, 0x50, 0}, {0x63, 0x51, 0}, {0x64, 0x4B, 0}, {0x65, 0x4C, 0}, {0x66, 0x4D, 0},
    {0x67, 0x47, 0}, {0x68, 0x48, 0}, {0x69, 0x49, 0}, {0x60, 0x52, 0}, {0x6E, 0x53, 0},
    // Application and the international keys up to K151.
    {0x5D, 0x5D, 1}, {0xE2, 0x56, 0}, {0xC1, 0x73, 0}, {kNoVk, 0x7D, 0}, {0xC2, 0x7E, 0}, {0xEB, 0x7B, 0},
    {kNoVk, 0x79, 0}, {kNoVk, 0x70, 0}, {0xE9, 0x71, 0}, {kNoVk, 0x72, 0},
}};

const std::array<std::string_view, kKeyNameCount> KeyNameTable = {{
    "gun_1_txt", "gun_2_txt", "gun_3_txt", "gun_4_txt",
    "custem_cut", "custem_copy", "custem_paste", "custem_undo", "custem_select_all", "custem_find", "custem_new",
    "custem_save", "custem_open",
    "mouse_key_left", "mouse_key_middle", "mouse_key_right", "mouse_key_forward", "mouse_key_back",
    "mouse_key_fire_key", "mouse_key_shortcut_key", "win_key_text", "mouse_key_smart_key", "close_text",
    "mouse_key_DPI_loop", "mouse_key_DPI_add", "mouse_key_DPI_sub", "mouse_key_DPI_shift", "show_window",
    "system_power", "system_sleep", "system_wake_up",
    "mouse_key_fire_key",
    "media_text", "media_play", "media_stop", "media_prev", "media_next", "media_vol_sub", "media_vol_add",
    "media_mute", "web_text", "web_refresh", "wed_stop", "wed_back", "wed_forward", "wed_favorite", "web_search",
    "media_mypc", "media_calc", "media_mail",
    "mouse_key_DPI_add", "mouse_key_DPI_sub", "mouse_key_DPI_loop",
    "mouse_key_up_Swing", "mouse_key_down_Swing", "mouse_key_left_Swing", "mouse_key_right_Swing",
    "mouse_key_left", "mouse_key_middle", "mouse_key_right", "mouse_key_forward", "mouse_key_back",
    "keyboard_key_LCtrl", "keyboard_key_LShift", "keyboard_key_LAlt", "keyboard_key_LWin", "keyboard_key_RCtrl",
    "keyboard_key_RShift", "keyboard_key_RAlt", "keyboard_key_RWin",
    "keyboard_key_A", "keyboard_key_B", "keyboard_key_C", "keyboard_key_D", "keyboard_key_E", "keyboard_key_F",
    "keyboard_key_G", "keyboard_key_H", "keyboard_key_I", "keyboard_key_J", "keyboard_key_K", "keyboard_key_L",
    "keyboard_key_M", "keyboard_key_N", "keyboard_key_O", "keyboard_key_P", "keyboard_key_Q", "keyboard_key_R",
    "keyboard_key_S", "keyboard_key_T", "keyboard_key_U", "keyboard_key_V", "keyboard_key_W", "keyboard_key_X",
    "keyboard_key_Y", "keyboard_key_Z",
    "keyboard_key_1", "keyboard_key_2", "keyboard_key_3", "keyboard_key_4", "keyboard_key_5", "keyboard_key_6",
    "keyboard_key_7", "keyboard_key_8", "keyboard_key_9", "keyboard_key_0",
    "keyboard_key_Enter", "keyboard_key_Esc", "keyboard_key_BackSpace", "keyboard_key_Tab", "keyboard_key_Space",
    "keyboard_key_-", "keyboard_key_=", "keyboard_key_[", "keyboard_key_]", "keyboard_key_xiegang", "keyboard_key_;",
    "keyboard_key_'", "keyboard_key_`", "keyboard_key_<", "keyboard_key_.", "keyboard_key_/", "keyboard_key_Caplk",
    "keyboard_key_F1", "keyboard_key_F2", "keyboard_key_F3", "keyboard_key_F4", "keyboard_key_F5", "keyboard_key_F6",
    "keyboard_key_F7", "keyboard_key_F8", "keyboard_key_F9", "keyboard_key_F10", "keyboard_key_F11",
    "keyboard_key_F12",
    "keyboard_key_Print Scr", "keyboard_key_Scroll Lock", "keyboard_key_Pause", "keyboard_key_Insert",
    "keyboard_key_Home", "keyboard_key_Page Up", "keyboard_key_Delete", "keyboard_key_End", "keyboard_key_Page Down",
    "keyboard_key_Right", "keyboard_key_Left", "keyboard_key_Down", "keyboard_key_Up",
    "keyboard_key_Num Lock", "keyboard_key_Num /", "keyboard_key_Num *", "keyboard_key_Num -", "keyboard_key_Num +",
    "keyboard_key_Num Enter", "keyboard_key_Num 1", "keyboard_key_Num 2", "keyboard_key_Num 3", "keyboard_key_Num 4",
    "keyboard_key_Num 5", "keyboard_key_Num 6", "keyboard_key_Num 7", "keyboard_key_Num 8", "keyboard_key_Num 9",
    "keyboard_key_Num 0", "keyboard_key_Decimal", "keyboard_key_App",
    "keyboard_key_K45", "keyboard_key_K56", "keyboard_key_K14", "keyboard_key_K107", "keyboard_key_K131",
    "keyboard_key_K132", "keyboard_key_K133", "keyboard_key_K150", "keyboard_key_K151", "keyboard_key_K42",
    "keyboard_key_Launch App2", "keyboard_key_Browaer Home", "keyboard_key_Media Play Pause",
    "keyboard_key_Browser Search", "keyboard_key_Launch Mail", "keyboard_key_Volume Up", "keyboard_key_Volume Mute",
    "keyboard_key_Media Stop", "keyboard_key_Volume Down", "keyboard_key_Browser Favorites",
    "keyboard_key_Browser ForWard", "keyboard_key_Browser Back", "keyboard_key_Media Prev Track",
    "keyboard_key_Media Next Track", "keyboard_key_Computer", "keyboard_key_Browser Refresh", "wed_stop",
    "keyboard_key_Launch Media Select", "keyboard_key_Power", "keyboard_key_Sleep", "keyboard_key_Wakeup",
    "keyboard_key_M1", "keyboard_key_M2", "keyboard_key_M3", "keyboard_key_M4", "keyboard_key_M5",
    "keyboard_key_FN", "keyboard_key_GM", "keyboard_key_COLOR",
}};

std::string_view key_name(KeyTable table, size_t i) {
  const NameRange r = kNameRanges[static_cast<size_t>(table)];
  return i < r.count ? KeyNameTable[r.first + i] : std::string_view();
}

std::span<const KeyFunction> table_entries(KeyTable table) {
  switch (table) {
    case KeyTable::Shortcut: return ShortcutKeyTable;
    case KeyTable::MouseSpecial: return MouseSpecialTable;
    case KeyTable::System: return SystemKeyTable;
    case KeyTable::Media: return MediaKeyTable;
    case KeyTable::Dpi: return DpiFunctionTable;
    case KeyTable::MouseButton: return MouseButtonTable;
    case KeyTable::Keyboard: return KeyboardKeyTable;
    case KeyTable::Gun:
    case KeyTable::Fire:
    case KeyTable::WheelSwing: break;
  }
  return {};
}

std::optional<size_t> find_entry(std::span<const KeyFunction> table, uint8_t d1, uint8_t d2) {
  for (size_t i = 0; i < table.size(); ++i) {
    if (table[i].d1 == d1 && table[i].d2 == d2) return i;
  }
  return std::nullopt;
}

}  // namespace qxr::editors::keys

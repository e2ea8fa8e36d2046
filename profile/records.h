#pragma once
// The fixed records that the device classes put into their reports and that the profile
// object converts to and from a profile's "Device" object. Byte records are plain,
// trivially copyable structs without padding, so a device may copy them into a report.
#include <cstdint>
#include <string>
#include <type_traits>

namespace qxr {

// Lighting state of a device, mirrored in "LightInfo".
struct LightInfo {
  uint8_t select_item = 0;  // "SelectItem": lighting mode index
  uint8_t light = 0;        // "Light": brightness 0-4
  uint8_t speed = 0;        // "Speed": 0-4
  uint8_t fx = 0;           // "Fx": direction
  uint8_t multi_color = 0;  // "MultiColor": seven-colour flag, 0 or 1
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t reserved[3] = {};  // never stored
  uint8_t zzcc_led_mode = 0;  // "ZZCCLedMode": keyboard sub-mode
  uint8_t custom_group = 0;   // "CustomGroup": keyboard custom-lighting group
  uint8_t old_led_mode = 0;   // "OldLedmode": previous mode

  bool operator==(const LightInfo&) const = default;
};
inline constexpr std::size_t kLightInfoSize = 14;
static_assert(sizeof(LightInfo) == kLightInfoSize && std::is_trivially_copyable_v<LightInfo>);

// Keyboard music lighting, mirrored in "AudioLightInfo".
struct AudioLightInfo {
  uint8_t audio_mode = 0;  // "AudioMode"
  uint8_t bk_red = 0;      // "BkColorR"
  uint8_t bk_green = 0;    // "BkColorG"
  uint8_t bk_blue = 0;     // "BkColorB"
  uint8_t fg_red = 0;      // "FgColorR"
  uint8_t fg_green = 0;    // "FgColorG"
  uint8_t fg_blue = 0;     // "FgColorB"
  uint8_t seven_color_flags = 0;  // "7ColorFlags", 0 or 1
  uint8_t color_type_flags = 0;   // "ColorTypeFlags"; always 1 after a read of a present object

  bool operator==(const AudioLightInfo&) const = default;
};
inline constexpr std::size_t kAudioLightInfoSize = 9;
static_assert(sizeof(AudioLightInfo) == kAudioLightInfoSize);

// One element of "LightList" (mouse, mouse pad, headset), also the per-LED frame state.
struct PerLedRecord {
  uint8_t led_reg_mode = 0;     // "LEDREGMode"
  uint8_t led_brightness = 0;   // "LEDBrightness"
  uint8_t led_speed = 0;        // "LEDSpeed"
  uint8_t led_direction = 0;    // "LEDDirection", 0 or 1
  uint8_t led_multi_color = 0;  // "LEDMultiColor", 0 or 1
  uint8_t red = 0;              // "red"
  uint8_t green = 0;            // "green"
  uint8_t blue = 0;             // "blue"
  uint8_t reserved8 = 0;
  uint8_t reserved9 = 0;
  uint8_t present = 0;  // 1 when the array element was an object
  uint8_t reserved11[3] = {};

  bool operator==(const PerLedRecord&) const = default;
};
static_assert(sizeof(PerLedRecord) == 14);

// One step of a custom lighting effect ("LEDEffectList" of a ".light" file).
struct LightEffectStep {
  uint8_t led_reg_mode = 0;
  uint8_t led_brightness = 0;
  uint8_t led_speed = 0;
  uint8_t led_direction = 0;
  uint8_t led_multi_color = 0;
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  int32_t time = 0;   // "Time"
  int32_t cycle = 0;  // "Cyle"

  bool operator==(const LightEffectStep&) const = default;
};

// A key's three-byte function code with its logical key index.
struct KeyAssignment {
  uint16_t key_index = 0;
  uint8_t type = 0;
  uint8_t d1 = 0;
  uint8_t d2 = 0;

  // The stored form: type << 16 | d1 << 8 | d2.
  constexpr int32_t code() const { return type << 16 | d1 << 8 | d2; }
  static constexpr KeyAssignment FromCode(uint16_t index, int32_t code) {
    return {index, static_cast<uint8_t>(code >> 16), static_cast<uint8_t>(code >> 8),
            static_cast<uint8_t>(code)};
  }
  bool operator==(const KeyAssignment&) const = default;
};

// One event of a macro file (also of a recoil script) in the form the devices play it.
inline constexpr uint32_t kMaxMacroDelayMs = 65535;
struct MacroEvent {
  uint16_t delay_ms = 0;
  uint8_t type = 0;
  bool down = false;
  uint8_t button = 0;
  bool operator==(const MacroEvent&) const = default;
};

// One element of "KeyList": the current ("Assignment") and the default
// ("DefaultAssignment") function of a logical key.
struct KeyAssignRecord {
  KeyAssignment assignment;
  KeyAssignment default_assignment;

  bool operator==(const KeyAssignRecord&) const = default;
};

// "SystemStages" of a keyboard, in this order.
struct KeyboardSystemStages {
  uint16_t repeat = 0;        // "Repeat"
  uint16_t repeat_delay = 0;  // "RepeatDelay"
  uint16_t key6_flag = 0;     // "Key6Flag"
  uint16_t polling_rate = 0;  // "PollingRate"
  uint16_t w_flag = 0;        // "WFlag"
  uint16_t win_flag = 0;      // "WinFlag"

  bool operator==(const KeyboardSystemStages&) const = default;
};

// "SystemStages" of a mouse plus the report-rate stage from "ReportStages".
struct MouseSystemStages {
  uint16_t double_click_time = 0;   // "DoubleClickTime"
  uint16_t mouse_speed = 0;         // "MouseSpeed"
  uint16_t pointer_precision = 0;   // "PointerPrecision"
  uint16_t scroll_page = 0;         // "ScorllPage"
  uint16_t wheel_scroll_lines = 0;  // "WheelScorlllinse"
  uint16_t report_rate = 0;         // "ReportStages"."StageActive"

  bool operator==(const MouseSystemStages&) const = default;
};

// One DPI stage of a mouse (9 bytes; DPI values little-endian as the mouse takes them).
struct DpiStage {
  uint8_t stage_active = 0;  // "StageActive": stage enabled
  uint8_t stage_xy = 0;      // "StageXY": separate X and Y
  uint8_t dpi_x[2] = {};     // "StageDPIX", low byte first
  uint8_t dpi_y[2] = {};     // "StageDPIY", low byte first
  uint8_t color_r = 0;       // "StageColorR"
  uint8_t color_g = 0;       // "StageColorG"
  uint8_t color_b = 0;       // "StageColorB"

  constexpr uint16_t DpiX() const { return static_cast<uint16_t>(dpi_x[0] | dpi_x[1] << 8); }
  constexpr uint16_t DpiY() const { return static_cast<uint16_t>(dpi_y[0] | dpi_y[1] << 8); }
  constexpr void SetDpiX(uint16_t v) {
    dpi_x[0] = static_cast<uint8_t>(v);
    dpi_x[1] = static_cast<uint8_t>(v >> 8);
  }
  constexpr void SetDpiY(uint16_t v) {
    dpi_y[0] = static_cast<uint8_t>(v);
    dpi_y[1] = static_cast<uint8_t>(v >> 8);
  }
  bool operator==(const DpiStage&) const = default;
};
inline constexpr std::size_t kDpiStageSize = 9;
static_assert(sizeof(DpiStage) == kDpiStageSize && std::is_trivially_copyable_v<DpiStage>);

// One element of "CorrectInfo" (mouse; read only, supplied by the default profile).
struct CorrectEntry {
  uint8_t pix_thresh = 0;  // "CorrectPixThresh"
  uint8_t min_sq = 0;      // "CorrectMinSq"
  uint8_t select = 0;      // "CorrectSelect"
  std::string name;        // "CorrectName"

  bool operator==(const CorrectEntry&) const = default;
};

// One cell colour of a keyboard custom-lighting group.
struct CustomColour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t alpha = 0;

  bool operator==(const CustomColour&) const = default;
};
static_assert(sizeof(CustomColour) == 4);

// "SystemSetStages" of the headset, in this order.
struct HeadsetSystemSetStages {
  int32_t magic_enable = 0;            // "MagicEnable"
  int32_t magic_type = 0;              // "MagicType"
  int32_t eq_type = 0;                 // "EqType"
  int32_t custom_eq_select_index = 0;  // "CustomEqSeletIndex"
  int32_t mic_in_select = 0;           // "MicInSelect"
  int32_t mic_in_value = 0;            // "MicInValue"
  int32_t mic_monitor_select = 0;      // "MicMoniterSelect"
  int32_t mic_monitor_value = 0;       // "MicMoniterValue"
  int32_t virtual_surround = 0;        // "VirtualSurround": the chip's virtual 7.1 on the headphones

  bool operator==(const HeadsetSystemSetStages&) const = default;
};

// Equaliser layout of the headset.
inline constexpr int kEqBandCount = 10;
inline constexpr int kEqFirstPreset = 1;
inline constexpr int kEqLastPreset = 12;
inline constexpr int kEqCustomType = 13;

}  // namespace qxr

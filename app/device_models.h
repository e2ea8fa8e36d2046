#pragma once
// The device models the program shows: one page and one list entry per row, built before any
// device is seen. A row names its page skin, the model folder of its data files, the counts of
// its keys and LEDs and the slot (vendor, product, kind, role) that identifies its primary
// interface.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qxr::app {

// The layout values of a row, by position:
//   0  the page of "device_switch" that shows the model's page
//   1  the header page of the model (kept for the skins; no control uses it here)
//   2  the page of "device_power_switch" with the model's power panel; -1: no power panel shown
//   3  the model's row (the order of the entries in the device list)
inline constexpr size_t kLayoutPage = 0;
inline constexpr size_t kLayoutHeader = 1;
inline constexpr size_t kLayoutPowerPage = 2;
inline constexpr size_t kLayoutOrder = 3;

inline constexpr char kEntryPageFile[] = "DeviceOption.ui";
inline constexpr char kPowerPanelFile[] = "MpDevicePower.ui";
inline constexpr char kProfilePanelFile[] = "DeviceProfile.ui";
inline constexpr char kTabHeaderName[] = "tab_header_device";
inline constexpr char kPowerContainerName[] = "device_power_switch";
inline constexpr char kDeviceSwitchName[] = "device_switch";
inline constexpr char kLightConfigName[] = "kelto_light";

// Power modes of the power panel.
inline constexpr int kPowerModeNone = 0;
inline constexpr int kPowerModeReceiver = 2;
inline constexpr int kPowerModePhoneCharger = 3;

struct DeviceModel {
  std::string_view entry_page;
  std::string_view tab_header;
  std::string_view power_container;
  std::string_view tab_name;  // also the model folder of the device's data files
  std::array<int, 4> layout;
  uint16_t vendor_id;
  uint16_t product_id;
  uint16_t kind;
  uint16_t role;
  int led_count;
  int key_count;
  int power_mode;
  int reserved;
  std::string_view page_file;
  std::string_view light_config;
};

inline constexpr size_t kModelCount = 4;

// The mouse pad reports its charger and the phone on it: its status is polled for the power
// panel (power mode 3), which would otherwise never be fed.
inline constexpr std::array<DeviceModel, kModelCount> kDeviceModels = {{
    {kEntryPageFile, kTabHeaderName, kPowerContainerName, "keyboard", {1, 1, -1, 0}, 0x320F, 0x5055, 1, 0, 170, 170,
     kPowerModeNone, -1, "keyboarddevice.ui", kLightConfigName},
    {kEntryPageFile, kTabHeaderName, kPowerContainerName, "mouse", {0, 0, 0, 1}, 0x0000, 0x0000, 2, 0, 6, 7,
     kPowerModeNone, -1, "mousedevice.ui", kLightConfigName},
    {kEntryPageFile, kTabHeaderName, kPowerContainerName, "MousePad", {2, 2, 1, 2}, 0x320F, 0x1004, 3, 0, 15, 0,
     kPowerModePhoneCharger, -1, "mousepaddevice.ui", kLightConfigName},
    {kEntryPageFile, kTabHeaderName, kPowerContainerName, "HD", {3, 3, -1, 3}, 0x00C7, 0x1630, 7, 0, 13, 0,
     kPowerModeNone, -1, "zo6533device.ui", kLightConfigName},
}};

// The row for (vendor, product, kind, role), if any.
std::optional<size_t> find_model(uint16_t vendor_id, uint16_t product_id, uint16_t kind, uint16_t role);

// The entry image prefix of a kind: "kb", "ms", "soft_mp" (variant 1) / "hard_mp" (variant 0),
// "hd"; "unknow" for anything else.
std::string_view entry_image_prefix(int kind, int variant);

enum class EntryImage { Normal, Selected, SynchroNormal, SynchroSelected };
// "common/device_ico/<prefix>_device_normal.png" and its sisters.
std::string entry_image(std::string_view prefix, EntryImage image);
// "<prefix>_device_name_text": the language key of the entry's name.
std::string entry_name_key(std::string_view prefix);

// Debug lines of arrivals and removals by kind; nothing for kinds the program does not serve.
std::string_view arrival_line(int kind);
std::string_view removal_line(int kind);

}  // namespace qxr::app

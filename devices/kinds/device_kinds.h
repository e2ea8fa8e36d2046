#pragma once
// The device kinds the program serves, one row each: the interfaces that identify the kind,
// where its files live, its page and list entry, its part in shared lighting, its emulated
// model and how its device object is made. Every per-kind decision of the program reads this
// table; a new kind is a row here, its class, its page skin and its emulator model.
#include <array>
#include <memory>
#include <span>
#include <string_view>

#include "devices/device_kind.h"
#include "hid/supported_interfaces.h"
#include "profile/option_tabs.h"

namespace qxr::audio {
class HeadsetAudioPage;
}

namespace qxr::devices {

class CMarluneUSBDevice;
class DevicePage;
class MousePage;

// What a device object talks to besides its DevicePage; a kind that needs a page the caller
// cannot give is not made.
struct DeviceContext {
  DevicePage* page = nullptr;
  MousePage* mouse = nullptr;
  audio::HeadsetAudioPage* audio = nullptr;
  bool on_emulator = false;  // the headset then takes the emulated audio chip
};
using DeviceFactory = std::unique_ptr<CMarluneUSBDevice> (*)(const DeviceContext& context);

// Power panel modes.
inline constexpr int kPowerModeNone = 0;
inline constexpr int kPowerModeReceiver = 2;
inline constexpr int kPowerModePhoneCharger = 3;

// The lighting mode numbers a kind uses: the keyboard's own, or those of the loop-lit kinds.
enum class LightModeSet { Keyboard, Loop };

// Where the kind's page, header and power panel sit in their switches (-1: no power panel) and
// where its entry sits in the device list.
struct PageLayout {
  int page;
  int header;
  int power_page;
  int order;
};

struct KindRow {
  DeviceKind kind;
  DeviceKind receiver_kind;  // the same device through its wireless receiver, or kKindNone
  std::string_view name;     // "keyboard", ...: the emulator's model and the tools' word for it
  std::span<const hid::SupportedInterface> interfaces;  // the primary interface first
  std::string_view model_folder;
  std::string_view page_file;
  std::array<std::string_view, 2> image_prefix;  // the entry's pictures by variant
  PageLayout layout;
  int led_count;
  int key_count;
  int power_mode;
  OptionTabRule option_tabs;
  bool keeps_audio_on_reset;  // a profile reset keeps the sound settings
  int same_mode_rank;               // the order in which kinds take a same-mode copy
  LightModeSet light_modes;
  int light_panel;  // the lighting panel's layout table
  std::string_view arrival_line;
  std::string_view removal_line;
  DeviceFactory make;

  const hid::SupportedInterface& primary() const { return interfaces.front(); }
  bool serves(uint16_t k) const { return k != kKindNone && (k == kind || k == receiver_kind); }
};

std::span<const KindRow> device_kinds();
// The row serving kind (a mouse's receiver kind included); nullptr for a kind no row serves.
const KindRow* kind_row(uint16_t kind);
// Every row's interfaces, in row order: the table discovery claims slots from.
hid::InterfaceTable supported_interfaces();

}  // namespace qxr::devices

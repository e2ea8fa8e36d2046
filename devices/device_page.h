#pragma once
// What a device object asks of the page that shows it. The GUI implements this; the device
// never touches a widget. Calls may arrive from the device's executor thread or its worker
// threads, never while a device lock is held, so an implementation queues them onto its own
// thread and never calls back into the device synchronously.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "profile/records.h"

namespace qxr::devices {

// Messages a page passes on to its owner window.
inline constexpr uint32_t kMsgOnboardProfile = 0x0D00;  // first parameter: onboard profile
inline constexpr uint32_t kMsgDeviceStatus = 0x0D01;    // first parameter: status byte 4

// Delay before the owner's read timer runs refresh_from_device after a device sync event.
inline constexpr int kKeyboardSyncRefreshDelayMs = 100;

// One on-screen indicator colour: the LED record as the page draws it.
struct IndicatorColour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t alpha = 0;
  bool operator==(const IndicatorColour&) const = default;
};

// The three system flags shown as options on the keyboard page.
enum class SystemFlag { WinLock, W, Key6 };

// The device operations whose result the owner wants to see (message boxes, overflow counts).
enum class DeviceOperation {
  Connect,
  RefreshFromDevice,
  WriteSettings,
  WriteKeyAssignments,
  WriteMacros,
  ReadDeviceStatus,
  SetCustomKeyColour,
  HostLighting,
};

inline constexpr size_t kPowerStatusSize = 6;
using PowerStatus = std::array<uint8_t, kPowerStatusSize>;

class DevicePage {
 public:
  virtual ~DevicePage() = default;

  // Key buttons and light indicators; indices are the device's (logical key or LED index).
  virtual void set_key_colour(int key, IndicatorColour colour) = 0;
  // The whole indicator picture of one light frame, index = indicator number.
  virtual void show_indicators(std::span<const IndicatorColour> colours) = 0;
  // False while nobody can see the indicators (the page or the window hidden): a frame that
  // would only be shown there need not be made.
  virtual bool indicators_visible() const { return true; }

  // Lighting panel: the current lighting record and the music record.
  virtual void show_lighting(const LightInfo& light, const AudioLightInfo& music) = 0;
  virtual void select_custom_group(int group) = 0;
  // Colour picker of the lighting panel.
  virtual void set_colour_picker(uint32_t first, uint32_t second, uint8_t selector) = 0;
  // False when the page has no picker; the outputs are then untouched.
  virtual bool read_colour_picker(uint32_t& first, uint32_t& second, uint8_t& selector) = 0;

  // System settings. The option is the device's own, already in its range (keyboard 0-3,
  // mouse 0-4).
  virtual void set_polling_option(int option) = 0;
  virtual void set_repeat_delay_option(int option, int delay_ms) = 0;
  virtual void set_repeat_rate(int rate) = 0;
  virtual void set_system_flag(SystemFlag flag, bool on) = 0;
  virtual void clear_repeat_input() = 0;

  // The key panel's list of key labels must be rebuilt from the device's key list.
  virtual void key_list_changed() = 0;

  // Power panel; only pages that have one show it.
  virtual void show_power_status(const PowerStatus& status) = 0;

  // A message to the owner window (kMsgOnboardProfile, kMsgDeviceStatus).
  virtual void post_owner_message(uint32_t message, intptr_t first, intptr_t second) = 0;
  // Ask the owner to run refresh_from_device after delay_ms (the entry's read timer).
  virtual void request_refresh(int delay_ms) = 0;

  // Function-switch pages; -1 leaves that switch as it is.
  virtual void select_function_pages(int function_page, int key_function_page) = 0;

  // Result of an operation that ran on the device's thread.
  virtual void operation_done(DeviceOperation operation, int result) = 0;
};

// A page that shows nothing: devices without a page, benchmarks.
class NullPage : public DevicePage {
 public:
  void set_key_colour(int, IndicatorColour) override {}
  void show_indicators(std::span<const IndicatorColour>) override {}
  void show_lighting(const LightInfo&, const AudioLightInfo&) override {}
  void select_custom_group(int) override {}
  void set_colour_picker(uint32_t, uint32_t, uint8_t) override {}
  bool read_colour_picker(uint32_t&, uint32_t&, uint8_t&) override { return false; }
  void set_polling_option(int) override {}
  void set_repeat_delay_option(int, int) override {}
  void set_repeat_rate(int) override {}
  void set_system_flag(SystemFlag, bool) override {}
  void clear_repeat_input() override {}
  void key_list_changed() override {}
  void show_power_status(const PowerStatus&) override {}
  void post_owner_message(uint32_t, intptr_t, intptr_t) override {}
  void request_refresh(int) override {}
  void select_function_pages(int, int) override {}
  void operation_done(DeviceOperation, int) override {}
};

}  // namespace qxr::devices

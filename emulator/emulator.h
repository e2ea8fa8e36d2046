#pragma once
// The emulator as tests and the emulator program use it: one folder, one emulated device of
// each kind (keyboard, mouse, mouse pad, headset) that can be plugged and unplugged, driven
// (keys, events, battery, faults) and inspected (memories, counters). Thread-safe.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "emulator/device_type.h"
#include "emulator/event_report.h"
#include "emulator/faults.h"
#include "emulator/firmware.h"

namespace qxr::emu {

class EmulatedDevice;
class FolderServer;

class Emulator {
 public:
  explicit Emulator(std::string dir);
  ~Emulator();  // unplugs everything: the folder is left without JSON or sockets
  Emulator(const Emulator&) = delete;
  Emulator& operator=(const Emulator&) = delete;

  // Starts serving the folder (created when missing) and plugs the given devices.
  bool start(const std::vector<DeviceType>& plugged = {});
  void stop();
  const std::string& dir() const;

  bool plug(DeviceType type);
  bool unplug(DeviceType type);
  bool plugged(DeviceType type) const;
  size_t connection_count(DeviceType type) const;
  std::string json_path(DeviceType type) const;
  std::string socket_path(DeviceType type) const;
  // The path the program's enumeration hands out for a collection (1-based; 0 = none).
  std::string hid_path(DeviceType type, int collection) const;

  // Device events on the consumer collection; false when unplugged or not encodable.
  bool press_key(DeviceType type, uint8_t position);
  bool release_key(DeviceType type, uint8_t position);
  bool settings_changed(DeviceType type, uint16_t code = kEventSettingsChanged);
  bool raise_event(DeviceType type, uint16_t code);
  // The firmware switches its on-board profile (as its own button would) and, with notify,
  // tells the host with a settings-changed event.
  bool set_active_profile(DeviceType type, uint8_t profile, bool notify = true);

  void set_battery(DeviceType type, uint8_t level, uint8_t charging_state);
  void set_phone_type(DeviceType type, uint8_t phone_type);
  void set_status_byte(DeviceType type, size_t index, uint8_t value);
  void set_linked(DeviceType type, bool linked);
  void set_fault(DeviceType type, FaultMode mode, uint32_t arg = 0);
  void clear_faults(DeviceType type) { set_fault(type, FaultMode::kNone); }
  bool poke(DeviceType type, Memory memory, size_t address, const std::vector<uint8_t>& bytes);

  std::vector<uint8_t> memory(DeviceType type, Memory memory) const;
  std::vector<uint8_t> settings_block(DeviceType type, uint8_t profile) const;
  uint8_t active_profile(DeviceType type) const;
  ImageInfo macro_image(DeviceType type) const;
  ImageInfo recoil_image(DeviceType type) const;
  FirmwareCounters counters(DeviceType type) const;
  uint32_t exchanges(DeviceType type, uint8_t command) const;
  Refusal last_refusal(DeviceType type) const;
  bool host_lighting(DeviceType type) const;
  bool in_transaction(DeviceType type) const;
  void reset_counters(DeviceType type);

 private:
  EmulatedDevice& device(DeviceType type) const;

  std::unique_ptr<FolderServer> server_;
  std::vector<std::shared_ptr<EmulatedDevice>> devices_;  // by DeviceType, fixed at construction
};

}  // namespace qxr::emu

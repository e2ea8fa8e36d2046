#pragma once
// One emulated device: its firmware behind a lock, its faults, and the encoder of its
// consumer-collection events. It answers the folder server and the test API alike.
#include <mutex>
#include <optional>

#include "emulator/event_report.h"
#include "emulator/faults.h"
#include "emulator/firmware.h"
#include "emulator/interface_handler.h"

namespace qxr::emu {

class EmulatedDevice final : public InterfaceHandler {
 public:
  EmulatedDevice(DeviceType type, std::vector<uint8_t> report_descriptor);

  DeviceType type() const { return type_; }
  const InterfaceDescription& description() const { return description_; }

  HandlerResult on_output_report(const uint8_t* data, size_t size) override;

  // The input report of a device event; nullopt when the descriptor cannot carry the code.
  std::optional<std::vector<uint8_t>> event_report(uint16_t code) const;

  void set_fault(FaultMode mode, uint32_t arg);

  // Runs f on the firmware under the device lock.
  template <typename F>
  auto with_firmware(F&& f) const {
    std::lock_guard lock(mutex_);
    return f(static_cast<const Firmware&>(firmware_));
  }
  template <typename F>
  auto change_firmware(F&& f) {
    std::lock_guard lock(mutex_);
    return f(firmware_);
  }

 private:
  HandlerResult on_command(const uint8_t* data, size_t size);

  const DeviceType type_;
  InterfaceDescription description_;
  EventEncoder events_;
  mutable std::mutex mutex_;
  Firmware firmware_;                  // guarded by mutex_
  FaultState faults_;                  // guarded by mutex_
  protocol::CommandReport last_reply_{};  // guarded by mutex_
};

}  // namespace qxr::emu

#include "emulator/emulated_device.h"

namespace qxr::emu {

namespace {
using namespace protocol;

// Another command byte for wrong echoes and stale reports: never the one asked for.
uint8_t other_command(uint8_t command) { return static_cast<uint8_t>(command ^ 0x80); }
}  // namespace

EmulatedDevice::EmulatedDevice(DeviceType type, std::vector<uint8_t> report_descriptor)
    : type_(type), firmware_(firmware_layout(type)) {
  const FirmwareLayout& layout = firmware_layout(type);
  description_.id = std::string(layout.file_id);
  description_.vendor_id = layout.vendor_id;
  description_.product_id = layout.product_id;
  description_.interface_number = layout.interface_number;
  description_.report_descriptor = std::move(report_descriptor);
  description_.name = std::string(layout.product_name);
  // Command replies share the headset's consumer collection; events are the other array there.
  events_.init(description_.report_descriptor, kConsumerPage, kConsumerControl,
               protocol::kCommandReportId);
}

std::optional<std::vector<uint8_t>> EmulatedDevice::event_report(uint16_t code) const {
  return events_.encode(code);
}

void EmulatedDevice::set_fault(FaultMode mode, uint32_t arg) {
  std::lock_guard lock(mutex_);
  faults_.set(mode, arg);
}

HandlerResult EmulatedDevice::on_output_report(const uint8_t* data, size_t size) {
  if (size == 0) return {};
  if (data[0] == kCommandReportId) return on_command(data, size);
  std::lock_guard lock(mutex_);
  if (data[0] == kLedReportId) firmware_.handle_led_report(data, size);
  return {};  // other output reports (keyboard LEDs) need no answer
}

HandlerResult EmulatedDevice::on_command(const uint8_t* data, size_t size) {
  std::lock_guard lock(mutex_);
  HandlerResult result;
  const FaultPlan plan = faults_.next();
  if (plan.unplug_now) {
    result.unplug = true;
    return result;
  }
  result.unplug = plan.unplug_after;
  if (plan.drop) return result;

  CommandReport reply;
  if (plan.status != 0) {
    // Refused before the firmware looked at it: nothing is executed.
    reply = CommandReport{};
    reply[kOffReportId] = kCommandReportId;
    reply[kOffCommand] = size > kOffCommand ? data[kOffCommand] : 0;
    reply[kOffStatus] = plan.status;
    set_checksum(reply.data());
  } else {
    reply = firmware_.handle_command(data, size);
  }
  if (plan.wrong_echo) {
    reply[kOffCommand] = other_command(reply[kOffCommand]);
    set_checksum(reply.data());
  }
  if (plan.stale_first) {
    CommandReport stale = last_reply_;
    stale[kOffReportId] = kCommandReportId;
    if (stale[kOffCommand] == reply[kOffCommand]) stale[kOffCommand] = other_command(stale[kOffCommand]);
    set_checksum(stale.data());
    result.reports.push_back({std::vector<uint8_t>(stale.begin(), stale.end()), plan.delay_ms});
  }
  result.reports.push_back({std::vector<uint8_t>(reply.begin(), reply.end()), plan.delay_ms});
  last_reply_ = reply;
  return result;
}

}  // namespace qxr::emu
